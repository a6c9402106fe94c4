#include "resources/strings.h"

#include <algorithm>
#include <iterator>

namespace quill {
namespace {

struct Entry {
  unsigned id;
  const char* text;
};

// Sorted by id, which the static_assert below keeps true.
constexpr Entry kStrings[] = {
    {IDS_MENU_UNDO_FORMAT, "&Undo %s\tCtrl+Z"},
    {IDS_MENU_REDO_FORMAT, "&Redo %s\tCtrl+Y"},
    {IDS_MENU_UNDO_DEFAULT, "&Undo\tCtrl+Z"},
    {IDS_MENU_REDO_DEFAULT, "&Redo\tCtrl+Z"},
    {IDS_EDITOP_UNKNOWN, "Unknown"},
    {IDS_EDITOP_PASTE, "Paste"},
    {IDS_EDITOP_DELSELECTION, "Delete Selection"},
    {IDS_EDITOP_CUT, "Cut"},
    {IDS_EDITOP_DELETE, "Delete"},
    {IDS_EDITOP_TYPING, "Typing"},
    {IDS_EDITOP_BACKSPACE, "Backspace"},
    {IDS_EDITOP_INDENT, "Indent"},
    {IDS_EDITOP_DRAGDROP, "Drag And Drop"},
    {IDS_EDITOP_REPLACE, "Replace"},
    {IDS_EDITOP_AUTOINDENT, "Auto Indent"},
    {IDS_INDICATOR_POSITION, "Ln 00000 Col 000"},
    {IDS_STYLE_CPP_KEYWORDS, "C/C++ Keywords"},
    {IDS_STYLE_DRACULA_KEYWORDS, "Dracula Keywords"},
    {IDS_STYLE_CALIBRE_KEYWORDS, "Calibre Keywords"},
    {IDS_STYLE_XMC_FUNCTIONS, "XMC Functions"},
    {IDS_STYLE_STRING_CONSTANTS, "String Constants"},
    {IDS_STYLE_NUMBERS, "Numbers"},
    {IDS_STYLE_COMMENTS, "Comments"},
    {IDS_STYLE_PREPROCESSOR, "Preprocessor directives"},
    {IDS_STYLE_NORMAL_TEXT, "Normal text"},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "string table must stay sorted by id");

}  // namespace

bool LoadString(unsigned id, std::string& text) {
  auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                             [](const Entry& e, unsigned v) { return e.id < v; });
  if (it == std::end(kStrings) || it->id != id) return false;
  text = it->text;
  return true;
}

std::string LoadString(unsigned id) {
  std::string s;
  LoadString(id, s);
  return s;
}

}  // namespace quill
