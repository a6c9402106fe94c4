#pragma once
// The component's accelerator table (resource 22901): key strokes and the command ids
// they produce, and the translation of a key message through a table.

#include <cstdint>
#include <span>

#include "platform/command_ui.h"

namespace quill {

class Window;

// Accelerator entry flags.
constexpr std::uint8_t FVIRTKEY = 0x01;
constexpr std::uint8_t FNOINVERT = 0x02;
constexpr std::uint8_t FSHIFT = 0x04;
constexpr std::uint8_t FCONTROL = 0x08;
constexpr std::uint8_t FALT = 0x10;

// Virtual keys of the table's entries (the letters and digits are their ASCII codes).
constexpr unsigned VK_BACK = 0x08;
constexpr unsigned VK_TAB = 0x09;
constexpr unsigned VK_RETURN = 0x0D;
constexpr unsigned VK_ESCAPE = 0x1B;
constexpr unsigned VK_PRIOR = 0x21;
constexpr unsigned VK_NEXT = 0x22;
constexpr unsigned VK_END = 0x23;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_LEFT = 0x25;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_RIGHT = 0x27;
constexpr unsigned VK_DOWN = 0x28;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_F2 = 0x71;
constexpr unsigned VK_F3 = 0x72;
constexpr unsigned VK_F5 = 0x74;
constexpr unsigned VK_F6 = 0x75;

struct ACCEL {
  std::uint8_t fVirt;  // FVIRTKEY for a virtual key, else a character code
  std::uint16_t key;
  std::uint16_t cmd;
};

// A loaded accelerator table: its entries in order (null data: no table).
using HACCEL = const std::span<const ACCEL>*;

constexpr unsigned IDR_QUILL_ACCELERATORS = 22901;

// The table of a resource id, or null for an id that names none.
HACCEL LoadAccelerators(unsigned nID);

// The command id the key message produces through the table (0: none). Virtual-key
// entries match key-down messages (system key-down with Alt) of their key with exactly
// their Shift, Ctrl and Alt state, read from the window; character entries match
// character messages of their code. The first matching entry wins.
unsigned TranslateAccelerator(const Window* pWnd, HACCEL hAccel, const MSG* pMsg);

}  // namespace quill
