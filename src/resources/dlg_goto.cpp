#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_find.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_GOTO_NUMBER, DialogItemKind::Edit, "", {7, 7, 90, 13}, DIS_GROUP},
    {IDC_GOTO_LINE, DialogItemKind::RadioButton, "Line", {7, 26, 40, 10}, DIS_GROUP},
    {IDC_GOTO_COLUMN, DialogItemKind::RadioButton, "Column", {7, 39, 40, 10}},
    {IDC_GOTO_BOOKMARK, DialogItemKind::RadioButton, "Bookmark", {7, 52, 48, 10}},
    {IDOK, DialogItemKind::DefPushButton, "GoTo", {104, 7, 50, 14}, DIS_GROUP},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {104, 25, 50, 14}},
};

}  // namespace

extern const DialogTemplate g_dlgGoTo;
const DialogTemplate g_dlgGoTo{IDD_EDIT_GOTO, "GoTo", {0, 0, 161, 68}, "MS Shell Dlg", 8, false,
                               kItems};

}  // namespace quill
