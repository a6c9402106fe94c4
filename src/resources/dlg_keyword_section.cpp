#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_text_style.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "&Name:", {7, 9, 28, 8}},
    {IDC_SECTION_NAME, DialogItemKind::Edit, "", {38, 7, 155, 12}},
    {IDOK, DialogItemKind::DefPushButton, "OK", {89, 28, 50, 14}, DIS_GROUP},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {143, 28, 50, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgKeywordSection;
const DialogTemplate g_dlgKeywordSection{
    IDD_KEYWORD_SECTION, "Keyword Section", {0, 0, 200, 49}, "MS Shell Dlg", 8, false, kItems};

}  // namespace quill
