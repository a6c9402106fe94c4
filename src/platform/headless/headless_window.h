#pragma once
// A window in memory: it does what a view asks (client size, scroll bars, caret, capture,
// timers, focus, keys, cursor shape, splitter panes) and records it, so that a test can
// read back what the view did. Painting is explicit: Paint() hands a recording device of
// the client size to the view's OnDraw and keeps it for inspection.

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/headless/headless_dc.h"
#include "platform/window.h"

namespace quill {

// The panes of a splitter window in memory, by row and column.
class HeadlessSplitter {
 public:
  void SetPane(int row, int column, IPaneClient* client) { m_panes[{row, column}] = client; }
  IPaneClient* GetPane(int row, int column) const;

 private:
  std::map<std::pair<int, int>, IPaneClient*> m_panes;
};

class HeadlessWindow : public Window {
 public:
  explicit HeadlessWindow(CSize client = CSize(640, 480));

  // Test controls.
  void SetClientSize(CSize size) { m_client = size; }
  void SetStyle(unsigned long style) { m_style = style; }
  void SetKeyDown(int virtualKey, bool down) { m_keys[virtualKey] = down; }
  void SetMousePos(CPoint pt) { m_mouse = pt; }
  void SetFocusState(bool focus) { m_focus = focus; }
  void SetSplitter(HeadlessSplitter* splitter, int row, int column);
  void AddScrollBarCtrl(int bar) { m_ctrls[bar] = std::make_unique<ScrollBarCtrl>(); }
  // Paints the view (a drawing function, usually a view's OnDraw) into a fresh recording
  // device of the client size and returns the device.
  template <class View>
  HeadlessDC& Paint(View& view) {
    view.OnDraw(&BeginPaint());
    return *m_paint;
  }
  HeadlessDC* LastPaint() { return m_paint.get(); }

  // Window.
  CRect GetClientRect() const override { return CRect(0, 0, m_client.cx, m_client.cy); }
  unsigned long GetStyle() const override { return m_style; }
  void InvalidateRect(const CRect* rect, bool erase) override;
  void UpdateWindow() override { ++updateCount; }
  void ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect* clipRect) override;
  void SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw) override;
  bool GetScrollInfo(int bar, SCROLLINFO& info, unsigned mask) override;
  int SetScrollPos(int bar, int pos, bool redraw) override;
  ScrollBarCtrl* GetScrollBarCtrl(int bar) override;
  void CreateSolidCaret(int width, int height) override;
  void CreateGrayCaret(int width, int height) override;
  void SetCaretPos(CPoint pt) override { caret.pos = pt; }
  void ShowCaret() override { caret.visible = caret.created; }
  void HideCaret() override { caret.visible = false; }
  void SetCapture() override { m_capture = true; }
  void ReleaseCapture() override { m_capture = false; }
  bool HasCapture() const override { return m_capture; }
  void SetTimer(unsigned id, unsigned milliseconds) override { timers[id] = milliseconds; }
  void KillTimer(unsigned id) override { timers.erase(id); }
  void SetFocus() override { m_focus = true; }
  bool HasFocus() const override { return m_focus; }
  short GetKeyState(int virtualKey) const override;
  CPoint GetCursorPos() const override { return m_mouse; }
  void SetCursor(CursorShape shape) override { cursor = shape; }
  std::unique_ptr<CDC> GetDC() override;
  const CFont* GetFont() const override { return &m_font; }
  int GetDlgCtrlID() const override { return m_id; }
  bool IsSplitterPane() const override { return m_splitter != nullptr; }
  IPaneClient* GetPane(int row, int column) const override;
  unsigned TrackPopupMenu(const CMenu& menu, unsigned flags, CPoint screenPoint) override;
  void RouteCommandToFrame(unsigned nID) override { routedCommands.push_back(nID); }

  // What the view asked for.
  struct Invalidation {
    bool all = false;
    CRect rect;
    bool erase = false;
  };
  struct Scroll {
    int dx = 0;
    int dy = 0;
    bool hasRect = false;
    CRect rect;
  };
  struct Caret {
    bool created = false;
    bool solid = true;
    CSize size;
    CPoint pos;
    bool visible = false;
  };
  std::vector<Invalidation> invalidations;
  std::vector<Scroll> scrolls;
  std::map<int, SCROLLINFO> scrollInfo;
  std::map<unsigned, unsigned> timers;
  Caret caret;
  CursorShape cursor = CursorShape::Arrow;
  int updateCount = 0;
  // The last popup menu shown (with its items' states) and where; menuChoice is the
  // command id the next popup returns.
  CMenu lastMenu;
  CPoint lastMenuPoint;
  unsigned lastMenuFlags = 0;
  int menuCount = 0;
  unsigned menuChoice = 0;
  std::vector<unsigned> routedCommands;
  // Forgets the recorded invalidations and scrolls.
  void ClearRecord() { invalidations.clear(); scrolls.clear(); }

 private:
  // A fresh recording device of the client size with the window's font, kept as the last
  // paint.
  HeadlessDC& BeginPaint();

  CSize m_client;
  unsigned long m_style = WS_HSCROLL | WS_VSCROLL;
  std::map<int, bool> m_keys;
  CPoint m_mouse;
  bool m_focus = false;
  bool m_capture = false;
  CFont m_font;
  int m_id = AFX_IDW_PANE_FIRST;
  HeadlessSplitter* m_splitter = nullptr;
  std::map<int, std::unique_ptr<ScrollBarCtrl>> m_ctrls;
  std::unique_ptr<HeadlessDC> m_paint;
};

}  // namespace quill
