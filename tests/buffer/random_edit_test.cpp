// Fixed-seed random edit sequences checked against a plain model of lines after every
// step; then undo walks back through every intermediate state and redo forward again.

#include <gtest/gtest.h>

#include <random>

#include "buffer_fixture.h"

namespace quill::test {
namespace {

// The model of an insertion: CR or CR LF breaks the line, a lone LF stays a character.
CPoint ModelInsert(Lines& lines, CPoint at, const std::string& text) {
  std::string tail = lines[at.y].substr(at.x);
  lines[at.y].erase(at.x);
  int line = at.y;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.insert(lines.begin() + ++line, std::string());
    } else {
      lines[line] += text[i];
    }
  }
  CPoint end(static_cast<int>(lines[line].size()), line);
  lines[line] += tail;
  return end;
}

void ModelDelete(Lines& lines, CPoint start, CPoint end) {
  std::string tail = lines[end.y].substr(end.x);
  lines.erase(lines.begin() + start.y + 1, lines.begin() + end.y + 1);
  lines[start.y].erase(start.x);
  lines[start.y] += tail;
}

class RandomEdits : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomEdits, MatchModelAndUndoRedoRoundTrip) {
  std::mt19937 rng(GetParam());
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto randomPoint = [&](const Lines& lines) {
    int y = pick(0, static_cast<int>(lines.size()) - 1);
    return CPoint(pick(0, static_cast<int>(lines[y].size())), y);
  };
  static const char* const pieces[] = {"a", "b", "xyz", "\r", "\n", "\r\n", "\r\r", "\n\r", "\t", "longer words "};
  auto randomText = [&] {
    std::string text;
    for (int n = pick(1, 6); n > 0; --n) text += pieces[pick(0, 9)];
    return text;
  };

  TestBuffer buf;
  RecordingView view;
  buf.AddView(&view);
  // Loaded lines share their storage slab (their characters packed one after the other),
  // a line made later has its own.
  ASSERT_EQ(buf.LoadFromBuffer("start line\r\nsecond\r\n\r\nthird\r\nx", CRLF_MODE_DOS), 1);
  buf.m_nUndoBufSize = 1 << 20;  // keep every record so undo reaches the start
  buf.InsertLine("line with LF\n");
  Lines model = buf.AllLines();
  std::vector<Lines> states{model};

  for (int step = 0; step < 3000; ++step) {
    const bool grouped = pick(0, 9) == 0;
    if (grouped) buf.BeginUndoGroup(pick(0, 1));
    for (int n = grouped ? pick(1, 4) : 1; n > 0; --n) {
      if (pick(0, 2) != 0 || (model.size() == 1 && model[0].empty())) {
        CPoint at = randomPoint(model);
        std::string text = randomText();
        int endLine = -1, endChar = -1;
        view.caret = at;
        ASSERT_EQ(buf.InsertText(&view, at.y, at.x, text.c_str(), endLine, endChar), 1);
        CPoint end = ModelInsert(model, at, text);
        ASSERT_EQ(CPoint(endChar, endLine), end) << "step " << step;
        ASSERT_EQ(view.caret, at);
      } else {
        CPoint a = randomPoint(model), b = randomPoint(model);
        if (b.y < a.y || (b.y == a.y && b.x < a.x)) std::swap(a, b);
        ASSERT_EQ(buf.DeleteText(&view, a.y, a.x, b.y, b.x), 1);
        ModelDelete(model, a, b);
      }
      ASSERT_EQ(buf.AllLines(), model) << "step " << step;
    }
    if (grouped) buf.FlushUndoGroup(&view);
    // States are indexed by group count; a merged group replaces the last state.
    std::size_t groups = 0;
    for (const auto& rec : buf.m_aUndoBuf) groups += (rec.m_dwFlags & UNDOREC_GROUPSTART) ? 1 : 0;
    states.resize(groups);
    states.push_back(model);
  }

  CPoint cursor;
  for (std::size_t i = states.size() - 1; i-- > 0;) {
    ASSERT_EQ(buf.CanUndo(), 1);
    buf.Undo(cursor);
    ASSERT_EQ(buf.AllLines(), states[i]) << "undo to state " << i;
  }
  EXPECT_EQ(buf.CanUndo(), 0);
  EXPECT_EQ(buf.IsModified(), 0);
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_EQ(buf.CanRedo(), 1);
    buf.Redo(cursor);
    ASSERT_EQ(buf.AllLines(), states[i]) << "redo to state " << i;
  }
  EXPECT_EQ(buf.CanRedo(), 0);
  EXPECT_EQ(buf.AllLines(), model);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 7u, 2026u));

}  // namespace
}  // namespace quill::test
