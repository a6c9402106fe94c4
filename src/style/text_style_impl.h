#pragma once
// The font and tab size of a style.

#include "platform/types.h"

namespace quill {

// The tab sizes a user can choose; a stored value outside them is brought inside when read.
constexpr int kMinTabSize = 1;
constexpr int kMaxTabSize = 64;
constexpr int ClampTabSize(int tabSize) {
  return tabSize < kMinTabSize ? kMinTabSize : tabSize > kMaxTabSize ? kMaxTabSize : tabSize;
}

class TTextStyleImpl {
 public:
  // Tab size 3 and a 10-point "Courier New" for the current screen.
  TTextStyleImpl();
  TTextStyleImpl(const TTextStyleImpl& other) = default;
  // Copies the font only; the tab size stays.
  TTextStyleImpl& operator=(const TTextStyleImpl& other) {
    m_lf = other.m_lf;
    return *this;
  }

  int GetTabSize() const { return m_nTabSize; }
  void SetTabSize(int tabSize) { m_nTabSize = tabSize; }
  // The font height: negative, in logical units.
  int GetFontSize() const { return m_lf.lfHeight; }
  void SetFontSize(int size) { m_lf.lfHeight = size; }
  const LOGFONT& GetFont() const { return m_lf; }
  void SetFont(const LOGFONT& lf) { m_lf = lf; }
  const char* GetFontName() const { return m_lf.lfFaceName; }
  // Replaces the face name, cut to fit the record.
  void SetFontName(const char* name);

  int m_nTabSize;
  LOGFONT m_lf;
};

}  // namespace quill
