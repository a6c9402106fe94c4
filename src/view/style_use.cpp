// QuillView: what the view takes from its style (tab size, font, colours) and the style's
// end of life.

#include "view/quill_view.h"

namespace quill {

namespace {

// Interim system colours until the platform colour service is in place.
COLORREF SystemWindowColor() { return RGB(255, 255, 255); }
COLORREF SystemWindowTextColor() { return RGB(0, 0, 0); }

}  // namespace

void QuillView::ApplyStyleToView() {
  m_nTabSize = 3;
}

COLORREF QuillView::GetColor(int nColorIndex) {
  switch (nColorIndex) {
    case 3: return RGB(230, 230, 230);
    case 4:
    case 8: return RGB(0, 0, 0);
    case 5: return RGB(255, 255, 255);
    case 0:
    case 1:
    case 6:
    case 7:
    case 10:
    case 17:
    case 23:
    case 24:
    case 26:
    case 27: return SystemWindowColor();
    case 2: return SystemWindowTextColor();
    default: break;
  }
  if (nColorIndex >= 512 && nColorIndex < 768) return SystemWindowColor();
  return SystemWindowTextColor();
}

int QuillView::GetColumnPos(const CPoint& pt) { return pt.x; }

void QuillView::DeleteStyle() { m_pStyle = nullptr; }

}  // namespace quill
