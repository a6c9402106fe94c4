#pragma once
// ASCII text helpers, the same in every locale: only 'A' to 'Z' have a lower case, every
// other byte is its own. Names of settings, fonts, colours and the texts of find histories
// compare with these.

#include <charconv>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace quill {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

constexpr bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// Orders by the lower-case bytes taken as unsigned, a prefix first.
constexpr bool LessNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// The blanks of the C locale: space, tab, line feed, vertical tab, form feed, return.
inline constexpr std::string_view kAsciiBlanks = " \t\n\v\f\r";

constexpr std::string_view TrimLeft(std::string_view text, std::string_view blanks = kAsciiBlanks) {
  const std::size_t b = text.find_first_not_of(blanks);
  return b == std::string_view::npos ? std::string_view() : text.substr(b);
}

constexpr std::string_view TrimRight(std::string_view text, std::string_view blanks = kAsciiBlanks) {
  const std::size_t e = text.find_last_not_of(blanks);
  return e == std::string_view::npos ? std::string_view() : text.substr(0, e + 1);
}

constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kAsciiBlanks) {
  return TrimRight(TrimLeft(text, blanks), blanks);
}

// The whole decimal number that is all of text, with an optional sign ('-' only where T is
// signed); nothing for other text or a value T cannot hold.
template <class T>
std::optional<T> ParseWholeNumber(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  T value{};
  const char* const end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace quill
