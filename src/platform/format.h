#pragma once
// printf-style formatting into a std::string; every message text and registry path of
// the component is built with it.

#include <cstdarg>
#include <string>

namespace quill {

std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, std::va_list args);

}  // namespace quill
