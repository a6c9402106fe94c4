#pragma once
// Constants shared by the text buffer and its views: line flags, view update flags,
// line-break modes, undo action codes and undo record flags, and the limits of a load.

#include <cstdint>

namespace quill {

// Line flags: bits 0-9 are the numbered bookmarks 0-9, the rest plain bookmark and host marks.
constexpr std::uint32_t LINEFLAG_BOOKMARK_0 = 0x00000001;
constexpr std::uint32_t LINEFLAG_BOOKMARK_1 = 0x00000002;
constexpr std::uint32_t LINEFLAG_BOOKMARK_2 = 0x00000004;
constexpr std::uint32_t LINEFLAG_BOOKMARK_3 = 0x00000008;
constexpr std::uint32_t LINEFLAG_BOOKMARK_4 = 0x00000010;
constexpr std::uint32_t LINEFLAG_BOOKMARK_5 = 0x00000020;
constexpr std::uint32_t LINEFLAG_BOOKMARK_6 = 0x00000040;
constexpr std::uint32_t LINEFLAG_BOOKMARK_7 = 0x00000080;
constexpr std::uint32_t LINEFLAG_BOOKMARK_8 = 0x00000100;
constexpr std::uint32_t LINEFLAG_BOOKMARK_9 = 0x00000200;
constexpr std::uint32_t LINEFLAG_MARK_A = 0x00010000;
constexpr std::uint32_t LINEFLAG_MARK_B = 0x00020000;
constexpr std::uint32_t LINEFLAG_MARK_C = 0x00040000;
constexpr std::uint32_t LINEFLAG_BOOKMARK = 0x00080000;
constexpr std::uint32_t LINEFLAG_MARK_D = 0x00100000;

// The flag of numbered bookmark n (0..9).
constexpr std::uint32_t LINEFLAG_BOOKMARK_N(int n) { return std::uint32_t{1} << n; }

// Flags of QuillTextBuffer::UpdateViews and QuillView::UpdateView.
constexpr unsigned long UPDATE_FLAG_HORZ = 0x0001;
constexpr unsigned long UPDATE_FLAG_VERT = 0x0002;
constexpr unsigned long UPDATE_FLAG_LINE = 0x0100;
constexpr unsigned long UPDATE_FLAG_LINEFLAGS = 0x0200;
constexpr unsigned long UPDATE_FLAG_RESET = 0x1000;

// Line-break modes.
constexpr int CRLF_MODE_DOS = 0;   // CR LF
constexpr int CRLF_MODE_UNIX = 1;  // LF
constexpr int CRLF_MODE_MAC = 2;   // CR

// Undo action codes.
constexpr int UNDO_ACTION_UNKNOWN = 0;
constexpr int UNDO_ACTION_PASTE = 1;
constexpr int UNDO_ACTION_DELSEL = 2;
constexpr int UNDO_ACTION_CUT = 3;
constexpr int UNDO_ACTION_TYPING = 4;
constexpr int UNDO_ACTION_BACKSPACE = 5;
constexpr int UNDO_ACTION_INDENT = 6;
constexpr int UNDO_ACTION_DRAGDROP = 7;
constexpr int UNDO_ACTION_REPLACE = 8;
constexpr int UNDO_ACTION_DELETE = 9;
constexpr int UNDO_ACTION_AUTOINDENT = 10;

// Flags of an undo record.
constexpr std::uint32_t UNDOREC_INSERT = 0x0001;
constexpr std::uint32_t UNDOREC_GROUPSTART = 0x0100;

// Limits of one buffer's line store. The defaults are what the store can hold: positions
// and counts are 32-bit, and a line's capacity (the next multiple of 16 above its length)
// must fit too. A host may lower them (QuillTextBuffer::SetLoadLimits). Loads refuse files
// beyond them; edits that would make a longer line throw InvalidArgException.
struct TLoadLimits {
  std::int64_t nMaxLineLength = 0x7fffffef;
  std::int64_t nMaxLineCount = 0x7fffffff;
  // Largest file a load reads; 0: the memory the process can have (AvailableMemory).
  std::int64_t nMaxFileSize = 0;
};

}  // namespace quill
