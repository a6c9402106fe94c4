#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_text_style.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "File T&ype:", {7, 9, 48, 8}},
    {IDC_DOC_TYPE, DialogItemKind::ComboBox, "", {58, 7, 130, 100}, DIS_GROUP},
    {IDC_STATIC, DialogItemKind::Static, "Face &Name:", {7, 27, 48, 8}},
    {IDC_FONT_NAME, DialogItemKind::ComboBox, "", {58, 25, 130, 100}},
    {IDC_CHOOSE_FONT, DialogItemKind::PushButton, "F&ont...", {194, 24, 50, 14}},
    {IDC_STATIC, DialogItemKind::Static, "&Size:", {7, 45, 48, 8}},
    {IDC_FONT_SIZE, DialogItemKind::ComboBox, "", {58, 43, 40, 100}},
    {IDC_STATIC, DialogItemKind::Static, "&Tab Size:", {112, 45, 38, 8}},
    {IDC_TAB_SIZE, DialogItemKind::Edit, "", {152, 43, 36, 12}},
    {IDC_STATIC, DialogItemKind::Static, "&Groups", {7, 63, 60, 8}},
    {IDC_TEXT_ENTITIES, DialogItemKind::ListBox, "", {7, 73, 138, 85}},
    {IDC_STATIC, DialogItemKind::Static, "&Foreground:", {155, 63, 70, 8}},
    {IDC_FOREGROUND, DialogItemKind::ColorCombo, "", {155, 73, 148, 100}},
    {IDC_STATIC, DialogItemKind::Static, "&Background:", {155, 91, 70, 8}},
    {IDC_BACKGROUND, DialogItemKind::ColorCombo, "", {155, 101, 148, 100}},
    {IDC_STATIC, DialogItemKind::GroupBox, "Keyword Group", {155, 120, 148, 38}},
    {IDC_ADD_SECTION, DialogItemKind::PushButton, "&Add...", {161, 135, 44, 14}},
    {IDC_EDIT_SECTION, DialogItemKind::PushButton, "&Edit...", {207, 135, 44, 14}},
    {IDC_REMOVE_SECTION, DialogItemKind::PushButton, "&Remove", {253, 135, 44, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgTextStyle;
const DialogTemplate g_dlgTextStyle{
    IDD_TEXT_STYLE, "Text Style", {0, 0, 310, 165}, "MS Shell Dlg", 8, false, kItems};

}  // namespace quill
