// QuillView: the document properties dialog (counts, type, size and last save).

#include "view/quill_view.h"
#include "view/view_dialogs.h"

namespace quill {

void QuillView::DoOptionDialog(Window*) {
  if (m_pStyle == nullptr) return;
  if (IViewDialogs* pDialogs = GetViewDialogs()) pDialogs->RunProperties(*this);
}

void QuillView::OnProperties() {
  if (IViewDialogs* pDialogs = GetViewDialogs()) pDialogs->RunProperties(*this);
}

}  // namespace quill
