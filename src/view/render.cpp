// QuillView: painting. Each row is drawn into a one-line bitmap (margin cell, then the
// text cell with its coloured runs and the selection) and reaches the window in one copy.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "buffer/buffer_defs.h"
#include "platform/text_encoding.h"
#include "resources/glyphs.h"
#include "style/document_style.h"
#include "view/quill_view.h"

namespace quill {

namespace {

// Stores the cookie at the end of a line when it extends the known prefix of the cache
// (or replaces a known entry); the cache grows only as far as cookies are known.
void RememberCookie(std::vector<std::uint32_t>& aCookies, int& nKnown, int nLineIndex,
                    unsigned long dwCookie) {
  if (nLineIndex < 0 || nLineIndex > nKnown) return;
  if (static_cast<int>(aCookies.size()) <= nLineIndex) aCookies.resize(static_cast<std::size_t>(nLineIndex) + 1);
  aCookies[static_cast<std::size_t>(nLineIndex)] = static_cast<std::uint32_t>(dwCookie);
  if (nLineIndex == nKnown) ++nKnown;
}

constexpr unsigned long kNoColor = static_cast<unsigned long>(-1);
// Runs longer than this are expanded only where they meet the clip.
constexpr int kLongRun = 1024;
// Characters parsed past the window's right edge before a long line is cut at a blank.
constexpr int kParseSlack = 256;

// The pixel width of a number of columns, held within int: columns this far from the
// window (huge tab sizes times many tabs) are off it whatever their exact place.
int ColumnsToPixels(std::int64_t nColumns, int nCharWidth) {
  constexpr std::int64_t kFar = std::int64_t{1} << 30;
  return static_cast<int>(std::clamp(nColumns * nCharWidth, -kFar, kFar));
}

// The bytes of the UTF-8 text that the characters in its first nCells cells take.
std::size_t Utf8PrefixForCells(const std::string& text, int nCells) {
  const int nLength = static_cast<int>(text.size());
  int nColumn = 0;
  int i = 0;
  while (i < nLength && nColumn <= nCells) {
    char32_t cp;
    const int nLen = DecodeUtf8(text.data(), nLength, i, cp);
    nColumn += CodePointCells(cp);
    i += nLen;
  }
  return static_cast<std::size_t>(i);
}

void FillClipped(CDC* pdc, CRect rect, const CRect& clip, COLORREF color) {
  CRect part;
  if (part.IntersectRect(rect, clip)) pdc->FillSolidRect(part, color);
}

// Outputs expanded text from x. A NUL byte takes one cell like any other byte and shows
// as a '0' in swapped text and background colours: a mark that no character of the text
// can be mistaken for, in every colour scheme and inside the selection too.
void TextOutMarkingNul(CDC* pdc, int x, int y, const CRect& rcClip, std::string_view text, int nCharWidth) {
  while (!text.empty()) {
    const std::size_t nNul = std::min(text.find('\0'), text.size());
    if (nNul > 0) pdc->ExtTextOut(x, y, ETO_CLIPPED, &rcClip, text.substr(0, nNul));
    const std::size_t nMarks = std::min(text.find_first_not_of('\0', nNul), text.size()) - nNul;
    if (nMarks > 0) {
      const int nMarksX = x + static_cast<int>(nNul) * nCharWidth;
      const COLORREF crText = pdc->SetTextColor(pdc->GetBkColor());
      const COLORREF crBk = pdc->SetBkColor(crText);
      pdc->ExtTextOut(nMarksX, y, ETO_CLIPPED, &rcClip, std::string(nMarks, '0'));
      pdc->SetTextColor(crText);
      pdc->SetBkColor(crBk);
    }
    x += (pdc->TextCells(text.substr(0, nNul)) + static_cast<int>(nMarks)) * nCharWidth;
    text.remove_prefix(nNul + nMarks);
  }
}

}  // namespace

const std::array<std::uint32_t, QuillView::kMarginFlagCount>& QuillView::MarginFlags() {
  static const std::array<std::uint32_t, kMarginFlagCount> flags = {
      LINEFLAG_MARK_A,     LINEFLAG_MARK_B,     LINEFLAG_MARK_C,     LINEFLAG_BOOKMARK_1,
      LINEFLAG_BOOKMARK_2, LINEFLAG_BOOKMARK_3, LINEFLAG_BOOKMARK_4, LINEFLAG_BOOKMARK_5,
      LINEFLAG_BOOKMARK_6, LINEFLAG_BOOKMARK_7, LINEFLAG_BOOKMARK_8, LINEFLAG_BOOKMARK_9,
      LINEFLAG_BOOKMARK_0, LINEFLAG_BOOKMARK,   LINEFLAG_MARK_D,
  };
  return flags;
}

void QuillView::OnDraw(CDC* pdc) {
  if (pdc == nullptr) return;
  const CRect rcClient = GetClientRect();
  const int nLineCount = GetLineCount();
  const int nLineHeight = GetLineHeight();
  PrepareSelBounds();
  if (WidthsAreLazy() && m_nBulkDepth == 0) {
    const int nSeen = m_nSeenMaxLineLength;
    SeeWindowLineWidths();
    if (m_nSeenMaxLineLength > nSeen) RecalcHorzScrollBar(0);
  }

  std::unique_ptr<CDC> cacheDC = pdc->CreateCompatibleDC();
  if (!cacheDC) return;
  // One row of the client: made again when the width or the line height has changed.
  if (m_pCacheBitmap && m_pCacheBitmap->GetSize() != CSize(rcClient.Width(), nLineHeight))
    m_pCacheBitmap.reset();
  if (!m_pCacheBitmap) m_pCacheBitmap = pdc->CreateCompatibleBitmap(rcClient.Width(), nLineHeight);
  CBitmap* pOldBitmap = cacheDC->SelectObject(m_pCacheBitmap.get());

  const int nMarginWidth = GetMarginWidth();
  const CRect rcCacheMargin(0, 0, nMarginWidth, nLineHeight);
  const CRect rcCacheLine(nMarginWidth, 0, rcClient.Width(), nLineHeight);

  // Rows outside the device's clip box (the area being repainted) are skipped.
  const CRect rcClip = pdc->GetClipBox();
  CRect rcLine(rcClient.left, rcClient.top, rcClient.right, rcClient.top + nLineHeight);
  int nCurrentLine = m_nTopLine;
  while (rcLine.top < rcClient.bottom) {
    if (rcLine.bottom <= rcClip.top || rcLine.top >= rcClip.bottom) {
      ++nCurrentLine;
      rcLine.OffsetRect(0, nLineHeight);
      continue;
    }
    const int nLine = nCurrentLine < nLineCount ? nCurrentLine : -1;
    DrawMargin(cacheDC.get(), rcCacheMargin, nLine);
    DrawSingleLine(cacheDC.get(), rcCacheLine, nLine);
    pdc->BitBlt(rcLine.left, rcLine.top, rcLine.Width(), rcLine.Height(), cacheDC.get(), 0, 0);
    ++nCurrentLine;
    rcLine.OffsetRect(0, nLineHeight);
  }

  cacheDC->SelectObject(pOldBitmap);
}

void QuillView::DrawSingleLine(CDC* pdc, const CRect& rc, int nLineIndex) {
  pdc->SetTextEncoding(GetTextEncoding());
  if (nLineIndex == -1) {
    pdc->FillSolidRect(rc, GetColor(COLORINDEX_BKGND));
    return;
  }

  unsigned long crBkgnd = kNoColor;
  unsigned long crText = kNoColor;
  int bDrawWhitespace = 0;
  GetLineColors(nLineIndex, crBkgnd, crText, bDrawWhitespace);
  if (crBkgnd == kNoColor) crBkgnd = GetColor(COLORINDEX_BKGND);
  const COLORREF crLineBkgnd = static_cast<COLORREF>(crBkgnd);
  const COLORREF crRest = bDrawWhitespace ? crLineBkgnd : GetColor(COLORINDEX_BKGND);
  const bool bShowSelection = m_bFocused || m_bShowInactiveSelection;
  const int nCharWidth = GetCharWidth();

  const int nLength = GetLineLength(nLineIndex);
  if (nLength == 0) {
    CRect rect = rc;
    if (bShowSelection && IsInsideSelBlock(CPoint(0, nLineIndex))) {
      pdc->FillSolidRect(CRect(rect.left, rect.top, rect.left + nCharWidth, rect.bottom),
                         GetColor(COLORINDEX_SELBKGND));
      rect.left += nCharWidth;
    }
    if (!rect.IsRectEmpty()) pdc->FillSolidRect(rect, crRest);
    return;
  }

  const char* pszChars = GetLineChars(nLineIndex);
  int nBlocks = 0;
  int nDrawLength = nLength;
  const TEXTBLOCK* pBuf = RunsToDraw(nLineIndex, pszChars, nLength, rc.Width(), nBlocks, nDrawLength);

  // Text left of the window is drawn too and clipped away.
  CPoint origin(rc.left - ColumnsToPixels(m_nOffsetChar, nCharWidth), rc.top);
  pdc->SetBkColor(crLineBkgnd);
  if (crText != kNoColor) pdc->SetTextColor(static_cast<COLORREF>(crText));

  m_pExpandMemoChars = pszChars;
  m_nExpandMemoPos = 0;
  m_nExpandMemoColumn = 0;
  m_nExpandMemoLine = nLineIndex;
  m_nExpandMemoLength = nLength;

  auto drawPlain = [&](int nCount) {
    if (crText == kNoColor) pdc->SetTextColor(GetColor(COLORINDEX_NORMALTEXT));
    pdc->SelectObject(GetFont(GetItalic(COLORINDEX_NORMALTEXT), GetBold(COLORINDEX_NORMALTEXT)));
    const COLORREF crOld = pdc->SetBkColor(GetColor(COLORINDEX_BKGND));
    DrawLineHelper(pdc, origin, rc, COLORINDEX_NORMALTEXT, pszChars, 0, nCount,
                   CPoint(0, nLineIndex));
    pdc->SetBkColor(crOld);
  };

  if (nBlocks <= 0) {
    drawPlain(nDrawLength);
  } else {
    // Runs from a derived parser are kept inside the line and in order.
    // In UTF-8 text a run starts where a character does.
    const bool bUtf8 = IsUtf8Text();
    auto runStart = [&](int i, int nFloor) {
      const int nStart = std::clamp(pBuf[i].charPos, nFloor, nDrawLength);
      return bUtf8 ? std::max(Utf8CharStart(pszChars, nLength, nStart), nFloor) : nStart;
    };
    int i = 0;
    int nPos = 0;
    bool bFromRun = false;
    if (nLength >= TColumnIndex::kMinLength) {
      // Runs that end left of the window are skipped (runs come in order; runs resumed
      // mid-line start left of the window).
      const int nVisible = PositionAtColumn(nLineIndex, m_nOffsetChar);
      const TEXTBLOCK* pAfter = std::upper_bound(
          pBuf, pBuf + nBlocks, nVisible, [](int nAt, const TEXTBLOCK& block) { return nAt < block.charPos; });
      i = std::max(static_cast<int>(pAfter - pBuf) - 1, 0);
      if (i > 0 || pBuf[0].charPos <= nVisible) {
        nPos = runStart(i, 0);
        origin.x = rc.left + ColumnsToPixels(std::int64_t{ColumnOfPosition(pszChars, nPos)} - m_nOffsetChar,
                                             nCharWidth);
        bFromRun = true;
      }
    }
    if (!bFromRun) {
      nPos = runStart(0, 0);
      if (nPos > 0) drawPlain(nPos);
    }
    // Runs right of the window are not drawn either: the text goes on past it.
    for (; i < nBlocks && origin.x < rc.right; ++i) {
      const int nStart = std::max(runStart(i, 0), nPos);
      const int nEnd = i + 1 < nBlocks ? std::max(runStart(i + 1, 0), nStart) : nDrawLength;
      const TEXTBLOCK& block = pBuf[i];
      if (crText == kNoColor) pdc->SetTextColor(GetColor(block.fgColorIndex));
      pdc->SelectObject(GetFont(GetItalic(block.fgColorIndex), GetBold(block.fgColorIndex)));
      const COLORREF crOld = pdc->SetBkColor(GetColor(block.bgColorIndex));
      DrawLineHelper(pdc, origin, rc, block.fgColorIndex, pszChars, nStart, nEnd - nStart,
                     CPoint(nStart, nLineIndex));
      pdc->SetBkColor(crOld);
      nPos = nEnd;
    }
  }
  m_pExpandMemoChars = nullptr;
  m_nExpandMemoLine = -1;

  FillPastText(pdc, rc, origin.x, CPoint(nLength, nLineIndex), crRest);
}

TEXTBLOCK* QuillView::RunsToDraw(int nLineIndex, const char* pszChars, int nLength, int nWidth,
                                 int& nBlocks, int& nDrawLength) {
  const unsigned long dwCookie = GetParseCookie(nLineIndex - 1);
  nBlocks = 0;
  TEXTBLOCK* pBuf = nullptr;
  // Characters whose runs are known: the whole line, or for a long line the part up to a
  // blank past the window's right edge (the text reaches beyond the window there).
  nDrawLength = nLength;
  if (nLength >= TColumnIndex::kMinLength) {
    pBuf = LongLineRuns(nLineIndex, pszChars, nLength, dwCookie, nWidth, nBlocks, nDrawLength);
  } else {
    try {
      const std::size_t nRoom = static_cast<std::size_t>(nLength) * 3 + 3;
      if (m_aRunBuffer.size() < nRoom) m_aRunBuffer.resize(nRoom);
      pBuf = m_aRunBuffer.data();
    } catch (const std::bad_alloc&) {
      pBuf = nullptr;  // too long to colour: the line is drawn as plain text
    }
    const unsigned long dwEndCookie =
        ParseLine(pszChars, nLength, dwCookie, nLineIndex, pBuf, nBlocks);
    if (m_bParseCookiesAllocated)
      RememberCookie(m_pdwParseCookies, m_nParseCookiesKnown, nLineIndex, dwEndCookie);
  }
  if (pBuf == nullptr) nBlocks = 0;
  return pBuf;
}

// Right of the text: the line break (one selected cell when it is selected), then the
// line's background.
void QuillView::FillPastText(CDC* pdc, const CRect& rc, int nLeft, CPoint ptBreak, COLORREF crRest) {
  if (nLeft >= rc.right) return;
  const int nCharWidth = GetCharWidth();
  if ((m_bFocused || m_bShowInactiveSelection) && IsInsideSelBlock(ptBreak)) {
    FillClipped(pdc, CRect(nLeft, rc.top, nLeft + nCharWidth, rc.bottom), rc,
                GetColor(COLORINDEX_SELBKGND));
    nLeft += nCharWidth;
  }
  FillClipped(pdc, CRect(std::max(nLeft, rc.left), rc.top, rc.right, rc.bottom), rc, crRest);
}

void QuillView::DrawLineHelper(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip, int,
                               const char* pszChars, int nOffset, int nCount, CPoint ptTextPos) {
  if (nCount < 1) return;
  if (!m_bFocused && !m_bShowInactiveSelection) {
    DrawLineHelperImpl(pdc, ptOrigin, rcClip, pszChars, nOffset, nCount);
    return;
  }

  // Where a selection bound falls in the run: before it, after it, or inside.
  auto boundInRun = [&](CPoint ptBound) {
    if (ptBound.y > ptTextPos.y) return nCount;
    if (ptBound.y < ptTextPos.y) return 0;
    return std::clamp(ptBound.x - ptTextPos.x, 0, nCount);
  };
  const int nSelBegin = boundInRun(m_ptDrawSelStart);
  const int nSelEnd = std::max(boundInRun(m_ptDrawSelEnd), nSelBegin);

  DrawLineHelperImpl(pdc, ptOrigin, rcClip, pszChars, nOffset, nSelBegin);
  if (nSelEnd > nSelBegin) {
    const COLORREF crOldBk = pdc->SetBkColor(GetColor(COLORINDEX_SELBKGND));
    const COLORREF crOldText = pdc->SetTextColor(GetColor(COLORINDEX_SELTEXT));
    DrawLineHelperImpl(pdc, ptOrigin, rcClip, pszChars, nOffset + nSelBegin, nSelEnd - nSelBegin);
    pdc->SetBkColor(crOldBk);
    pdc->SetTextColor(crOldText);
  }
  DrawLineHelperImpl(pdc, ptOrigin, rcClip, pszChars, nOffset + nSelEnd, nCount - nSelEnd);
}

void QuillView::DrawLineHelperImpl(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip,
                                   const char* pszChars, int nOffset, int nCount) {
  if (nCount < 1) return;
  const int nCharWidth = GetCharWidth();
  // A run wholly outside the clip only moves the origin.
  const int nStartColumn = ColumnOfPosition(pszChars, nOffset);
  const int nEndColumn = ColumnOfPosition(pszChars, nOffset + nCount);
  const int nWidth = ColumnsToPixels(std::int64_t{nEndColumn} - nStartColumn, nCharWidth);
  if (ptOrigin.x >= rcClip.right || ptOrigin.x + nWidth <= rcClip.left) {
    ptOrigin.x += nWidth;
    return;
  }
  int nFrom = nOffset;
  int nTo = nOffset + nCount;
  int nLeft = ptOrigin.x;
  if (nCount > kLongRun && pszChars == m_pExpandMemoChars && m_nExpandMemoLine >= 0) {
    // Only the part of a long run inside the clip is expanded (a tab's width to spare on
    // either side).
    const int nTabSize = std::max(GetTabSize(), 1);
    const int nClipLeft = std::max(rcClip.left - ptOrigin.x, 0) / nCharWidth;
    const int nClipRight = (rcClip.right - ptOrigin.x) / nCharWidth + 1;
    const auto column = [](std::int64_t n) { return static_cast<int>(std::clamp<std::int64_t>(n, 0, INT_MAX)); };
    nFrom = std::clamp(PositionAtColumn(m_nExpandMemoLine, column(std::int64_t{nStartColumn} + nClipLeft - nTabSize)),
                       nFrom, nTo);
    const int nLast = PositionAtColumn(m_nExpandMemoLine, column(std::int64_t{nStartColumn} + nClipRight + nTabSize));
    nTo = std::clamp(IsUtf8Text() ? Utf8NextCharPos(pszChars, m_nExpandMemoLength, nLast) : nLast + 1, nFrom, nTo);
    nLeft += ColumnsToPixels(std::int64_t{ColumnOfPosition(pszChars, nFrom)} - nStartColumn, nCharWidth);
  } else if (pszChars == m_pExpandMemoChars) {
    // Rewind the memo to the run's start for the expansion.
    m_nExpandMemoPos = nOffset;
    m_nExpandMemoColumn = nStartColumn;
  }
  ExpandChars(pszChars, nFrom, nTo - nFrom, m_strExpand);
  const int nRoom = rcClip.right - nLeft;
  if (nRoom > 0) {
    std::size_t nChars =
        std::min(m_strExpand.size(), static_cast<std::size_t>(nRoom / nCharWidth + 1));
    if (IsUtf8Text() && !IsAscii(m_strExpand.data(), m_strExpand.size()))
      nChars = Utf8PrefixForCells(m_strExpand, nRoom / nCharWidth + 1);
    TextOutMarkingNul(pdc, nLeft, ptOrigin.y, rcClip, std::string_view(m_strExpand.data(), nChars), nCharWidth);
  }
  ptOrigin.x += nWidth;
}

void QuillView::DrawMargin(CDC* pdc, const CRect& rect, int nLineIndex) {
  if (!m_bSelMargin && !m_bLineNumbers) {
    pdc->FillSolidRect(rect, GetColor(COLORINDEX_WHITESPACE));
    return;
  }
  pdc->FillSolidRect(rect, GetColor(COLORINDEX_SELMARGIN));
  if (nLineIndex < 0) return;
  if (m_bLineNumbers) {
    // Right-aligned, a cell before the text; the marks' column stays free.
    const std::string number = std::to_string(nLineIndex + 1);
    const int nCharWidth = GetCharWidth();
    const int x = rect.right - nCharWidth - static_cast<int>(number.size()) * nCharWidth;
    const CFont* pOldFont = pdc->SelectObject(GetFont(0, 0));
    const COLORREF crText = pdc->SetTextColor(GetColor(COLORINDEX_NORMALTEXT));
    const COLORREF crBk = pdc->SetBkColor(GetColor(COLORINDEX_SELMARGIN));
    pdc->ExtTextOut(x, rect.top, ETO_CLIPPED, &rect, number);
    pdc->SetBkColor(crBk);
    pdc->SetTextColor(crText);
    pdc->SelectObject(pOldFont);
  }

  const std::uint32_t dwFlags = GetLineFlags(nLineIndex);
  const auto& table = MarginFlags();
  for (int i = 0; i < kMarginFlagCount; ++i) {
    if ((dwFlags & table[static_cast<std::size_t>(i)]) == 0) continue;
    if (!m_pIcons.IsCreated()) {
      m_pIcons.Create(MarginGlyphStrip(), MARGIN_GLYPH_SIZE, MARGIN_GLYPH_TRANSPARENT);
    }
    const CPoint pt(rect.left + 2, rect.top + (rect.Height() - MARGIN_GLYPH_SIZE) / 2);
    m_pIcons.Draw(pdc, i, pt, ILD_TRANSPARENT);
    break;
  }
}

void QuillView::FreeDeleter::operator()(void* p) const { std::free(p); }

// The parser decides the colour of a character from the text up to it, and an identifier
// ends at a blank: the runs of the text before a blank are those of the whole line. So a
// long line is parsed up to the first blank some way past the window's right edge, and
// the runs are kept for repaints until the next edit.
int QuillView::LongLineParseEnd(int nLineIndex, const char* pszChars, int nLength, int nWidth) {
  const int nRightColumn = m_nOffsetChar + nWidth / GetCharWidth() + 1;
  int nPos = PositionAtColumn(nLineIndex, nRightColumn) + kParseSlack;
  if (nPos >= nLength) return nLength;
  // Runs kept from an earlier parse that reached this far serve as they are.
  if (m_nLongRunsLine == nLineIndex && m_nLongRunsEnd >= nPos) return nPos;
  if (m_pStyle != nullptr && (m_pStyle->IsLegalChar(' ') || m_pStyle->IsLegalChar('\t'))) return nLength;
  while (nPos < nLength && pszChars[nPos] != ' ' && pszChars[nPos] != '\t') ++nPos;
  return nPos;
}

QuillView::TEXTBLOCK* QuillView::LongLineRuns(int nLineIndex, const char* pszChars, int nLength,
                                              unsigned long dwCookie, int nWidth, int& nBlocks,
                                              int& nParsed) {
  const int nNeeded = LongLineParseEnd(nLineIndex, pszChars, nLength, nWidth);
  const int nVisible = std::min(PositionAtColumn(nLineIndex, m_nOffsetChar), nNeeded);
  if (m_nLongRunsLine == nLineIndex && m_dwLongRunsCookie == dwCookie && m_nLongRunsEnd >= nNeeded &&
      m_nLongRunsStart <= nVisible) {
    nBlocks = m_nLongRunsCount;
    nParsed = m_nLongRunsEnd;
    return m_pLongRuns.get();
  }
  m_nLongRunsLine = -1;
  // The parser writes only the runs it finds: the room beyond them is never touched.
  const std::size_t nRoom = static_cast<std::size_t>(nNeeded) * 3 + 3;
  if (m_nLongRunsRoom < nRoom) {
    void* p = std::realloc(m_pLongRuns.get(), nRoom * sizeof(TEXTBLOCK));
    if (p == nullptr) {
      nParsed = nLength;
      return nullptr;  // drawn as plain text
    }
    (void)m_pLongRuns.release();
    m_pLongRuns.reset(static_cast<TEXTBLOCK*>(p));
    m_nLongRunsRoom = nRoom;
  }
  nBlocks = 0;
  // Only the runs from the window's left edge on are needed: the parse may resume there.
  const unsigned long dwEndCookie = ParseLinePart(pszChars, nLength, dwCookie, nLineIndex, m_parseStates,
                                                  nVisible, nNeeded, m_pLongRuns.get(), nBlocks);
  if (nNeeded == nLength && m_bParseCookiesAllocated)
    RememberCookie(m_pdwParseCookies, m_nParseCookiesKnown, nLineIndex, dwEndCookie);
  m_nLongRunsLine = nLineIndex;
  m_dwLongRunsCookie = dwCookie;
  m_nLongRunsEnd = nNeeded;
  m_nLongRunsCount = nBlocks;
  m_nLongRunsStart = nBlocks > 0 ? std::min(m_pLongRuns.get()[0].charPos, nVisible) : 0;
  nParsed = nNeeded;
  return m_pLongRuns.get();
}

unsigned long QuillView::GetParseCookie(int nLineIndex) {
  const int nLineCount = GetLineCount();
  m_bParseCookiesAllocated = true;
  if (nLineIndex < 0 || nLineIndex >= nLineCount) return 0;
  // The cookies are kept only as far as they are known.
  if (static_cast<int>(m_pdwParseCookies.size()) <= nLineIndex)
    m_pdwParseCookies.resize(static_cast<std::size_t>(nLineIndex) + 1);
  // Each line from the last known cookie down to the requested one is parsed once,
  // without runs.
  for (int nLine = m_nParseCookiesKnown; nLine <= nLineIndex; ++nLine) {
    const unsigned long dwPrev = nLine > 0 ? m_pdwParseCookies[static_cast<std::size_t>(nLine - 1)] : 0;
    int nBlocks = 0;
    const int nLength = GetLineLength(nLine);
    const char* pszChars = GetLineChars(nLine);
    m_pdwParseCookies[static_cast<std::size_t>(nLine)] = static_cast<std::uint32_t>(
        nLength >= TColumnIndex::kMinLength
            ? ParseLinePart(pszChars, nLength, dwPrev, nLine, m_parseStates, nLength, nLength, nullptr, nBlocks)
            : ParseLine(pszChars, nLength, dwPrev, nLine, nullptr, nBlocks));
    m_nParseCookiesKnown = nLine + 1;
  }
  return m_pdwParseCookies[static_cast<std::size_t>(nLineIndex)];
}

void QuillView::GetLineColors(int nLineIndex, unsigned long& crBkgnd, unsigned long& crText,
                              int& bDrawWhitespace) {
  const std::uint32_t dwFlags = GetLineFlags(nLineIndex);
  bDrawWhitespace = 1;
  crText = RGB(255, 255, 255);
  if (dwFlags & LINEFLAG_MARK_A) {
    crBkgnd = RGB(0, 128, 0);
  } else if (dwFlags & LINEFLAG_MARK_B) {
    crBkgnd = RGB(255, 0, 0);
  } else if (dwFlags & LINEFLAG_MARK_D) {
    crBkgnd = RGB(128, 128, 0);
  } else {
    crBkgnd = kNoColor;
    crText = kNoColor;
    bDrawWhitespace = 0;
  }
}

int QuillView::GetBold(int) { return 0; }

int QuillView::GetItalic(int) { return 0; }

// ---- selection bounds ----

void QuillView::PrepareSelBounds() {
  const bool bStartFirst =
      m_ptSelStart.y < m_ptSelEnd.y || (m_ptSelStart.y == m_ptSelEnd.y && m_ptSelStart.x < m_ptSelEnd.x);
  const bool bEqual = m_ptSelStart == m_ptSelEnd;
  if (bStartFirst || bEqual) {
    m_ptDrawSelStart = m_ptSelStart;
    m_ptDrawSelEnd = m_ptSelEnd;
  } else {
    m_ptDrawSelStart = m_ptSelEnd;
    m_ptDrawSelEnd = m_ptSelStart;
  }
}

bool QuillView::IsInsideSelBlock(CPoint ptTextPos) {
  if (ptTextPos.y < m_ptDrawSelStart.y || ptTextPos.y > m_ptDrawSelEnd.y) return false;
  if (ptTextPos.y > m_ptDrawSelStart.y && ptTextPos.y < m_ptDrawSelEnd.y) return true;
  if (m_ptDrawSelStart.y < m_ptDrawSelEnd.y) {
    if (ptTextPos.y == m_ptDrawSelStart.y) return ptTextPos.x >= m_ptDrawSelStart.x;
    return ptTextPos.x < m_ptDrawSelEnd.x;
  }
  return ptTextPos.x >= m_ptDrawSelStart.x && ptTextPos.x < m_ptDrawSelEnd.x;
}

bool QuillView::IsInsideSelection(const CPoint& ptTextPos) {
  PrepareSelBounds();
  return IsInsideSelBlock(ptTextPos);
}

// ---- caret ----

void QuillView::UpdateCaret() {
  if (!HasWindow()) return;
  if (m_nBulkDepth > 0) {
    m_bBulkCaret = true;
    return;
  }
  const bool bCursorInText = m_ptCursorPos.y >= 0 && m_ptCursorPos.y < GetLineCount();
  if (m_bFocused && !m_bCursorHidden && bCursorInText &&
      CalculateActualOffset(m_ptCursorPos.y, m_ptCursorPos.x) >= m_nOffsetChar) {
    m_pWnd->CreateSolidCaret(2, GetLineHeight());
    m_pWnd->SetCaretPos(TextToClient(m_ptCursorPos));
    m_pWnd->ShowCaret();
  } else {
    m_pWnd->HideCaret();
  }
}

void QuillView::ShowCursor() {
  m_bCursorHidden = false;
  UpdateCaret();
}

void QuillView::HideCursor() {
  m_bCursorHidden = true;
  UpdateCaret();
}

}  // namespace quill
