#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_find.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "Fi&nd what:", {7, 9, 48, 8}},
    {IDC_EDIT_TEXT, DialogItemKind::ComboBox, "", {58, 7, 146, 120}, DIS_DROPDOWN | DIS_GROUP},
    {IDC_FIND_REGEXP_MENU, DialogItemKind::PushButton, ">", {206, 7, 14, 13}, DIS_NOTABSTOP},
    {IDC_STATIC, DialogItemKind::Static, "Re&place with:", {7, 27, 48, 8}},
    {IDC_EDIT_REPLACE_WITH, DialogItemKind::ComboBox, "", {58, 25, 146, 120},
     DIS_DROPDOWN | DIS_GROUP},
    {IDC_REPLACE_REGEXP_MENU, DialogItemKind::PushButton, ">", {206, 25, 14, 13},
     DIS_NOTABSTOP | DIS_HIDDEN},
    {IDC_EDIT_WHOLE_WORD, DialogItemKind::CheckBox, "Match &whole word only", {7, 46, 100, 10},
     DIS_GROUP},
    {IDC_EDIT_MATCH_CASE, DialogItemKind::CheckBox, "Match &case", {7, 59, 100, 10}},
    {IDC_EDIT_REGEXP, DialogItemKind::CheckBox, "Regular Expression", {7, 72, 100, 10}},
    {IDC_STATIC, DialogItemKind::GroupBox, "Replace in", {112, 44, 92, 40}},
    {IDC_EDIT_SCOPE_SELECTION, DialogItemKind::RadioButton, "&Selection", {118, 56, 80, 10},
     DIS_GROUP},
    {IDC_EDIT_SCOPE_WHOLE_FILE, DialogItemKind::RadioButton, "Wh&ole file", {118, 69, 80, 10}},
    {IDC_EDIT_FINDNEXT, DialogItemKind::DefPushButton, "&Find Next", {226, 7, 56, 14}, DIS_GROUP},
    {IDC_EDIT_SKIP, DialogItemKind::PushButton, "&Replace", {226, 25, 56, 14}},
    {IDC_EDIT_REPLACE, DialogItemKind::PushButton, "Replace &All", {226, 43, 56, 14}},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {226, 61, 56, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgReplace;
const DialogTemplate g_dlgReplace{IDD_EDIT_REPLACE, "Replace", {0, 0, 289, 90}, "MS Shell Dlg",
                                  8, false, kItems};

}  // namespace quill
