#pragma once
// The window a view lives in, as the view sees it: client area, invalidation and
// scrolling, scroll bars, the caret, mouse capture, timers, focus, keyboard state, the
// cursor shape and the panes of a parent splitter. A backend implements it over a real
// widget; platform/headless records what was asked of it.

#include <memory>

#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/types.h"

namespace quill {

// What fills a pane of a splitter window (an editor view): the window hands it out as is,
// the view knows its own kind.
class IPaneClient {
 public:
  virtual ~IPaneClient() = default;
};

// Scroll bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

// Scroll requests of the scroll messages.
constexpr unsigned SB_LINEUP = 0;
constexpr unsigned SB_LINEDOWN = 1;
constexpr unsigned SB_PAGEUP = 2;
constexpr unsigned SB_PAGEDOWN = 3;
constexpr unsigned SB_THUMBPOSITION = 4;
constexpr unsigned SB_THUMBTRACK = 5;
constexpr unsigned SB_TOP = 6;
constexpr unsigned SB_BOTTOM = 7;
constexpr unsigned SB_ENDSCROLL = 8;

// The hit-test code of the client area (OnSetCursor).
constexpr unsigned HTCLIENT = 1;

constexpr unsigned SIF_RANGE = 0x0001;
constexpr unsigned SIF_PAGE = 0x0002;
constexpr unsigned SIF_POS = 0x0004;
constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;
constexpr unsigned SIF_TRACKPOS = 0x0010;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr unsigned ESB_ENABLE_BOTH = 0x0000;
constexpr unsigned ESB_DISABLE_BOTH = 0x0003;

struct SCROLLINFO {
  unsigned fMask = 0;
  int nMin = 0;
  int nMax = 0;
  unsigned nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Window and class styles.
constexpr unsigned long WS_HSCROLL = 0x00100000UL;
constexpr unsigned long WS_VSCROLL = 0x00200000UL;
constexpr unsigned CS_DBLCLKS = 0x0008;

// What PreCreateWindow may adjust before the window exists.
struct CREATESTRUCT {
  unsigned long style = 0;
  unsigned classStyle = 0;
  bool parentIsSplitter = false;
};

// Virtual keys and mouse-message key flags.
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;

// Cursor shapes the view asks for.
enum class CursorShape { Arrow, IBeam, Wait, Margin };

// The first pane id of a splitter; a pane's row and column follow from its child id.
constexpr int AFX_IDW_PANE_FIRST = 59648;

// A separate scroll bar control (the shared bar of a splitter).
struct ScrollBarCtrl {
  bool enabled = true;
  unsigned arrows = ESB_ENABLE_BOTH;
  void EnableScrollBar(unsigned a) { arrows = a; }
  bool IsWindowEnabled() const { return enabled; }
};

class Window {
 public:
  virtual ~Window() = default;

  virtual CRect GetClientRect() const = 0;
  virtual unsigned long GetStyle() const = 0;

  // Invalidation: a null rect means the whole client area.
  virtual void InvalidateRect(const CRect* rect, bool erase) = 0;
  void Invalidate(bool erase = true) { InvalidateRect(nullptr, erase); }
  // Paints the invalid region now.
  virtual void UpdateWindow() = 0;
  // Moves the pixels of scrollRect (null: the client area) by (dx, dy) and invalidates
  // what was uncovered; clipRect (null: none) limits the change.
  virtual void ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) = 0;

  virtual void SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw) = 0;
  virtual bool GetScrollInfo(int bar, SCROLLINFO& info, unsigned mask) = 0;
  virtual int SetScrollPos(int bar, int pos, bool redraw) = 0;
  // The separate scroll bar control for that bar, or null (the window's own bar is used).
  virtual ScrollBarCtrl* GetScrollBarCtrl(int bar) = 0;

  virtual void CreateSolidCaret(int width, int height) = 0;
  virtual void CreateGrayCaret(int width, int height) = 0;
  virtual void SetCaretPos(CPoint pt) = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;

  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;

  virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void KillTimer(unsigned id) = 0;

  virtual void SetFocus() = 0;
  virtual bool HasFocus() const = 0;

  // Negative (high bit) while the key is held.
  virtual short GetKeyState(int virtualKey) const = 0;
  // The mouse position in client coordinates.
  virtual CPoint GetCursorPos() const = 0;
  virtual void SetCursor(CursorShape shape) = 0;

  // A device for measuring and drawing on the window outside a paint.
  virtual std::unique_ptr<CDC> GetDC() = 0;
  // The window's current font (what a device of the window uses by default).
  virtual const CFont* GetFont() const = 0;

  // Splitter panes: the child id of this window, whether its parent is a splitter and the
  // client in a pane of that splitter (null when there is no such pane or nothing in it).
  virtual int GetDlgCtrlID() const = 0;
  virtual bool IsSplitterPane() const = 0;
  virtual IPaneClient* GetPane(int row, int column) const = 0;

  // Shows a popup menu at a screen point and returns the command id chosen (0: none).
  virtual unsigned TrackPopupMenu(const CMenu& menu, unsigned flags, CPoint screenPoint) = 0;
  // A command the view does not handle goes on to the frame around it (the document's
  // and the application's commands, such as saving).
  virtual void RouteCommandToFrame(unsigned /*nID*/) {}
};

}  // namespace quill
