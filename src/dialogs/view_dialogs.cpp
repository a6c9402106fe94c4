// The dialogs of a view's commands (view/view_dialogs.h): the find, replace, go-to and
// statistics dialogs over the fields the view fills in. They are installed while the
// library is loaded.

#include "view/view_dialogs.h"

#include "dialogs/find_dlg.h"
#include "dialogs/statistics_dlg.h"
#include "view/quill_view.h"

namespace quill {
namespace {

class DialogsOfViews final : public IViewDialogs {
 public:
  int RunFind(QuillView& view, FindDialogFields& fields) override {
    CFindDlg dlg(&view);
    dlg.m_nDirection = fields.nDirection;
    dlg.m_bMatchCase = fields.bMatchCase;
    dlg.m_bWholeWord = fields.bWholeWord;
    dlg.m_bRegExp = fields.bRegExp;
    dlg.m_sText = fields.sText;
    dlg.m_ptCurrentPos = fields.ptCurrentPos;
    const int nResult = dlg.DoModal();
    fields.nDirection = dlg.m_nDirection;
    fields.bMatchCase = dlg.m_bMatchCase;
    fields.bWholeWord = dlg.m_bWholeWord;
    fields.bRegExp = dlg.m_bRegExp;
    fields.sText = dlg.m_sText;
    fields.ptCurrentPos = dlg.m_ptCurrentPos;
    return nResult;
  }

  int RunReplace(QuillView& view, ReplaceDialogFields& fields) override {
    CReplaceDlg dlg(&view);
    dlg.m_bMatchCase = fields.bMatchCase;
    dlg.m_bWholeWord = fields.bWholeWord;
    dlg.m_bRegExp = fields.bRegExp;
    dlg.m_sText = fields.sText;
    dlg.m_nScope = fields.nScope;
    dlg.m_ptSearchOrigin = fields.ptSearchOrigin;
    dlg.m_ptBlockBegin = fields.ptBlockBegin;
    dlg.m_ptBlockEnd = fields.ptBlockEnd;
    dlg.m_bEnableScopeSelection = fields.bEnableScopeSelection;
    const int nResult = dlg.DoModal();
    fields.bMatchCase = dlg.m_bMatchCase;
    fields.bWholeWord = dlg.m_bWholeWord;
    fields.bRegExp = dlg.m_bRegExp;
    fields.sText = dlg.m_sText;
    fields.nScope = dlg.m_nScope;
    return nResult;
  }

  int RunGoTo(QuillView& view, GoToDialogFields& fields) override {
    CGoToDlg dlg(&view);
    dlg.m_nNumber = fields.nNumber;
    dlg.m_nMode = fields.nMode;
    const int nResult = dlg.DoModal();
    fields.nNumber = dlg.m_nNumber;
    fields.nMode = dlg.m_nMode;
    return nResult;
  }

  int RunProperties(QuillView& view) override {
    TStatisticsDlg dlg(&view);
    return dlg.DoModal();
  }
};

DialogsOfViews g_dialogs;

// Installs the dialogs at load time and takes them away at unload.
struct Installer {
  Installer() { SetViewDialogs(&g_dialogs); }
  ~Installer() {
    if (GetViewDialogs() == &g_dialogs) SetViewDialogs(nullptr);
  }
} g_installer;

}  // namespace
}  // namespace quill
