// QuillView: keyboard movement of the cursor (characters, words, lines, pages, the whole
// text), select all, and the scroll commands that leave the selection alone.

#include <algorithm>

#include "platform/text_encoding.h"
#include "view/quill_view.h"

namespace quill {

namespace {

// Word characters and white space of the classic locale, whatever locale the process
// runs in: letters, digits and '_' are word characters, bytes 9 to 13 and the space are
// white space, every other byte (including all bytes above 127) is punctuation.
bool IsWordChar(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsBlank(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return c == ' ' || (c >= 9 && c <= 13);
}

constexpr int kBlankClass = 0;
constexpr int kWordClass = 1;
constexpr int kPunctClass = 2;

// The characters of one line for word moves: bytes, or in a UTF-8 document whole
// characters, whose class beyond ASCII is that of their code point.
class LineChars {
 public:
  LineChars(const char* chars, int length, bool utf8) : m_chars(chars), m_length(length), m_utf8(utf8) {}
  int ClassAt(int p) const {
    const char ch = m_chars[p];
    if (m_utf8 && static_cast<unsigned char>(ch) >= 0x80) {
      char32_t cp;
      DecodeUtf8(m_chars, m_length, p, cp);
      return IsWordCodePoint(cp) ? kWordClass : IsBlankCodePoint(cp) ? kBlankClass : kPunctClass;
    }
    return IsWordChar(ch) ? kWordClass : IsBlank(ch) ? kBlankClass : kPunctClass;
  }
  int Prev(int p) const { return m_utf8 ? Utf8PrevCharPos(m_chars, m_length, p) : p - 1; }
  int Next(int p) const { return m_utf8 ? Utf8NextCharPos(m_chars, m_length, p) : p + 1; }

 private:
  const char* m_chars;
  int m_length;
  bool m_utf8;
};

}  // namespace

void QuillView::FinishMove(int bSelect, bool bKeepIdealColumn) {
  if (!bKeepIdealColumn) m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
  EnsureVisible(m_ptCursorPos);
  UpdateCaret();
  if (!bSelect) m_ptAnchor = m_ptCursorPos;
  SetSelection(m_ptAnchor, m_ptCursorPos);
}

void QuillView::MoveLeft(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) {
    m_ptCursorPos = m_ptDrawSelStart;
  } else if (m_ptCursorPos.x > 0) {
    m_ptCursorPos.x = PrevCharPos(m_ptCursorPos.y, m_ptCursorPos.x);
  } else if (m_ptCursorPos.y > 0) {
    --m_ptCursorPos.y;
    m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
  }
  FinishMove(bSelect, false);
}

void QuillView::MoveRight(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) {
    m_ptCursorPos = m_ptDrawSelEnd;
  } else if (m_ptCursorPos.x < GetLineLength(m_ptCursorPos.y)) {
    m_ptCursorPos.x = NextCharPos(m_ptCursorPos.y, m_ptCursorPos.x);
  } else if (m_ptCursorPos.y < GetLineCount() - 1) {
    ++m_ptCursorPos.y;
    m_ptCursorPos.x = 0;
  }
  FinishMove(bSelect, false);
}

void QuillView::MoveWordLeft(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) {
    MoveLeft(bSelect);
    return;
  }
  CPoint pos = m_ptCursorPos;
  if (pos.x == 0) {
    if (pos.y == 0) return;
    --pos.y;
    pos.x = GetLineLength(pos.y);
  }
  const LineChars line(GetLineChars(pos.y), GetLineLength(pos.y), IsUtf8Text());
  int p = pos.x;
  while (p > 0 && line.ClassAt(line.Prev(p)) == kBlankClass) p = line.Prev(p);
  if (p > 0) {
    p = line.Prev(p);
    const int nClass = line.ClassAt(p);
    while (p > 0 && line.ClassAt(line.Prev(p)) == nClass) p = line.Prev(p);
  }
  m_ptCursorPos = CPoint(p, pos.y);
  FinishMove(bSelect, false);
}

void QuillView::MoveWordRight(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) {
    MoveRight(bSelect);
    return;
  }
  CPoint pos = m_ptCursorPos;
  if (pos.x == GetLineLength(pos.y)) {
    if (pos.y == GetLineCount() - 1) return;
    ++pos.y;
    pos.x = 0;
    if (GetLineLength(pos.y) == 0) {
      m_ptCursorPos = pos;
      MoveRight(bSelect);
      return;
    }
  }
  const int length = GetLineLength(pos.y);
  const LineChars line(GetLineChars(pos.y), length, IsUtf8Text());
  int p = pos.x;
  const int nClass = p < length && line.ClassAt(p) == kWordClass ? kWordClass : kPunctClass;
  while (p < length && line.ClassAt(p) == nClass) p = line.Next(p);
  while (p < length && line.ClassAt(p) == kBlankClass) p = line.Next(p);
  m_ptCursorPos = CPoint(p, pos.y);
  FinishMove(bSelect, false);
}

CPoint QuillView::WordToLeft(CPoint pt) {
  const LineChars line(GetLineChars(pt.y), GetLineLength(pt.y), IsUtf8Text());
  while (pt.x > 0 && line.ClassAt(line.Prev(pt.x)) == kWordClass) pt.x = line.Prev(pt.x);
  return pt;
}

CPoint QuillView::WordToRight(CPoint pt) {
  const int length = GetLineLength(pt.y);
  const LineChars line(GetLineChars(pt.y), length, IsUtf8Text());
  while (pt.x < length && line.ClassAt(pt.x) == kWordClass) pt.x = line.Next(pt.x);
  return pt;
}

void QuillView::MoveUp(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) m_ptCursorPos = m_ptDrawSelStart;
  if (m_ptCursorPos.y > 0) {
    if (m_nIdealCharPos == -1) {
      m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    }
    --m_ptCursorPos.y;
    m_ptCursorPos.x = std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos),
                               GetLineLength(m_ptCursorPos.y));
  }
  FinishMove(bSelect, true);
}

void QuillView::MoveDown(int bSelect) {
  PrepareSelBounds();
  if (m_ptDrawSelStart != m_ptDrawSelEnd && !bSelect) m_ptCursorPos = m_ptDrawSelEnd;
  if (m_ptCursorPos.y < GetLineCount() - 1) {
    if (m_nIdealCharPos == -1) {
      m_nIdealCharPos = CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x);
    }
    ++m_ptCursorPos.y;
    m_ptCursorPos.x = std::min(ApproxActualOffset(m_ptCursorPos.y, m_nIdealCharPos),
                               GetLineLength(m_ptCursorPos.y));
  }
  FinishMove(bSelect, true);
}

void QuillView::MoveHome(int bSelect) {
  const int length = GetLineLength(m_ptCursorPos.y);
  const char* chars = GetLineChars(m_ptCursorPos.y);
  int blanks = 0;
  while (blanks < length && IsBlank(chars[blanks])) ++blanks;
  m_ptCursorPos.x = (blanks < length && m_ptCursorPos.x != blanks) ? blanks : 0;
  FinishMove(bSelect, false);
}

void QuillView::MoveEnd(int bSelect) {
  m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
  FinishMove(bSelect, false);
}

void QuillView::MovePgUp(int bSelect) {
  const int nScreenLines = GetScreenLines();
  const int nNewTop = std::max(0, m_nTopLine - nScreenLines + 1);
  if (nNewTop != m_nTopLine) {
    ScrollToLine(nNewTop);
    UpdateSiblingScrollPos(1);
  }
  m_ptCursorPos.y = std::max(0, m_ptCursorPos.y - nScreenLines + 1);
  m_ptCursorPos.x = std::min(m_ptCursorPos.x, GetLineLength(m_ptCursorPos.y));
  FinishMove(bSelect, false);
}

void QuillView::MovePgDn(int bSelect) {
  const int nScreenLines = GetScreenLines();
  const int nLastLine = GetLineCount() - 1;
  const int nNewTop = std::min(m_nTopLine + nScreenLines - 1, nLastLine);
  if (nNewTop != m_nTopLine) {
    ScrollToLine(nNewTop);
    UpdateSiblingScrollPos(1);
  }
  m_ptCursorPos.y = std::min(m_ptCursorPos.y + nScreenLines - 1, nLastLine);
  m_ptCursorPos.x = std::min(m_ptCursorPos.x, GetLineLength(m_ptCursorPos.y));
  FinishMove(bSelect, false);
}

void QuillView::MoveCtrlHome(int bSelect) {
  m_ptCursorPos = CPoint(0, 0);
  FinishMove(bSelect, false);
}

void QuillView::MoveCtrlEnd(int bSelect) {
  m_ptCursorPos.y = GetLineCount() - 1;
  m_ptCursorPos.x = GetLineLength(m_ptCursorPos.y);
  FinishMove(bSelect, false);
}

void QuillView::SelectAll() {
  const int nLastLine = GetLineCount() - 1;
  m_ptCursorPos = CPoint(GetLineLength(nLastLine), nLastLine);
  SetSelection(CPoint(0, 0), m_ptCursorPos);
  UpdateCaret();
}

void QuillView::OnEditDeselectAll() {
  SetSelection(m_ptCursorPos, m_ptCursorPos);
  UpdateCaret();
}

void QuillView::ScrollUp(int nLines) {
  ScrollToLine(std::max(0, m_nTopLine + nLines));
  UpdateSiblingScrollPos(1);
}

void QuillView::ScrollDown(int nLines) {
  if (m_nTopLine + nLines < GetLineCount() - 1) {
    ScrollToLine(m_nTopLine + nLines);
    UpdateSiblingScrollPos(1);
  }
}

void QuillView::ScrollOneLineUp() {
  if (m_nTopLine > 0) {
    ScrollToLine(m_nTopLine - 1);
    UpdateSiblingScrollPos(1);
  }
  const int nScreenLines = GetScreenLines();
  if (nScreenLines > 0 && m_nTopLine <= m_ptCursorPos.y - nScreenLines) {
    m_ptCursorPos.y = m_nTopLine + nScreenLines - 1;
    m_ptCursorPos.x = std::min(m_ptCursorPos.x, GetLineLength(m_ptCursorPos.y));
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
  }
}

void QuillView::ScrollOneLineDown() {
  if (m_nTopLine + 1 < GetLineCount() - 1) {
    ScrollToLine(m_nTopLine + 1);
    UpdateSiblingScrollPos(1);
  }
  if (m_ptCursorPos.y < m_nTopLine) {
    m_ptCursorPos.y = m_nTopLine;
    m_ptCursorPos.x = std::min(m_ptCursorPos.x, GetLineLength(m_ptCursorPos.y));
    EnsureVisible(m_ptCursorPos);
    UpdateCaret();
  }
}

void QuillView::ScrollLeft() {
  if (m_nOffsetChar > 0) {
    ScrollToChar(m_nOffsetChar - 1);
    UpdateCaret();
  }
}

void QuillView::ScrollRight() {
  if (m_nOffsetChar < GetMaxLineLength() - 1) {
    ScrollToChar(m_nOffsetChar + 1);
    UpdateCaret();
  }
}

}  // namespace quill
