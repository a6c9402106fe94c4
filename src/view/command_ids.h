#pragma once
// The command ids of the view: the framework's standard ids it handles and its own.
// Hosts put these ids on their menu items and status bar panes.

namespace quill {

// Context menu items.
constexpr unsigned ID_CONTEXT_COPY = 10000;
constexpr unsigned ID_CONTEXT_PASTE = 10001;
constexpr unsigned ID_CONTEXT_CUT = 10002;
constexpr unsigned ID_CONTEXT_UNDO = 10004;
constexpr unsigned ID_CONTEXT_REDO = 10005;
constexpr unsigned ID_INSERT_SINGLE_LINE_COMMENT = 10006;
constexpr unsigned ID_INSERT_MULTI_LINE_COMMENT = 10007;
constexpr unsigned ID_REMOVE_SINGLE_LINE_COMMENT = 10008;
constexpr unsigned ID_REMOVE_MULTI_LINE_COMMENT = 10009;

// Editing.
constexpr unsigned ID_EDIT_DELETE = 37000;
constexpr unsigned ID_EDIT_DELETE_BACK = 37001;
constexpr unsigned ID_EDIT_DELETE_WORD_BACK = 37002;
constexpr unsigned ID_EDIT_TAB = 37003;
constexpr unsigned ID_EDIT_UNTAB = 37004;
constexpr unsigned ID_EDIT_SWITCH_OVRMODE = 37005;
constexpr unsigned ID_EDIT_GOTO = 37006;

// Movement: each plain move is followed by its selecting form.
constexpr unsigned ID_EDIT_CHAR_LEFT = 37100;
constexpr unsigned ID_EDIT_EXT_CHAR_LEFT = 37101;
constexpr unsigned ID_EDIT_CHAR_RIGHT = 37102;
constexpr unsigned ID_EDIT_EXT_CHAR_RIGHT = 37103;
constexpr unsigned ID_EDIT_WORD_LEFT = 37104;
constexpr unsigned ID_EDIT_EXT_WORD_LEFT = 37105;
constexpr unsigned ID_EDIT_WORD_RIGHT = 37106;
constexpr unsigned ID_EDIT_EXT_WORD_RIGHT = 37107;
constexpr unsigned ID_EDIT_LINE_UP = 37108;
constexpr unsigned ID_EDIT_EXT_LINE_UP = 37109;
constexpr unsigned ID_EDIT_LINE_DOWN = 37110;
constexpr unsigned ID_EDIT_EXT_LINE_DOWN = 37111;
constexpr unsigned ID_EDIT_SCROLL_UP = 37112;
constexpr unsigned ID_EDIT_SCROLL_DOWN = 37113;
constexpr unsigned ID_EDIT_PAGE_UP = 37114;
constexpr unsigned ID_EDIT_EXT_PAGE_UP = 37115;
constexpr unsigned ID_EDIT_PAGE_DOWN = 37116;
constexpr unsigned ID_EDIT_EXT_PAGE_DOWN = 37117;
constexpr unsigned ID_EDIT_LINE_END = 37118;
constexpr unsigned ID_EDIT_EXT_LINE_END = 37119;
constexpr unsigned ID_EDIT_HOME = 37120;
constexpr unsigned ID_EDIT_EXT_HOME = 37121;
constexpr unsigned ID_EDIT_TEXT_BEGIN = 37122;
constexpr unsigned ID_EDIT_EXT_TEXT_BEGIN = 37123;
constexpr unsigned ID_EDIT_TEXT_END = 37124;
constexpr unsigned ID_EDIT_EXT_TEXT_END = 37125;
constexpr unsigned ID_EDIT_FIND_PREVIOUS = 37126;

// Bookmarks.
constexpr unsigned ID_EDIT_TOGGLE_BOOKMARK0 = 37200;  // .. 37209
constexpr unsigned ID_EDIT_TOGGLE_BOOKMARK9 = 37209;
constexpr unsigned ID_EDIT_GO_BOOKMARK0 = 37210;  // .. 37219
constexpr unsigned ID_EDIT_GO_BOOKMARK9 = 37219;
constexpr unsigned ID_EDIT_CLEAR_BOOKMARKS = 37220;
constexpr unsigned ID_EDIT_TOGGLE_BOOKMARK = 37223;
constexpr unsigned ID_EDIT_NEXT_BOOKMARK = 37224;
constexpr unsigned ID_EDIT_PREV_BOOKMARK = 37225;
constexpr unsigned ID_EDIT_CLEAR_ALL_BOOKMARKS = 37226;

// Status bar indicators.
constexpr unsigned ID_EDIT_INDICATOR_COL = 37900;
constexpr unsigned ID_EDIT_INDICATOR_READ = 37901;
constexpr unsigned ID_EDIT_INDICATOR_CRLF = 37902;
constexpr unsigned ID_EDIT_INDICATOR_POSITION = 37904;
constexpr unsigned ID_INDICATOR_OVR = 59140;

constexpr unsigned ID_EDIT_DESELECT_ALL = 37905;
constexpr unsigned ID_EDIT_DELETE_BACK_SHIFT = 38000;
constexpr unsigned ID_EDIT_FIND_NEXT_INPLACE = 38001;
constexpr unsigned ID_EDIT_FIND_PREVIOUS_INPLACE = 38002;
constexpr unsigned ID_EDIT_F5 = 38003;
constexpr unsigned ID_EDIT_F6 = 38004;
constexpr unsigned ID_EDIT_MATCH_BRACE = 40014;
constexpr unsigned ID_EDIT_MATCH_BRACE_ESC = 40015;
constexpr unsigned ID_EDIT_TOGGLE_BOOKMARK2_SECOND = 40016;

// The framework's standard ids.
constexpr unsigned ID_FILE_SAVE = 57603;
constexpr unsigned ID_FILE_PAGE_SETUP = 57605;
constexpr unsigned ID_FILE_PRINT = 57607;
constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
constexpr unsigned ID_EDIT_COPY = 57634;
constexpr unsigned ID_EDIT_CUT = 57635;
constexpr unsigned ID_EDIT_FIND = 57636;
constexpr unsigned ID_EDIT_PASTE = 57637;
constexpr unsigned ID_EDIT_REPEAT = 57640;
constexpr unsigned ID_EDIT_REPLACE = 57641;
constexpr unsigned ID_EDIT_SELECT_ALL = 57642;
constexpr unsigned ID_EDIT_UNDO = 57643;
constexpr unsigned ID_EDIT_REDO = 57644;

// The framework's status bar.
constexpr int AFX_IDW_STATUS_BAR = 59393;

}  // namespace quill
