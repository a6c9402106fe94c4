#include "view/quill_view.h"

namespace quill {

QuillView::QuillView() = default;
QuillView::~QuillView() = default;

void QuillView::UpdateView(QuillView*, CUpdateContext*, unsigned long, int) {}

void QuillView::OnEditOperation(int, const char*) {}

}  // namespace quill
