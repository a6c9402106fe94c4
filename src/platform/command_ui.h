#pragma once
// Command routing stand-ins: the update record a command's update handler fills (enabled,
// checked, text) and the window message a view may translate through its accelerators.

#include <optional>
#include <string>

namespace quill {

class Window;

// What an update handler says about one command (a menu item, a tool button or a status
// bar pane). Fields left unset mean the handler said nothing about them.
class CCmdUI {
 public:
  explicit CCmdUI(unsigned nID = 0) : m_nID(nID) {}
  virtual ~CCmdUI() = default;

  virtual void Enable(int bOn = 1) { m_enabled = bOn != 0; }
  virtual void SetCheck(int nCheck = 1) { m_check = nCheck; }
  virtual void SetText(const std::string& text) { m_text = text; }

  unsigned m_nID;
  std::optional<bool> m_enabled;
  std::optional<int> m_check;
  std::optional<std::string> m_text;
};

// Window messages of the keyboard range, as PreTranslateMessage sees them.
constexpr unsigned WM_KEYFIRST = 0x0100;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_KEYLAST = 0x0108;

struct MSG {
  Window* hwnd = nullptr;
  unsigned message = 0;
  unsigned long wParam = 0;  // virtual key or character code
  long lParam = 0;
};

}  // namespace quill
