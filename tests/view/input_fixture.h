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
  using QuillView::m_bSelecting;
  using QuillView::m_dwLastFindFlags;
  int f5 = 0;
  void HandleF5Command() override { ++f5; }
  // A host protecting a read-only buffer switches this off.
  bool editable = true;
  bool QueryEditable() override { return editable && CLikeView::QueryEditable(); }
};

// The lines, CR LF between them, loaded without an undo history.
inline void Load(QuillTextBuffer& buffer, const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  buffer.LoadFromBuffer(text.c_str(), CRLF_MODE_DOS);
}

// The buffer's text with eol for each line break.
inline std::string Joined(QuillTextBuffer& buffer, const char* eol = "|") {
  std::string text;
  const int last = buffer.GetLineCount() - 1;
  buffer.GetText(0, 0, last, buffer.GetLineLength(last), text, eol);
  return text;
}

// Undoes everything (at most ten steps) and returns the number of steps.
inline int UndoSteps(QuillView& view, QuillTextBuffer& buffer) {
  int steps = 0;
  for (; buffer.CanUndo() && steps < 10; ++steps) view.OnEditUndo();
  return steps;
}

// Installed before the view is made: a view reads its settings when constructed.
struct MemoryStore {
  MemoryStore() { InstallMemorySettingsStore(); }
};

template <class View, class Buffer = QuillTextBuffer>
class ViewTest : public ::testing::Test, MemoryStore {
 protected:
  static constexpr int kCharWidth = 8;
  static constexpr int kLineHeight = 16;
  static constexpr int kMargin = 20;

  ~ViewTest() override {
    if (view.GetWindow() != nullptr) view.OnDestroy();
  }

  // Loads the lines without an undo history; the first call creates the view with focus.
  void Open(const std::vector<std::string>& lines) {
    testing::Load(buffer, lines);
    if (view.GetWindow() != nullptr) return;
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.OnInitialUpdate();
    window.SetFocus();
    view.OnSetFocus(nullptr);
  }
  std::string Text() { return Joined(buffer); }
  int UndoSteps() { return testing::UndoSteps(view, buffer); }
  // What an update handler says; it must say something.
  bool Enabled(void (QuillView::*handler)(CCmdUI*)) {
    CCmdUI ui;
    (view.*handler)(&ui);
    EXPECT_TRUE(ui.m_enabled.has_value());
    return ui.m_enabled.value_or(false);
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
  void Place(CPoint pt) { Select(pt, pt); }
  // The anchor at start, the cursor at end.
  void Select(CPoint start, CPoint end) {
    view.SetCursorPos(end);
    view.SetAnchor(start);
    view.SetSelection(start, end);
  }
  CPoint Cursor() const { return view.GetCursorPos(); }
  std::pair<CPoint, CPoint> Selection() {
    CPoint start;
    CPoint end;
    view.GetSelection(start, end);
    return {start, end};
  }

  Buffer buffer;
  View view{&buffer};
  HeadlessWindow window{CSize(kMargin + 40 * kCharWidth, 10 * kLineHeight)};
};

using InputTest = ViewTest<InputView>;
using Sel = std::pair<CPoint, CPoint>;

}  // namespace quill::testing
