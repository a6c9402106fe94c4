#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_text_style.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "List of comma separated keywords.", {7, 7, 246, 8}},
    {IDC_KEYWORDS, DialogItemKind::Edit, "", {7, 18, 246, 66}, DIS_MULTILINE | DIS_WANTRETURN},
    {IDC_CASE_SENSITIVE, DialogItemKind::CheckBox, "Case sensitive keywords", {7, 90, 130, 10}},
    {IDOK, DialogItemKind::DefPushButton, "OK", {149, 106, 50, 14}, DIS_GROUP},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {203, 106, 50, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgKeywords;
const DialogTemplate g_dlgKeywords{
    IDD_KEYWORDS, "Keywords", {0, 0, 260, 127}, "MS Shell Dlg", 8, false, kItems};

}  // namespace quill
