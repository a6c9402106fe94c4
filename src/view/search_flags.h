#pragma once
// Flags of the view's text searches.

namespace quill {

constexpr unsigned long SEARCH_MATCH_CASE = 0x0001;
constexpr unsigned long SEARCH_WHOLE_WORD = 0x0002;  // plain text only
constexpr unsigned long SEARCH_BACKWARD = 0x0010;
constexpr unsigned long SEARCH_REGEX = 0x0200;
constexpr unsigned long SEARCH_IGNORE_SELECTION = 0x8000;

}  // namespace quill
