#pragma once
// A host-style view in a 40 x 10 cell window (8 x 16 pixel cells after a 20-pixel
// margin), driven by key messages through its accelerators and by mouse messages.

#include "clike_view.h"
#include "resources/accelerators.h"
#include "settings/store.h"

namespace quill::testing {

class InputView : public CLikeView {
 public:
  using CLikeView::CLikeView;
  using QuillView::m_bOvrMode;
  using QuillView::m_bSelecting;
  using QuillView::m_nOffsetChar;
  using QuillView::m_nTopLine;
  using QuillView::m_ptAnchor;
  int f5 = 0;
  void HandleF5Command() override { ++f5; }
};

class InputTest : public ::testing::Test {
 protected:
  static constexpr int kCharWidth = 8;
  static constexpr int kLineHeight = 16;
  static constexpr int kMargin = 20;

  InputTest() { InstallMemorySettingsStore(); }
  ~InputTest() override {
    if (view.GetWindow() != nullptr) view.OnDestroy();
  }

  void Open(const std::vector<std::string>& lines) {
    Fill(buffer, lines);
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.OnInitialUpdate();
    window.SetFocus();
    view.OnSetFocus(nullptr);
  }

  // A key stroke with FSHIFT / FCONTROL / FALT held; true when the view consumed it.
  bool Key(unsigned vk, unsigned mods = 0) {
    Hold(mods);
    MSG msg{&window, (mods & FALT) ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 0};
    const bool consumed = view.PreTranslateMessage(&msg);
    Hold(0);
    return consumed;
  }
  void Hold(unsigned mods) {
    window.SetKeyDown(VK_SHIFT, (mods & FSHIFT) != 0);
    window.SetKeyDown(VK_CONTROL, (mods & FCONTROL) != 0);
    window.SetKeyDown(VK_MENU, (mods & FALT) != 0);
  }

  // The client point of the left edge of a cell (line and column from the top left).
  static CPoint Cell(int column, int row, int dx = 0) {
    return CPoint(kMargin + column * kCharWidth + dx, row * kLineHeight + 2);
  }
  static CPoint MarginAt(int row) { return CPoint(5, row * kLineHeight + 2); }
  void Press(CPoint pt, unsigned mods = 0) {
    Hold(mods);
    view.OnLButtonDown(MK_LBUTTON, pt);
    Hold(0);
  }
  void Drag(CPoint pt) {
    window.SetMousePos(pt);
    view.OnMouseMove(MK_LBUTTON, pt);
  }
  void Release(CPoint pt) { view.OnLButtonUp(0, pt); }

  // The cursor at pt with an empty selection there.
  void Place(CPoint pt) {
    view.SetCursorPos(pt);
    view.SetAnchor(pt);
    view.SetSelection(pt, pt);
  }
  CPoint Cursor() const { return view.GetCursorPos(); }
  std::pair<CPoint, CPoint> Selection() {
    CPoint start;
    CPoint end;
    view.GetSelection(start, end);
    return {start, end};
  }

  QuillTextBuffer buffer;
  InputView view{&buffer};
  HeadlessWindow window{CSize(kMargin + 40 * kCharWidth, 10 * kLineHeight)};
};

using Sel = std::pair<CPoint, CPoint>;

}  // namespace quill::testing
