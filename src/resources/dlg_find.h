#pragma once
// Ids of the find, replace and go-to dialogs' templates and of their regular-expression
// menus.

namespace quill {

constexpr unsigned IDD_EDIT_FIND = 8601;
constexpr unsigned IDD_EDIT_REPLACE = 8602;
constexpr unsigned IDD_EDIT_GOTO = 8604;

constexpr int IDC_EDIT_REGEXP = 1000;
constexpr int IDC_FIND_REGEXP_MENU = 1008;     // the button beside the search text
constexpr int IDC_REPLACE_REGEXP_MENU = 1009;  // the button beside the replacement text
constexpr int IDC_EDIT_WHOLE_WORD = 8603;
constexpr int IDC_EDIT_MATCH_CASE = 8604;
constexpr int IDC_EDIT_TEXT = 8605;
constexpr int IDC_EDIT_SKIP = 8607;      // "&Replace"
constexpr int IDC_EDIT_REPLACE = 8608;   // "Replace &All"
constexpr int IDC_EDIT_REPLACE_WITH = 8609;
constexpr int IDC_EDIT_FINDNEXT = 8610;  // the replace dialog's "&Find Next"
constexpr int IDC_EDIT_DIRECTION_UP = 8611;
constexpr int IDC_EDIT_DIRECTION_DOWN = 8612;
constexpr int IDC_EDIT_SCOPE_SELECTION = 8613;
constexpr int IDC_EDIT_SCOPE_WHOLE_FILE = 8614;

constexpr int IDC_GOTO_NUMBER = 8630;
constexpr int IDC_GOTO_LINE = 8631;
constexpr int IDC_GOTO_BOOKMARK = 8632;
constexpr int IDC_GOTO_COLUMN = 8633;

// The expression menu's commands (46600 to 46617) and the replacement menu's (46618
// "Find What Text", 46619 to 46627 the tagged expressions).
constexpr unsigned ID_REGEXP_ANY_CHAR = 46600;
constexpr unsigned ID_REGEXP_QUOTED_STRING = 46617;
constexpr unsigned ID_REGEXP_FIND_WHAT = 46618;
constexpr unsigned ID_REGEXP_TAGGED_9 = 46627;

}  // namespace quill
