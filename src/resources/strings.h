#pragma once
// The component's string table: every text a user sees that is not built from data has
// an id here, as the host's menus and the component's messages refer to them.

#include <string>

namespace quill {

// Undo and redo menu texts.
constexpr unsigned IDS_MENU_UNDO_FORMAT = 8615;  // "&Undo %s\tCtrl+Z"
constexpr unsigned IDS_MENU_REDO_FORMAT = 8616;  // "&Redo %s\tCtrl+Y"
constexpr unsigned IDS_MENU_UNDO_DEFAULT = 8617;
constexpr unsigned IDS_MENU_REDO_DEFAULT = 8618;

// Names of the undo actions, in the order of their ids (not of the action codes).
constexpr unsigned IDS_EDITOP_UNKNOWN = 8619;
constexpr unsigned IDS_EDITOP_PASTE = 8620;
constexpr unsigned IDS_EDITOP_DELSELECTION = 8621;
constexpr unsigned IDS_EDITOP_CUT = 8622;
constexpr unsigned IDS_EDITOP_DELETE = 8623;
constexpr unsigned IDS_EDITOP_TYPING = 8624;
constexpr unsigned IDS_EDITOP_BACKSPACE = 8625;
constexpr unsigned IDS_EDITOP_INDENT = 8626;
constexpr unsigned IDS_EDITOP_DRAGDROP = 8627;
constexpr unsigned IDS_EDITOP_REPLACE = 8628;
constexpr unsigned IDS_EDITOP_AUTOINDENT = 8629;

// The width template of the position indicator pane.
constexpr unsigned IDS_INDICATOR_POSITION = 37904;  // "Ln 00000 Col 000"

// Names of keyword sections a host may use, and of the fixed kinds of text of a style.
constexpr unsigned IDS_STYLE_CPP_KEYWORDS = 38005;      // "C/C++ Keywords"
constexpr unsigned IDS_STYLE_DRACULA_KEYWORDS = 38006;  // "Dracula Keywords"
constexpr unsigned IDS_STYLE_CALIBRE_KEYWORDS = 38007;  // "Calibre Keywords"
constexpr unsigned IDS_STYLE_XMC_FUNCTIONS = 38008;     // "XMC Functions"
constexpr unsigned IDS_STYLE_STRING_CONSTANTS = 38009;  // "String Constants"
constexpr unsigned IDS_STYLE_NUMBERS = 38010;           // "Numbers"
constexpr unsigned IDS_STYLE_COMMENTS = 38011;          // "Comments"
constexpr unsigned IDS_STYLE_PREPROCESSOR = 38012;      // "Preprocessor directives"
constexpr unsigned IDS_STYLE_NORMAL_TEXT = 38013;       // "Normal text"

// Fills text with the string of the id and returns true; an unknown id returns false and
// leaves text alone.
bool LoadString(unsigned id, std::string& text);
// The string of the id, or an empty string for an unknown id.
std::string LoadString(unsigned id);

}  // namespace quill
