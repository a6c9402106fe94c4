#pragma once
// A colour with a short name, as the colour picker lists them. The name field holds 16
// characters and is not terminated when the name fills it.

#include <cstring>

#include "platform/types.h"

namespace quill {

class TColorAndName {
 public:
  TColorAndName() = default;
  TColorAndName(COLORREF color, const char* name) : m_color(color) {
    if (name) std::memcpy(m_name, name, strnlen(name, sizeof m_name));
  }
  TColorAndName(const TColorAndName&) = default;
  TColorAndName& operator=(const TColorAndName&) = default;

  COLORREF m_color = 0;
  char m_name[16] = {};
};

}  // namespace quill
