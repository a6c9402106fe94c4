#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_find.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "Fi&nd what:", {7, 9, 44, 8}},
    {IDC_EDIT_TEXT, DialogItemKind::ComboBox, "", {54, 7, 150, 120}, DIS_DROPDOWN | DIS_GROUP},
    {IDC_FIND_REGEXP_MENU, DialogItemKind::PushButton, ">", {206, 7, 14, 13}, DIS_NOTABSTOP},
    {IDC_EDIT_MATCH_CASE, DialogItemKind::CheckBox, "Match &case", {7, 28, 100, 10}, DIS_GROUP},
    {IDC_EDIT_WHOLE_WORD, DialogItemKind::CheckBox, "Match &whole word only", {7, 41, 100, 10}},
    {IDC_EDIT_REGEXP, DialogItemKind::CheckBox, "Regular Expression", {7, 54, 100, 10}},
    {IDC_STATIC, DialogItemKind::GroupBox, "Direction", {112, 26, 92, 38}},
    {IDC_EDIT_DIRECTION_UP, DialogItemKind::RadioButton, "&Up", {118, 40, 36, 10}, DIS_GROUP},
    {IDC_EDIT_DIRECTION_DOWN, DialogItemKind::RadioButton, "&Down", {158, 40, 40, 10}},
    {IDOK, DialogItemKind::DefPushButton, "&Find Next", {226, 7, 56, 14}, DIS_GROUP},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {226, 25, 56, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgFind;
const DialogTemplate g_dlgFind{IDD_EDIT_FIND, "Find", {0, 0, 289, 70}, "MS Shell Dlg", 8, false,
                               kItems};

}  // namespace quill
