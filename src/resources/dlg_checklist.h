#pragma once
// Ids of the check-list dialog's template (the modified-files dialog).

namespace quill {

constexpr unsigned IDD_CHECKLIST_DIALOG = 112;
constexpr int IDC_CHECKLIST_LIST = 17001;
constexpr int IDC_CHECKLIST_CHECKALL = 17002;
constexpr int IDC_CHECKLIST_UNCHECKALL = 17003;
constexpr int IDC_CHECKLIST_MESSAGE = 17004;
constexpr int IDC_CHECKLIST_DONOT = 1033;

}  // namespace quill
