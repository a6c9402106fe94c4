// Thousands of random keystrokes on a view (typed characters, Enter, Tab, Shift+Tab,
// Delete, Backspace, cut, copy and paste, with random selections before them), checked
// after every step against the same keys applied to a vector of strings; then undoing
// everything gives the start text back and redoing everything the end text.

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <random>

#include "input_fixture.h"
#include "platform/clipboard.h"

namespace quill {
namespace {

// What the keys do, on plain strings (tab size 4, DOS line breaks on the clipboard).
struct Model {
  std::vector<std::string> lines;
  CPoint cursor;
  CPoint selStart;  // ordered
  CPoint selEnd;
  std::string clip;
  static constexpr int kTab = 4;

  bool HasSelection() const { return selStart != selEnd; }
  void Place(CPoint pt) { cursor = selStart = selEnd = pt; }
  int Length(int y) const { return static_cast<int>(lines[static_cast<std::size_t>(y)].size()); }
  std::string& Line(int y) { return lines[static_cast<std::size_t>(y)]; }

  std::string Text(CPoint s, CPoint e) const {
    if (s.y == e.y) return lines[static_cast<std::size_t>(s.y)].substr(static_cast<std::size_t>(s.x), static_cast<std::size_t>(e.x - s.x));
    std::string t = lines[static_cast<std::size_t>(s.y)].substr(static_cast<std::size_t>(s.x));
    for (int y = s.y + 1; y < e.y; ++y) t += "\r\n" + lines[static_cast<std::size_t>(y)];
    return t + "\r\n" + lines[static_cast<std::size_t>(e.y)].substr(0, static_cast<std::size_t>(e.x));
  }
  void Erase(CPoint s, CPoint e) {
    Line(s.y) = Line(s.y).substr(0, static_cast<std::size_t>(s.x)) + Line(e.y).substr(static_cast<std::size_t>(e.x));
    lines.erase(lines.begin() + s.y + 1, lines.begin() + e.y + 1);
  }
  CPoint Insert(CPoint p, const std::string& text) {
    const std::string tail = Line(p.y).substr(static_cast<std::size_t>(p.x));
    Line(p.y).resize(static_cast<std::size_t>(p.x));
    std::size_t from = 0;
    int y = p.y;
    for (std::size_t brk; (brk = text.find("\r\n", from)) != std::string::npos; from = brk + 2) {
      Line(y) += text.substr(from, brk - from);
      lines.insert(lines.begin() + ++y, std::string());
    }
    Line(y) += text.substr(from);
    const CPoint end(Length(y), y);
    Line(y) += tail;
    return end;
  }
  bool DeleteSelection() {
    if (!HasSelection()) return false;
    Erase(selStart, selEnd);
    Place(selStart);
    return true;
  }

  void Type(char c) {
    DeleteSelection();
    Place(Insert(cursor, std::string(1, c)));
  }
  void Enter() {
    DeleteSelection();
    Place(Insert(cursor, "\r\n"));
    const std::string& above = Line(cursor.y - 1);
    std::size_t n = 0;
    while (n < above.size() && std::isspace(static_cast<unsigned char>(above[n]))) ++n;
    if (n > 0) Place(Insert(cursor, above.substr(0, n)));
  }
  void Block(bool indent) {
    const CPoint s = selStart;
    const CPoint e = selEnd;
    const int last = e.x == 0 ? e.y - 1 : e.y;
    for (int y = s.y; y <= last; ++y) {
      if (indent) {
        Line(y).insert(0, "\t");
        continue;
      }
      int n = 0;
      while (n < Length(y) && n < kTab && Line(y)[static_cast<std::size_t>(n)] == ' ') ++n;
      if (n < Length(y) && n < kTab && Line(y)[static_cast<std::size_t>(n)] == '\t') ++n;
      Line(y).erase(0, static_cast<std::size_t>(n));
    }
    CPoint end(0, e.y);
    if (e.x != 0) end = e.y + 1 < static_cast<int>(lines.size()) ? CPoint(0, e.y + 1) : CPoint(Length(e.y), e.y);
    selStart = CPoint(0, s.y);
    selEnd = cursor = end;
  }
  void Tab() {
    if (HasSelection() && selStart.y != selEnd.y) return Block(true);
    DeleteSelection();
    Place(Insert(cursor, "\t"));
  }
  void Untab() {
    if (HasSelection() && selStart.y != selEnd.y) return Block(false);
    if (cursor.x == 0) return;
    const std::string& line = Line(cursor.y);
    int column = 0;
    for (int x = 0; x < cursor.x; ++x) column = line[static_cast<std::size_t>(x)] == '\t' ? (column / kTab + 1) * kTab : column + 1;
    const int target = (column - 1) / kTab * kTab;
    int x = 0;
    for (int c = 0; x < Length(cursor.y) && c < target; ++x) c = line[static_cast<std::size_t>(x)] == '\t' ? (c / kTab + 1) * kTab : c + 1;
    Place(CPoint(x, cursor.y));
  }
  void Delete() {
    if (DeleteSelection()) return;
    if (cursor.x < Length(cursor.y)) {
      Erase(cursor, CPoint(cursor.x + 1, cursor.y));
    } else if (cursor.y + 1 < static_cast<int>(lines.size())) {
      Erase(cursor, CPoint(0, cursor.y + 1));
    }
    Place(cursor);
  }
  void Backspace() {
    if (HasSelection()) return Delete();
    CPoint to = cursor;
    if (cursor.x > 0) {
      to.x = cursor.x - 1;
    } else if (cursor.y > 0) {
      to = CPoint(Length(cursor.y - 1), cursor.y - 1);
    }
    Erase(to, cursor);
    Place(to);
  }
  void Copy() {
    if (HasSelection()) clip = Text(selStart, selEnd);
  }
  void Cut() {
    Copy();
    DeleteSelection();
  }
  void Paste() {
    DeleteSelection();
    if (!clip.empty()) Place(Insert(cursor, clip));
  }
};

class RoomyBuffer : public QuillTextBuffer {
 public:
  void LiftUndoLimit() { m_nUndoBufSize = 1 << 20; }
};

class RandomEditing : public testing::ViewTest<testing::CLikeView, RoomyBuffer> {};

TEST_F(RandomEditing, ViewFollowsTheModelAndUndoesBackToTheStart) {
  InstallClipboard(std::make_shared<MemoryClipboard>());
  Model model;
  model.lines = {"int main()", "{", "    return 0;", "}", "\t\tdeep (x)", ""};
  Open(model.lines);
  buffer.LiftUndoLimit();
  const std::string start = Text();
  const struct {
    const char* name;
    void (QuillView::*view)();
    void (Model::*model)();
  } commands[] = {
      {"tab", &QuillView::OnEditTab, &Model::Tab},
      {"shift+tab", &QuillView::OnEditUntab, &Model::Untab},
      {"delete", &QuillView::OnEditDelete, &Model::Delete},
      {"backspace", &QuillView::OnEditDeleteBack, &Model::Backspace},
      {"cut", &QuillView::OnEditCut, &Model::Cut},
      {"copy", &QuillView::OnEditCopy, &Model::Copy},
      {"paste", &QuillView::OnEditPaste, &Model::Paste},
  };
  std::mt19937 random(1312);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto point = [&] {
    const int y = pick(static_cast<int>(model.lines.size()));
    return CPoint(pick(model.Length(y) + 1), y);
  };
  for (int step = 0; step < 4000; ++step) {
    if (pick(10) < 4) {
      CPoint anchor = pick(3) == 0 ? point() : model.cursor;
      CPoint cursor = point();
      if (pick(3) == 0) anchor = cursor;
      Select(anchor, cursor);
      const bool ordered = anchor.y < cursor.y || (anchor.y == cursor.y && anchor.x <= cursor.x);
      model.selStart = ordered ? anchor : cursor;
      model.selEnd = ordered ? cursor : anchor;
      model.cursor = cursor;
    }
    std::string what;
    if (pick(100) < 55) {  // a typed character, Enter one time in five
      const char c = pick(5) == 0 ? '\r' : " ab(){}x_"[pick(9)];
      what = c == '\r' ? "enter" : std::string("type ") + c;
      view.OnChar(static_cast<unsigned char>(c), 1, 0);
      c == '\r' ? model.Enter() : model.Type(c);
    } else {
      const auto& command = commands[pick(7)];
      what = command.name;
      (view.*command.view)();
      (model.*command.model)();
    }
    std::string expected;
    for (std::size_t i = 0; i < model.lines.size(); ++i) expected += (i ? "|" : "") + model.lines[i];
    ASSERT_EQ(Text(), expected) << "step " << step << ": " << what;
    ASSERT_EQ(Cursor(), model.cursor) << "step " << step << ": " << what;
    ASSERT_EQ(Selection(), testing::Sel(model.selStart, model.selEnd)) << "step " << step << ": " << what;
  }

  const std::string end = Text();
  while (buffer.CanUndo()) view.OnEditUndo();
  EXPECT_EQ(Text(), start);
  EXPECT_FALSE(buffer.IsModified());
  while (buffer.CanRedo()) view.OnEditRedo();
  EXPECT_EQ(Text(), end);
  InstallClipboard(nullptr);
}

}  // namespace
}  // namespace quill
