#pragma once
// Ids of the editor options page's template.

namespace quill {

constexpr unsigned IDD_TEXT_OPTIONS = 8645;
constexpr int IDC_AUTO_LOAD = 1017;
constexpr int IDC_SAVE_ALL = 1018;
constexpr int IDC_PROMPT_SAVE = 1019;
constexpr int IDC_DONT_SAVE = 1021;

}  // namespace quill
