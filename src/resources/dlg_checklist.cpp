#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_checklist.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_CHECKLIST_LIST, DialogItemKind::CheckListBox, "", {7, 7, 286, 128}},
    {IDC_CHECKLIST_MESSAGE, DialogItemKind::Static, "", {7, 140, 286, 16}, DIS_NOPREFIX},
    {IDOK, DialogItemKind::DefPushButton, "OK", {7, 160, 50, 14}, DIS_GROUP},
    {IDC_CHECKLIST_DONOT, DialogItemKind::PushButton, "Do Not Reload", {61, 160, 64, 14}},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {129, 160, 50, 14}},
    {IDC_CHECKLIST_CHECKALL, DialogItemKind::PushButton, "Check All", {189, 160, 50, 14}},
    {IDC_CHECKLIST_UNCHECKALL, DialogItemKind::PushButton, "Uncheck All", {243, 160, 50, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgCheckList;
const DialogTemplate g_dlgCheckList{
    IDD_CHECKLIST_DIALOG, "Dialog", {0, 0, 300, 181}, "MS Shell Dlg", 8, true, kItems};

}  // namespace quill
