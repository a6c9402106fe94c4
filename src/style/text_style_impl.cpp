#include "style/text_style_impl.h"

#include <cstring>

#include "platform/display.h"

namespace quill {

TTextStyleImpl::TTextStyleImpl() : m_nTabSize(3), m_lf() {
  m_lf.lfHeight = -MulDiv(10, GetScreenLogPixelsY(), 72);
  m_lf.lfWeight = 0;
  m_lf.lfCharSet = DEFAULT_CHARSET;
  m_lf.lfOutPrecision = 0;
  m_lf.lfClipPrecision = 0;
  m_lf.lfQuality = 0;
  m_lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  SetFontName("Courier New");
}

void TTextStyleImpl::SetFontName(const char* name) {
  if (!name) return;
  std::strncpy(m_lf.lfFaceName, name, LF_FACESIZE - 1);
  m_lf.lfFaceName[LF_FACESIZE - 1] = '\0';
}

}  // namespace quill
