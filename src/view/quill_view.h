#pragma once
// QuillView: the editor window over one QuillTextBuffer. A plain class whose window
// messages are members that a backend calls; nothing of a toolkit appears here.

#include <string>

namespace quill {

class CDocument;
class CUpdateContext;
class QuillTextBuffer;

class QuillView {
 public:
  QuillView();
  virtual ~QuillView();
  QuillView(const QuillView&) = delete;
  QuillView& operator=(const QuillView&) = delete;

  // The document this view shows (the framework binds it when the view is created).
  CDocument* GetDocument() const { return m_pDocument; }
  void SetDocument(CDocument* document) { m_pDocument = document; }

  // Called by the buffer for every attached view after each change.
  virtual void UpdateView(QuillView* pSource, CUpdateContext* pContext, unsigned long dwFlags,
                          int nLineIndex);
  // Called on the source view when an undo group is flushed.
  virtual void OnEditOperation(int nAction, const char* pszText);

 protected:
  friend class QuillTextBuffer;

  CDocument* m_pDocument = nullptr;
  QuillTextBuffer* m_pTextBuffer = nullptr;
  // Bookmarks exist in the buffer: enables the bookmark navigation commands.
  bool m_bHasBookmarks = false;
};

}  // namespace quill
