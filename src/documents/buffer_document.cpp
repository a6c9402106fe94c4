#include "documents/buffer_document.h"

#include "view/quill_view.h"

namespace quill {

QuillBufferDocument::~QuillBufferDocument() {
  if (m_xTextBuffer.IsInit()) m_xTextBuffer.FreeAll();
}

QuillView* QuillBufferDocument::GetFirstView() const {
  return dynamic_cast<QuillView*>(m_xTextBuffer.GetLastAttachedView());
}

void QuillBufferDocument::DeleteContents() { m_xTextBuffer.InitNew(CRLF_MODE_DOS); }

bool QuillBufferDocument::GotoLine(int nLine, bool bSetBookmark) {
  QuillView* pView = GetFirstView();
  if (pView == nullptr) return true;
  pView->GotoLine(nLine);
  if (bSetBookmark) pView->SetBookmark();
  return true;
}

}  // namespace quill
