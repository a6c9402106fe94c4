// QuillView: tab expansion, columns, the mapping between text and client pixels, the
// screen size in lines and columns, font metrics and font variants.

#include <algorithm>

#include "style/text_style_impl.h"
#include "view/column_index.h"
#include "view/quill_view.h"

namespace quill {

namespace {

// The column after a byte at column c: a tab goes to the next tab stop.
inline int Advance(char ch, int column, int tab) {
  return ch == '\t' ? column + tab - column % tab : column + 1;
}

// The column after the character at i of a line, and in nEnd the position after it: a
// byte, or with bUtf8 a UTF-8 character taking its cells.
inline int StepChar(const char* pszChars, int nLength, int i, int column, int tab, bool bUtf8, int& nEnd) {
  const unsigned char b = static_cast<unsigned char>(pszChars[i]);
  if (!bUtf8 || b < 0x80) {
    nEnd = i + 1;
    return Advance(static_cast<char>(b), column, tab);
  }
  char32_t cp;
  nEnd = i + DecodeUtf8(pszChars, nLength, i, cp);
  return column + CodePointCells(cp);
}

// A scan that starts at an indexed position inside a UTF-8 character (whose cells count
// before it) goes on after that character.
inline int AfterCharAt(const char* pszChars, int nLength, int nPos, bool bUtf8) {
  if (!bUtf8 || nPos <= 0 || nPos >= nLength) return nPos;
  const int nStart = Utf8CharStart(pszChars, nLength, nPos);
  if (nStart == nPos) return nPos;
  char32_t cp;
  return nStart + DecodeUtf8(pszChars, nLength, nStart, cp);
}

}  // namespace

// ---- tab expansion ----

int QuillView::CalculateActualOffset(int nLineIndex, int nCharIndex) {
  if (nCharIndex < 1) return 0;
  const int nLength = GetLineLength(nLineIndex);
  const int nCount = std::min(nCharIndex, nLength);
  if (TColumnIndex* pIndex = ColumnIndexFor(nLineIndex, nLength))
    return pIndex->ColumnOf(GetLineChars(nLineIndex), nLength, nCount);
  return AdvanceTextColumns(IsUtf8Text(), GetLineChars(nLineIndex), nLength, 0, nCount, 0,
                            std::max(GetTabSize(), 1));
}

TColumnIndex* QuillView::ColumnIndexFor(int nLineIndex, int nLength) {
  if (nLength < TColumnIndex::kMinLength) return nullptr;
  const int nTabSize = std::max(GetTabSize(), 1);
  const bool bUtf8 = IsUtf8Text();
  for (TColumnIndex& index : m_aColumnIndex)
    if (index.Holds(nLineIndex, nTabSize, bUtf8)) return &index;
  for (TColumnIndex& index : m_aColumnIndex) {
    if (index.Line() == nLineIndex) {
      index.Reset(nLineIndex, nTabSize, bUtf8);
      return &index;
    }
  }
  TColumnIndex& index = m_aColumnIndex[static_cast<std::size_t>(m_nNextColumnIndex)];
  m_nNextColumnIndex = (m_nNextColumnIndex + 1) % static_cast<int>(m_aColumnIndex.size());
  index.Reset(nLineIndex, nTabSize, bUtf8);
  return &index;
}

void QuillView::ForgetColumnIndexes(int nLine, int nChar, bool bLinesMoved) {
  for (TColumnIndex& index : m_aColumnIndex) {
    if (index.Line() < 0 || index.Line() < nLine) continue;
    if (index.Line() == nLine && nChar >= 0)
      index.KeepBefore(nChar);
    else if (index.Line() == nLine || bLinesMoved)
      index.Reset(-1, 0);
  }
}

int QuillView::PositionAtColumn(int nLineIndex, int nColumn) {
  const int nLength = GetLineLength(nLineIndex);
  if (nLength == 0 || nColumn <= 0) return 0;
  const char* pszChars = GetLineChars(nLineIndex);
  const int nTabSize = std::max(GetTabSize(), 1);
  int nPos = 0;
  int nPosColumn = 0;
  const bool bUtf8 = IsUtf8Text();
  if (TColumnIndex* pIndex = ColumnIndexFor(nLineIndex, nLength)) {
    pIndex->Seek(pszChars, nLength, nColumn, nPos, nPosColumn);
    nPos = AfterCharAt(pszChars, nLength, nPos, bUtf8);
  }
  while (nPos < nLength) {
    int nEnd;
    const int nNext = StepChar(pszChars, nLength, nPos, nPosColumn, nTabSize, bUtf8, nEnd);
    if (nNext > nColumn) return nPos;
    nPosColumn = nNext;
    nPos = nEnd;
  }
  return nLength;
}

int QuillView::GetLineActualLength(int nLineIndex) {
  const int nLineCount = GetLineCount();
  if (!m_bActualLengthAllocated || static_cast<int>(m_pnActualLineLength.size()) < nLineCount) {
    m_pnActualLineLength.resize(static_cast<std::size_t>(nLineCount), -1);
    m_bActualLengthAllocated = true;
  }
  if (nLineIndex >= 0 && nLineIndex < static_cast<int>(m_pnActualLineLength.size())) {
    int& cached = m_pnActualLineLength[static_cast<std::size_t>(nLineIndex)];
    if (cached >= 0) return cached;
    cached = CalculateActualOffset(nLineIndex, GetLineLength(nLineIndex));
    return cached;
  }
  return CalculateActualOffset(nLineIndex, GetLineLength(nLineIndex));
}

int QuillView::GetMaxLineLength() {
  if (m_nMaxLineLength == -1) {
    m_nMaxLineLength = 0;
    const int nLineCount = m_pTextBuffer == nullptr ? 0 : GetLineCount();
    for (int i = 0; i < nLineCount; ++i) {
      m_nMaxLineLength = std::max(m_nMaxLineLength, GetLineActualLength(i));
    }
    // A bar that showed only the lines seen so far gets the whole range.
    if (nLineCount > kExactWidthLines && m_nBulkDepth == 0 && HasWindow()) RecalcHorzScrollBar(0);
  }
  return m_nMaxLineLength;
}

int QuillView::ApproxActualOffset(int nLineIndex, int nOffset) {
  if (nOffset == 0) return 0;
  const int nLength = GetLineLength(nLineIndex);
  if (nLength == 0) return 0;
  const char* pszChars = GetLineChars(nLineIndex);
  const int nTabSize = std::max(GetTabSize(), 1);
  int i = 0;
  int nColumn = 0;
  const bool bUtf8 = IsUtf8Text();
  if (TColumnIndex* pIndex = ColumnIndexFor(nLineIndex, nLength)) {
    pIndex->Seek(pszChars, nLength, nOffset, i, nColumn);
    i = AfterCharAt(pszChars, nLength, i, bUtf8);
  }
  while (i < nLength) {
    int nEnd;
    nColumn = StepChar(pszChars, nLength, i, nColumn, nTabSize, bUtf8, nEnd);
    if (nColumn >= nOffset) {
      if (nOffset <= nColumn - nTabSize / 2) return i;
      return bUtf8 ? Utf8NextCharPos(pszChars, nLength, i) : i + 1;
    }
    i = nEnd;
  }
  return nLength;
}

int QuillView::ColumnOfPosition(const char* pszChars, int nOffset) {
  if (pszChars == m_pExpandMemoChars && m_nExpandMemoLine >= 0) {
    if (TColumnIndex* pIndex = ColumnIndexFor(m_nExpandMemoLine, m_nExpandMemoLength))
      return pIndex->ColumnOf(pszChars, m_nExpandMemoLength, std::min(nOffset, m_nExpandMemoLength));
  }
  const int nTabSize = std::max(GetTabSize(), 1);
  int nPos = 0;
  int nColumn = 0;
  if (pszChars == m_pExpandMemoChars && nOffset >= m_nExpandMemoPos) {
    nPos = m_nExpandMemoPos;
    nColumn = m_nExpandMemoColumn;
  }
  if (IsUtf8Text() && pszChars == m_pExpandMemoChars)
    nColumn = AdvanceTextColumns(true, pszChars, m_nExpandMemoLength, nPos, nOffset, nColumn, nTabSize);
  else if (IsUtf8Text())
    nColumn = AdvanceTextColumns(true, pszChars, nOffset, nPos, nOffset, nColumn, nTabSize);
  else
    nColumn = AdvanceColumns(pszChars, nPos, nOffset, nColumn, nTabSize);
  if (pszChars == m_pExpandMemoChars) {
    m_nExpandMemoPos = nOffset;
    m_nExpandMemoColumn = nColumn;
  }
  return nColumn;
}

void QuillView::ExpandChars(const char* pszChars, int nOffset, int nCount, std::string& line) {
  line.clear();
  if (nCount < 1 || pszChars == nullptr) return;
  const int nTabSize = std::max(GetTabSize(), 1);
  const char* pszRun = pszChars + nOffset;
  const int nTabCount = static_cast<int>(std::count(pszRun, pszRun + nCount, '\t'));
  const int nStartColumn = ColumnOfPosition(pszChars, nOffset);
  const bool bUtf8 = IsUtf8Text() && !IsAscii(pszRun, static_cast<std::size_t>(nCount));
  if (nTabCount == 0 && !m_bViewTabs) {
    line.assign(pszRun, static_cast<std::size_t>(nCount));
    if (pszChars == m_pExpandMemoChars) {
      m_nExpandMemoPos = nOffset + nCount;
      m_nExpandMemoColumn =
          bUtf8 ? Utf8AdvanceColumns(pszRun, nCount, 0, nCount, nStartColumn, nTabSize) : nStartColumn + nCount;
    }
    return;
  }
  if (bUtf8 || (IsUtf8Text() && m_bViewTabs)) {
    ExpandUtf8Chars(pszRun, nCount, nStartColumn, nTabSize, line);
    if (pszChars == m_pExpandMemoChars) {
      m_nExpandMemoPos = nOffset + nCount;
      m_nExpandMemoColumn = Utf8AdvanceColumns(pszRun, nCount, 0, nCount, nStartColumn, nTabSize);
    }
    return;
  }
  line.reserve(static_cast<std::size_t>(nCount) +
               static_cast<std::size_t>(nTabSize - 1) * static_cast<std::size_t>(nTabCount) + 1);
  int nColumn = nStartColumn;
  for (int i = 0; i < nCount; ++i) {
    const char ch = pszRun[i];
    if (ch == '\t') {
      int nSpaces = nTabSize - nColumn % nTabSize;
      nColumn += nSpaces;
      if (m_bViewTabs) {
        line.push_back(static_cast<char>(0xBB));
        --nSpaces;
      }
      line.append(static_cast<std::size_t>(nSpaces), ' ');
    } else {
      line.push_back(m_bViewTabs && ch == ' ' ? static_cast<char>(0x95) : ch);
      ++nColumn;
    }
  }
  if (pszChars == m_pExpandMemoChars) {
    m_nExpandMemoPos = nOffset + nCount;
    m_nExpandMemoColumn = nColumn;
  }
}

void QuillView::ExpandUtf8Chars(const char* pszRun, int nCount, int nColumn, int nTabSize, std::string& line) {
  // The marks of shown tabs and spaces are the characters the Windows-1252 bytes 0xBB and
  // 0x95 stand for, in UTF-8.
  static constexpr char kTabMark[] = "\xC2\xBB";
  static constexpr char kSpaceMark[] = "\xE2\x80\xA2";
  line.reserve(static_cast<std::size_t>(nCount) + 16);
  for (int i = 0; i < nCount;) {
    const char ch = pszRun[i];
    if (ch == '\t') {
      int nSpaces = nTabSize - nColumn % nTabSize;
      nColumn += nSpaces;
      if (m_bViewTabs) {
        line.append(kTabMark);
        --nSpaces;
      }
      line.append(static_cast<std::size_t>(nSpaces), ' ');
      ++i;
    } else if (static_cast<unsigned char>(ch) < 0x80) {
      if (m_bViewTabs && ch == ' ')
        line.append(kSpaceMark);
      else
        line.push_back(ch);
      ++nColumn;
      ++i;
    } else {
      char32_t cp;
      const int nLen = DecodeUtf8(pszRun, nCount, i, cp);
      line.append(pszRun + i, static_cast<std::size_t>(nLen));
      nColumn += CodePointCells(cp);
      i += nLen;
    }
  }
}

// ---- pixels ----

CPoint QuillView::ClientToText(const CPoint& point) {
  const int nLineCount = GetLineCount();
  CPoint pt;
  pt.y = point.y / GetLineHeight() + m_nTopLine;
  if (pt.y >= nLineCount) pt.y = nLineCount - 1;
  if (pt.y < 0) pt.y = 0;

  // A point left of the text area (in the margin) counts as the first visible column.
  const int nPixels = std::max(point.x - GetMarginWidth(), 0);
  const int nTarget = std::max(nPixels / GetCharWidth() + m_nOffsetChar, 0);

  pt.x = PositionAtColumn(pt.y, nTarget);
  return pt;
}

CPoint QuillView::TextToClient(const CPoint& point) {
  CPoint pt;
  pt.y = (point.y - m_nTopLine) * GetLineHeight();
  pt.x = (CalculateActualOffset(point.y, point.x) - m_nOffsetChar) * GetCharWidth() +
         GetMarginWidth();
  return pt;
}

void QuillView::AdjustTextPoint(CPoint& point) { point.x += GetCharWidth() / 2; }

void QuillView::InvalidateLines(int nLine1, int nLine2, int) {
  if (!HasWindow()) return;
  if (m_nBulkDepth > 0) {
    const int nFirst = std::max(nLine2 == -1 ? nLine1 : std::min(nLine1, nLine2), 0);
    m_nBulkFirstLine = m_nBulkFirstLine < 0 ? nFirst : std::min(m_nBulkFirstLine, nFirst);
    return;
  }
  CRect rcInvalid = GetClientRect();
  const int nLineHeight = GetLineHeight();
  if (nLine2 == -1) {
    rcInvalid.top = (nLine1 - m_nTopLine) * nLineHeight;
  } else {
    if (nLine2 < nLine1) std::swap(nLine1, nLine2);
    rcInvalid.top = (nLine1 - m_nTopLine) * nLineHeight;
    rcInvalid.bottom = (nLine2 - m_nTopLine + 1) * nLineHeight;
  }
  m_pWnd->InvalidateRect(&rcInvalid, false);
}

int QuillView::GetScreenLines() {
  if (m_nScreenLines == -1) {
    if (!HasWindow()) return 0;
    m_nScreenLines = GetClientRect().Height() / GetLineHeight();
  }
  return m_nScreenLines;
}

int QuillView::GetScreenChars() {
  if (m_nScreenChars == -1) {
    if (!HasWindow()) return 0;
    m_nScreenChars = (GetClientRect().Width() - GetMarginWidth()) / GetCharWidth();
  }
  return m_nScreenChars;
}

// ---- settings of the geometry ----

void QuillView::SetTabSize(int nTabSize) {
  nTabSize = ClampTabSize(nTabSize);
  if (m_nTabSize == nTabSize) return;
  m_nTabSize = nTabSize;
  m_pnActualLineLength.clear();
  m_bActualLengthAllocated = false;
  m_nMaxLineLength = -1;
  m_nSeenMaxLineLength = 0;
  ForgetColumnIndexes(0, -1, true);
  RecalcHorzScrollBar(0);
  InvalidateAll(true);
  UpdateCaret();
}

void QuillView::SetViewTabs(int bViewTabs) {
  if ((bViewTabs != 0) == m_bViewTabs) return;
  m_bViewTabs = bViewTabs != 0;
  InvalidateAll(true);
}

void QuillView::SetSelectionMargin(int bSelMargin) {
  if ((bSelMargin != 0) == m_bSelMargin) return;
  m_bSelMargin = bSelMargin != 0;
  if (HasWindow()) {
    m_nScreenChars = -1;
    InvalidateAll(true);
    RecalcHorzScrollBar(0);
  }
}

void QuillView::SetLineNumbers(int bLineNumbers) {
  if ((bLineNumbers != 0) == m_bLineNumbers) return;
  m_bLineNumbers = bLineNumbers != 0;
  KeepLineNumberDigits();
  if (HasWindow()) {
    m_nScreenChars = -1;
    InvalidateAll(true);
    RecalcHorzScrollBar(0);
    UpdateCaret();
  }
}

bool QuillView::KeepLineNumberDigits() {
  int nDigits = 0;
  if (m_bLineNumbers) {
    nDigits = 1;
    for (int n = GetLineCount(); n >= 10; n /= 10) ++nDigits;
    nDigits = std::max(nDigits, 3);
  }
  if (nDigits == m_nLineNumberDigits) return false;
  m_nLineNumberDigits = nDigits;
  return true;
}

int QuillView::GetMarginWidth() const {
  if (!m_bLineNumbers) return m_bSelMargin ? 20 : 1;
  // The marks' column, then the digits and a cell before the text. The character
  // width is measured on first use, which changes nothing a caller can see.
  const int nCharWidth = const_cast<QuillView*>(this)->GetCharWidth();
  return 20 + (m_nLineNumberDigits + 1) * nCharWidth;
}

// ---- metrics and fonts ----

int QuillView::GetLineHeight() {
  if (m_nLineHeight == -1) CalcLineCharDim();
  // Without a window nothing can be measured: one pixel per line.
  return m_nLineHeight > 0 ? m_nLineHeight : 1;
}

int QuillView::GetCharWidth() {
  if (m_nCharWidth == -1) CalcLineCharDim();
  return m_nCharWidth > 0 ? m_nCharWidth : 1;
}

void QuillView::CalcLineCharDim() {
  if (!HasWindow()) return;
  std::unique_ptr<CDC> dc = m_pWnd->GetDC();
  if (!dc) return;
  const CFont* pOldFont = dc->SelectObject(GetFont(0, 0));
  const CSize extent = dc->GetTextExtent("X");
  dc->SelectObject(pOldFont);
  m_nLineHeight = std::max(extent.cy, 1);
  m_nCharWidth = std::max(extent.cx, 1);
}

const CFont* QuillView::GetFont(int bItalic, int bBold) {
  const std::size_t nIndex = (bItalic ? 2u : 0u) + (bBold ? 1u : 0u);
  if (m_apFonts[nIndex]) return m_apFonts[nIndex].get();
  m_lfBaseFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
  m_lfBaseFont.lfItalic = static_cast<std::uint8_t>(bItalic ? 1 : 0);
  auto font = std::make_unique<CFont>();
  if (!font->CreateFontIndirect(m_lfBaseFont)) {
    return HasWindow() ? m_pWnd->GetFont() : nullptr;
  }
  m_apFonts[nIndex] = std::move(font);
  return m_apFonts[nIndex].get();
}

}  // namespace quill
