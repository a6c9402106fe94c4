#include "platform/gdi.h"

#include <cstdlib>

namespace quill {

bool CFont::CreateFontIndirect(const LOGFONT& lf) {
  m_bCreated = false;
  if (std::memchr(lf.lfFaceName, 0, LF_FACESIZE) == nullptr) return false;
  if (lf.lfHeight > 16384 || lf.lfHeight < -16384) return false;
  m_lf = lf;
  m_bCreated = true;
  return true;
}

bool CImageList::Create(const PixelImage& strip, int cx, COLORREF transparent) {
  if (cx <= 0 || strip.width < cx || strip.height <= 0 ||
      strip.pixels.size() != static_cast<std::size_t>(strip.width) * strip.height) {
    return false;
  }
  m_strip = strip;
  m_cx = cx;
  m_transparent = transparent;
  return true;
}

bool CImageList::Draw(CDC* dc, int index, CPoint pt, unsigned style) const {
  if (dc == nullptr || index < 0 || index >= GetImageCount()) return false;
  const CRect source(index * m_cx, 0, (index + 1) * m_cx, m_strip.height);
  dc->DrawImage(m_strip, source, pt, (style & ILD_TRANSPARENT) != 0, m_transparent);
  return true;
}

}  // namespace quill
