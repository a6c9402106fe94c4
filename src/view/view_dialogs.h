#pragma once
// The modal dialogs that a view's commands open (find, replace, go to, document
// properties). The view fills in the fields, the dialogs layer runs the dialog over them
// and hands the fields back; dialogs/view_dialogs.cpp installs the dialogs when the
// library loads. Without dialogs installed the commands open nothing: a run returns
// IDCANCEL and leaves the fields as they were.

#include <string>

#include "platform/types.h"

namespace quill {

class QuillView;

struct FindDialogFields {
  int nDirection = 1;  // 0 up, 1 down
  int bMatchCase = 0;
  int bWholeWord = 0;
  int bRegExp = 0;
  std::string sText;
  CPoint ptCurrentPos;
};

struct ReplaceDialogFields {
  int bMatchCase = 0;
  int bWholeWord = 0;
  int bRegExp = 0;
  std::string sText;
  int nScope = -1;  // 0 selection, 1 whole file, -1 neither
  CPoint ptSearchOrigin;
  CPoint ptBlockBegin;
  CPoint ptBlockEnd;
  bool bEnableScopeSelection = true;
};

struct GoToDialogFields {
  unsigned nNumber = 0;
  int nMode = 0;  // 0 line, 1 column, 2 bookmark
};

class IViewDialogs {
 public:
  virtual ~IViewDialogs() = default;
  // Each runs its dialog for the view and returns the dialog's result.
  virtual int RunFind(QuillView& view, FindDialogFields& fields) = 0;
  virtual int RunReplace(QuillView& view, ReplaceDialogFields& fields) = 0;
  virtual int RunGoTo(QuillView& view, GoToDialogFields& fields) = 0;
  virtual int RunProperties(QuillView& view) = 0;
};

// The installed dialogs, or null.
IViewDialogs* GetViewDialogs();
// Installs dialogs (not owned); null removes them.
void SetViewDialogs(IViewDialogs* pDialogs);

}  // namespace quill
