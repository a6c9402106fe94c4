// Thousands of random keystrokes on a view (typed characters, Enter, Tab, Shift+Tab,
// Delete, Backspace, cut, copy and paste, with random selections before them), checked
// after every step against the same keys applied to a vector of strings; then undoing
// everything gives the start text back and redoing everything the end text.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "input_fixture.h"
#include "platform/clipboard.h"

namespace quill {
namespace {

// What the keys do, on the text as one string with '|' for each line break (tab size 4).
struct Model {
  std::string text;
  CPoint cursor;
  CPoint selStart;  // ordered
  CPoint selEnd;
  std::string clip;
  static constexpr int kTab = 4;

  std::size_t Offset(CPoint pt) const {
    std::size_t offset = 0;
    for (int y = 0; y < pt.y; ++y) offset = text.find('|', offset) + 1;
    return offset + static_cast<std::size_t>(pt.x);
  }
  CPoint Point(std::size_t offset) const {
    const std::size_t start = offset == 0 ? 0 : text.rfind('|', offset - 1) + 1;  // npos + 1 is 0
    const auto breaks = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '|');
    return CPoint(static_cast<int>(offset - start), static_cast<int>(breaks));
  }
  std::string Line(int y) const {
    const std::size_t start = Offset(CPoint(0, y));
    return text.substr(start, text.find('|', start) - start);
  }
  int Lines() const { return static_cast<int>(std::count(text.begin(), text.end(), '|')) + 1; }
  int Length(int y) const { return static_cast<int>(Line(y).size()); }
  bool HasSelection() const { return selStart != selEnd; }
  void Place(CPoint pt) { cursor = selStart = selEnd = pt; }
  // Inserts at pt and places the cursor after the insertion.
  void Insert(CPoint pt, const std::string& s) {
    text.insert(Offset(pt), s);
    Place(Point(Offset(pt) + s.size()));
  }
  bool DeleteSelection() {
    if (!HasSelection()) return false;
    text.erase(Offset(selStart), Offset(selEnd) - Offset(selStart));
    Place(selStart);
    return true;
  }

  void Type(char c) {
    DeleteSelection();
    Insert(cursor, std::string(1, c));
  }
  void Enter() {  // the break, then the white space the line above starts with
    DeleteSelection();
    Insert(cursor, "|");
    const std::string above = Line(cursor.y - 1);
    Insert(cursor, above.substr(0, above.find_first_not_of(" \t")));
  }
  void Block(bool indent) {
    const int last = selEnd.x == 0 ? selEnd.y - 1 : selEnd.y;
    for (int y = selStart.y; y <= last; ++y) {
      const std::string line = Line(y);
      std::size_t n = 0;
      while (n < line.size() && n < kTab && line[n] == ' ') ++n;
      if (n < line.size() && n < kTab && line[n] == '\t') ++n;
      if (indent) text.insert(Offset(CPoint(0, y)), "\t");
      else text.erase(Offset(CPoint(0, y)), n);
    }
    CPoint end(0, selEnd.y);
    if (selEnd.x != 0) end = selEnd.y + 1 < Lines() ? CPoint(0, selEnd.y + 1) : CPoint(Length(selEnd.y), selEnd.y);
    selStart = CPoint(0, selStart.y);
    selEnd = cursor = end;
  }
  void Tab() {
    if (HasSelection() && selStart.y != selEnd.y) return Block(true);
    DeleteSelection();
    Insert(cursor, "\t");
  }
  void Untab() {  // to the tab stop before the cursor's column
    if (HasSelection() && selStart.y != selEnd.y) return Block(false);
    if (cursor.x == 0) return;
    const std::string line = Line(cursor.y);
    const auto next = [](int column, char c) { return c == '\t' ? (column / kTab + 1) * kTab : column + 1; };
    int column = 0;
    for (int x = 0; x < cursor.x; ++x) column = next(column, line[static_cast<std::size_t>(x)]);
    const int target = (column - 1) / kTab * kTab;
    int x = 0;
    for (int c = 0; x < Length(cursor.y) && c < target; ++x) c = next(c, line[static_cast<std::size_t>(x)]);
    Place(CPoint(x, cursor.y));
  }
  void Delete() {
    if (DeleteSelection()) return;
    if (Offset(cursor) < text.size()) text.erase(Offset(cursor), 1);
  }
  void Backspace() {
    if (HasSelection()) return Delete();
    const std::size_t at = Offset(cursor);
    if (at > 0) text.erase(at - 1, 1);
    Place(Point(at > 0 ? at - 1 : 0));
  }
  void Copy() {
    if (HasSelection()) clip = text.substr(Offset(selStart), Offset(selEnd) - Offset(selStart));
  }
  void Cut() {
    Copy();
    DeleteSelection();
  }
  void Paste() {
    DeleteSelection();
    Insert(cursor, clip);
  }
};

class RoomyBuffer : public QuillTextBuffer {
 public:
  void LiftUndoLimit() { m_nUndoBufSize = 1 << 20; }
};

class RandomEditing : public testing::ViewTest<testing::CLikeView, RoomyBuffer> {};

TEST_F(RandomEditing, ViewFollowsTheModelAndUndoesBackToTheStart) {
  InstallClipboard(std::make_shared<MemoryClipboard>());
  Open({"int main()", "{", "    return 0;", "}", "\t\tdeep (x)", ""});
  buffer.LiftUndoLimit();
  const std::string start = Text();
  Model model{start, {}, {}, {}, {}};
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
    const int y = pick(model.Lines());
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
    ASSERT_EQ(Text(), model.text) << "step " << step << ": " << what;
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
