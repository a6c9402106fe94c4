#pragma once
// The texts of the view's context menu. The comment items carry the style's delimiters
// in place of %s.

namespace quill {

constexpr const char* kMenuUndo = "Undo";
constexpr const char* kMenuRedo = "Redo";
constexpr const char* kMenuCopy = "Copy";
constexpr const char* kMenuPaste = "Paste";
constexpr const char* kMenuCut = "Cut";
constexpr const char* kMenuInsertSingleLineComment = "Insert Single Line Comment (%s...)";
constexpr const char* kMenuInsertMultiLineComment = "Insert Multi Line Comment (%s...%s)";
constexpr const char* kMenuRemoveSingleLineComment = "Remove Single Line Comment (%s...)";
constexpr const char* kMenuRemoveMultiLineComment = "Remove Multi Line Comment (%s...%s)";
constexpr const char* kMenuPageSetup = "Page Setup...";
constexpr const char* kMenuPrint = "Print...";
constexpr const char* kMenuPrintPreview = "Print Preview";

}  // namespace quill
