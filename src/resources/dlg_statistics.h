#pragma once
// Ids of the document properties dialog's template.

namespace quill {

constexpr unsigned IDD_STATISTICS_DIALOG = 111;
constexpr int IDC_STAT_FULLNAME = 1016;
constexpr int IDC_STAT_CHARS_TOTAL = 1023;
constexpr int IDC_STAT_WORDS_TOTAL = 1024;
constexpr int IDC_STAT_LINES_TOTAL = 1025;
constexpr int IDC_STAT_CHARS_SELECTED = 1026;
constexpr int IDC_STAT_WORDS_SELECTED = 1027;
constexpr int IDC_STAT_LINES_SELECTED = 1028;
constexpr int IDC_STAT_FILETYPE = 1029;
constexpr int IDC_STAT_FILESIZE = 1030;
constexpr int IDC_STAT_LASTSAVED = 1031;

}  // namespace quill
