#include "view/quill_view.h"

namespace quill {

QuillView::QuillView() = default;
QuillView::~QuillView() = default;

void QuillView::UpdateView(QuillView*, CUpdateContext*, unsigned long, int) {}

void QuillView::OnEditOperation(int, const char*) {}

unsigned long QuillView::ParseLine(const char*, int, unsigned long, int, TEXTBLOCK*, int&) {
  return 0;
}

}  // namespace quill
