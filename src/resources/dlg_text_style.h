#pragma once
// Ids of the text-style page's template and of its two dialogs: the keyword section's
// name and the keyword list.

namespace quill {

constexpr unsigned IDD_TEXT_STYLE = 8603;
constexpr int IDC_DOC_TYPE = 1014;
constexpr int IDC_FONT_NAME = 8634;
constexpr int IDC_FONT_SIZE = 8636;
constexpr int IDC_TAB_SIZE = 8644;
constexpr int IDC_TEXT_ENTITIES = 8637;
constexpr int IDC_FOREGROUND = 8642;
constexpr int IDC_BACKGROUND = 8643;
constexpr int IDC_ADD_SECTION = 1006;
constexpr int IDC_EDIT_SECTION = 1008;
constexpr int IDC_REMOVE_SECTION = 1007;
// Opens the desktop's font dialog with the fixed-pitch fonts.
constexpr int IDC_CHOOSE_FONT = 8646;

constexpr unsigned IDD_KEYWORD_SECTION = 103;
constexpr int IDC_SECTION_NAME = 1007;

constexpr unsigned IDD_KEYWORDS = 101;
constexpr int IDC_KEYWORDS = 1004;
constexpr int IDC_CASE_SENSITIVE = 1005;

}  // namespace quill
