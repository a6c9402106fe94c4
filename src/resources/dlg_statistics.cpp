#include "platform/app_services.h"
#include "resources/dialog_template.h"
#include "resources/dlg_statistics.h"

namespace quill {
namespace {

constexpr unsigned kValue = DIS_READONLY;

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "Full name:", {7, 9, 56, 8}},
    {IDC_STAT_FULLNAME, DialogItemKind::Edit, "", {66, 7, 187, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "Statistics:", {7, 28, 56, 8}},
    {IDC_STATIC, DialogItemKind::Static, "Total", {66, 28, 60, 8}},
    {IDC_STATIC, DialogItemKind::Static, "Selected", {132, 28, 60, 8}},
    {IDC_STATIC, DialogItemKind::Static, "Characters:", {15, 42, 48, 8}},
    {IDC_STAT_CHARS_TOTAL, DialogItemKind::Edit, "", {66, 40, 60, 12}, kValue},
    {IDC_STAT_CHARS_SELECTED, DialogItemKind::Edit, "", {132, 40, 60, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "Words:", {15, 58, 48, 8}},
    {IDC_STAT_WORDS_TOTAL, DialogItemKind::Edit, "", {66, 56, 60, 12}, kValue},
    {IDC_STAT_WORDS_SELECTED, DialogItemKind::Edit, "", {132, 56, 60, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "Lines:", {15, 74, 48, 8}},
    {IDC_STAT_LINES_TOTAL, DialogItemKind::Edit, "", {66, 72, 60, 12}, kValue},
    {IDC_STAT_LINES_SELECTED, DialogItemKind::Edit, "", {132, 72, 60, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "File type:", {7, 95, 56, 8}},
    {IDC_STAT_FILETYPE, DialogItemKind::Edit, "", {66, 93, 187, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "File size:", {7, 111, 56, 8}},
    {IDC_STAT_FILESIZE, DialogItemKind::Edit, "", {66, 109, 187, 12}, kValue},
    {IDC_STATIC, DialogItemKind::Static, "Last saved at:", {7, 127, 56, 8}},
    {IDC_STAT_LASTSAVED, DialogItemKind::Edit, "", {66, 125, 187, 12}, kValue},
    {IDOK, DialogItemKind::DefPushButton, "OK", {105, 148, 50, 14}, DIS_GROUP},
};

}  // namespace

extern const DialogTemplate g_dlgStatistics;
const DialogTemplate g_dlgStatistics{IDD_STATISTICS_DIALOG, "Document Properties",
                                     {0, 0, 260, 169}, "MS Shell Dlg", 8, false, kItems};

}  // namespace quill
