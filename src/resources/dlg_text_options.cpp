#include "resources/dialog_template.h"
#include "resources/dlg_text_options.h"

namespace quill {
namespace {

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::GroupBox, "Auto-Load", {13, 8, 282, 39}},
    {IDC_AUTO_LOAD, DialogItemKind::CheckBox,
     "Automatically load changes when text file is modified outside this application",
     {26, 19, 256, 20}, DIS_GROUP},
    {IDC_STATIC, DialogItemKind::GroupBox, "Modified text files", {13, 52, 282, 81}},
    {IDC_STATIC, DialogItemKind::Static,
     "Prior to running DRC, Extract, LVS, Simulation, or XMC and text files for these "
     "application have been modified:",
     {26, 63, 256, 21}, DIS_GROUP},
    {IDC_SAVE_ALL, DialogItemKind::RadioButton, "Save all changes", {26, 86, 69, 10}, DIS_GROUP},
    {IDC_PROMPT_SAVE, DialogItemKind::RadioButton, "Prompt to save changes", {26, 99, 93, 10}},
    {IDC_DONT_SAVE, DialogItemKind::RadioButton, "Don't save changes", {26, 112, 79, 10}},
};

}  // namespace

extern const DialogTemplate g_dlgTextOptions;
const DialogTemplate g_dlgTextOptions{
    IDD_TEXT_OPTIONS, "Text Editor", {0, 0, 310, 165}, "MS Shell Dlg", 8, false, kItems};

}  // namespace quill
