#pragma once
// The window messages the widget delivers to a QuillView. Each is sent to the view's
// member of that name when the view has one; a message the view does not handle gets the
// small default behaviour written here (scrolling and focus keep the editor usable) or
// nothing. Everything that reaches the view's protected state goes through ViewAccess.

#include <algorithm>
#include <concepts>
#include <cstdlib>

#include "platform/types.h"
#include "view/quill_view.h"

namespace quill::qt {

// Scroll-bar request codes of the scroll messages.
enum ScrollCode : unsigned {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
  kEndScroll = 8,
};

// Reaches the protected scroll and focus state of any view, for the defaults below.
struct ViewAccess : QuillView {
  static int& TopLine(QuillView& v) { return v.*(&ViewAccess::m_nTopLine); }
  static int& OffsetChar(QuillView& v) { return v.*(&ViewAccess::m_nOffsetChar); }
  static bool& Focused(QuillView& v) { return v.*(&ViewAccess::m_bFocused); }
};

// The new first item of a scroll bar after a request (lines or columns), within
// 0 .. count - 1.
inline int ScrolledPosition(unsigned code, unsigned trackPos, int current, int page, int count) {
  int pos = current;
  switch (code) {
    case kLineUp: pos = current - 1; break;
    case kLineDown: pos = current + 1; break;
    case kPageUp: pos = current - std::max(page, 1); break;
    case kPageDown: pos = current + std::max(page, 1); break;
    case kThumbPosition:
    case kThumbTrack: pos = static_cast<int>(trackPos); break;
    case kTop: pos = 0; break;
    case kBottom: pos = count - 1; break;
    default: break;
  }
  return std::clamp(pos, 0, std::max(count - 1, 0));
}

namespace detail {

template <class V>
void DefaultVScroll(V& v, unsigned code, unsigned pos) {
  const int top = ScrolledPosition(code, pos, ViewAccess::TopLine(v), v.GetScreenLines(),
                                   v.GetLineCount());
  if (top == ViewAccess::TopLine(v)) return;
  ViewAccess::TopLine(v) = top;
  v.RecalcVertScrollBar(1);
  v.UpdateCaret();
  if (Window* w = v.GetWindow()) w->Invalidate(false);
}

template <class V>
void DefaultHScroll(V& v, unsigned code, unsigned pos) {
  const int offset = ScrolledPosition(code, pos, ViewAccess::OffsetChar(v), v.GetScreenChars(),
                                      v.GetMaxLineLength());
  if (offset == ViewAccess::OffsetChar(v)) return;
  ViewAccess::OffsetChar(v) = offset;
  v.RecalcHorzScrollBar(1);
  v.UpdateCaret();
  if (Window* w = v.GetWindow()) w->Invalidate(false);
}

}  // namespace detail

template <class V>
void SendVScroll(V& v, unsigned code, unsigned pos) {
  if constexpr (requires { v.OnVScroll(code, pos, nullptr); }) {
    v.OnVScroll(code, pos, nullptr);
  } else if constexpr (requires { v.OnVScroll(code, pos); }) {
    v.OnVScroll(code, pos);
  } else {
    detail::DefaultVScroll(v, code, pos);
  }
}

template <class V>
void SendHScroll(V& v, unsigned code, unsigned pos) {
  if constexpr (requires { v.OnHScroll(code, pos, nullptr); }) {
    v.OnHScroll(code, pos, nullptr);
  } else if constexpr (requires { v.OnHScroll(code, pos); }) {
    v.OnHScroll(code, pos);
  } else {
    detail::DefaultHScroll(v, code, pos);
  }
}

// One wheel turn: delta in 120ths of a notch, positive away from the user.
template <class V>
void SendMouseWheel(V& v, unsigned flags, short delta, CPoint pt) {
  if constexpr (requires { v.OnMouseWheel(flags, delta, pt); }) {
    v.OnMouseWheel(flags, delta, pt);
  } else {
    if ((flags & (MK_SHIFT | MK_CONTROL)) != 0 || delta == 0) return;
    const int lines = 4 * std::max(1, std::abs(delta) / 120);
    const int top = ViewAccess::TopLine(v) + (delta < 0 ? lines : -lines);
    detail::DefaultVScroll(v, kThumbPosition, static_cast<unsigned>(std::max(top, 0)));
  }
}

template <class V>
void SendSetFocus(V& v) {
  if constexpr (requires { v.OnSetFocus(nullptr); }) {
    v.OnSetFocus(nullptr);
  } else if constexpr (requires { v.OnSetFocus(); }) {
    v.OnSetFocus();
  } else {
    ViewAccess::Focused(v) = true;
    v.UpdateCaret();
    if (Window* w = v.GetWindow()) w->Invalidate(false);
  }
}

template <class V>
void SendKillFocus(V& v) {
  if constexpr (requires { v.OnKillFocus(nullptr); }) {
    v.OnKillFocus(nullptr);
  } else if constexpr (requires { v.OnKillFocus(); }) {
    v.OnKillFocus();
  } else {
    ViewAccess::Focused(v) = false;
    v.UpdateCaret();
    if (Window* w = v.GetWindow()) w->Invalidate(false);
  }
}

// Mouse buttons: flags are the MK_ state, pt the client point.
#define QUILL_QT_MOUSE_MESSAGE(Name)                                  \
  template <class V>                                                  \
  bool Send##Name(V& v, unsigned flags, CPoint pt) {                  \
    if constexpr (requires { v.On##Name(flags, pt); }) {              \
      v.On##Name(flags, pt);                                          \
      return true;                                                    \
    } else {                                                          \
      (void)v; (void)flags; (void)pt;                                 \
      return false;                                                   \
    }                                                                 \
  }
QUILL_QT_MOUSE_MESSAGE(LButtonDown)
QUILL_QT_MOUSE_MESSAGE(LButtonUp)
QUILL_QT_MOUSE_MESSAGE(LButtonDblClk)
QUILL_QT_MOUSE_MESSAGE(RButtonDown)
QUILL_QT_MOUSE_MESSAGE(MouseMove)
#undef QUILL_QT_MOUSE_MESSAGE

// Keys: a typed character (a Windows-1252 byte, 13 for Enter, 8 for Backspace, 9 for
// Tab) and a key press by virtual key.
template <class V>
void SendChar(V& v, unsigned ch, unsigned repeat, unsigned flags) {
  if constexpr (requires { v.OnChar(ch, repeat, flags); }) {
    v.OnChar(ch, repeat, flags);
  } else {
    (void)v; (void)ch; (void)repeat; (void)flags;
  }
}

// True when the view's accelerator table took the key (no character follows it).
template <class V>
bool SendKeyDown(V& v, unsigned vk, unsigned repeat, unsigned flags) {
  if constexpr (requires { { v.TranslateKey(vk, flags) } -> std::convertible_to<bool>; }) {
    if (v.TranslateKey(vk, flags)) return true;
  }
  if constexpr (requires { v.OnKeyDown(vk, repeat, flags); }) v.OnKeyDown(vk, repeat, flags);
  (void)v; (void)vk; (void)repeat; (void)flags;
  return false;
}

template <class V>
void SendTimer(V& v, unsigned id) {
  if constexpr (requires { v.OnTimer(id); }) v.OnTimer(id);
  else { (void)v; (void)id; }
}

// Over the client area: true when the view set the cursor shape.
template <class V>
bool SendSetCursor(V& v) {
  if constexpr (requires { { v.OnSetCursor(nullptr, 1u, 0u) } -> std::convertible_to<bool>; }) {
    return v.OnSetCursor(nullptr, 1u, 0u);
  } else {
    (void)v;
    return false;
  }
}

template <class V>
bool SendContextMenu(V& v, CPoint screen) {
  if constexpr (requires { v.OnContextMenu(nullptr, screen); }) {
    v.OnContextMenu(nullptr, screen);
    return true;
  } else {
    (void)v; (void)screen;
    return false;
  }
}

}  // namespace quill::qt
