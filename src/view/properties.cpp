// QuillView: the document properties dialog (counts, type, size and last save).

#include "dialogs/statistics_dlg.h"
#include "view/quill_view.h"

namespace quill {

void QuillView::DoOptionDialog(Window*) {
  if (m_pStyle == nullptr) return;
  TStatisticsDlg dlg(this);
  dlg.DoModal();
}

void QuillView::OnProperties() {
  TStatisticsDlg dlg(this);
  dlg.DoModal();
}

}  // namespace quill
