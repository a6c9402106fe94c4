// The search engine: finding a plain string or a regular expression in the view's text,
// one line at a time, forwards within a block or backwards to the top, wrapping once.

#include <algorithm>
#include <string>

#include "platform/doc_framework.h"
#include "view/quill_view.h"
#include "view/search_flags.h"
#include "view/text_matcher.h"

namespace quill {

namespace {

constexpr const char* kEndReached = "End of the file reached.";
constexpr const char* kBeginningReached = "Beginning of the file reached.";
constexpr const char* kTooComplex = "Search stopped: the regular expression is too complex.";

bool IsBefore(const CPoint& a, const CPoint& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

}  // namespace

int QuillView::FindTextInBlock(std::string_view what, const CPoint& ptStartPosition,
                               const CPoint& ptBlockBegin, const CPoint& ptBlockEnd,
                               unsigned long dwFlags, bool bWrapSearch, CPoint* pptFoundPos,
                               int* pnSearchLen) {
  return SearchInBlock(what, ptStartPosition, ptBlockBegin, ptBlockEnd, dwFlags, bWrapSearch,
                       pptFoundPos, pnSearchLen, true);
}

int QuillView::SearchInBlock(std::string_view what, const CPoint& ptStartPosition,
                             const CPoint& ptBlockBegin, const CPoint& ptBlockEnd,
                             unsigned long dwFlags, bool bWrapSearch, CPoint* pptFoundPos,
                             int* pnSearchLen, bool bReport) {
  if (ptBlockBegin == ptBlockEnd) return 0;
  const int nLineCount = GetLineCount();
  if (nLineCount <= 0) return 0;
  const bool bBackward = (dwFlags & SEARCH_BACKWARD) != 0;

  CPoint ptCurrent = ptStartPosition;
  if (IsBefore(ptCurrent, ptBlockBegin)) {
    ptCurrent = ptBlockBegin;
  } else if ((dwFlags & SEARCH_IGNORE_SELECTION) == 0 && IsSelection()) {
    CPoint ptSelStart, ptSelEnd;
    GetSelection(ptSelStart, ptSelEnd);
    ptCurrent.x = bBackward ? ptSelStart.x : ptSelEnd.x;
  }
  if (bReport) SetToolBarMessage("");

  TextMatcher matcher(what, dwFlags);
  const auto report = [&](const char* pszText) {
    if (bReport) SetToolBarMessage(pszText);
  };
  if (matcher.GetState() == TextMatcher::State::BadPattern) {
    // Nothing can match: the search ends where a full pass would end.
    if (bWrapSearch) report(bBackward ? kBeginningReached : kEndReached);
    return 0;
  }
  const auto found = [&](int x, int y, int nLength) {
    if (pptFoundPos != nullptr) *pptFoundPos = CPoint(x, y);
    if (pnSearchLen != nullptr) *pnSearchLen = nLength;
    return 1;
  };
  const auto gaveUp = [&] {
    if (matcher.GetState() != TextMatcher::State::GaveUp) return false;
    report(kTooComplex);
    return true;
  };

  int nOffset = 0;
  int nLength = 0;
  if (!bBackward) {
    const int nLastLine = std::min(ptBlockEnd.y, nLineCount - 1);
    for (;;) {
      for (; ptCurrent.y <= nLastLine; ++ptCurrent.y, ptCurrent.x = 0) {
        const int nLineLength = GetLineLength(ptCurrent.y);
        if (ptCurrent.x < 0) ptCurrent.x = 0;
        if (ptCurrent.x >= nLineLength) continue;
        const std::string_view text(GetLineChars(ptCurrent.y) + ptCurrent.x,
                                    static_cast<std::size_t>(nLineLength - ptCurrent.x));
        if (!matcher.FindFirst(text, nOffset, nLength)) {
          if (gaveUp()) return 0;
          continue;
        }
        const CPoint ptMatch(ptCurrent.x + nOffset, ptCurrent.y);
        if (ptMatch.y == ptBlockEnd.y && ptMatch.x >= ptBlockEnd.x) break;  // past the block
        return found(ptMatch.x, ptMatch.y, nLength);
      }
      if (!bWrapSearch) return 0;
      report(kEndReached);
      bWrapSearch = false;
      ptCurrent = ptBlockBegin;
    }
  }

  // Backwards: the first line is searched before the current position, every earlier line
  // whole, up to the top of the file.
  if (ptCurrent.y >= nLineCount) ptCurrent = CPoint(GetLineLength(nLineCount - 1), nLineCount - 1);
  for (;;) {
    for (bool bFirst = true; ptCurrent.y >= 0; --ptCurrent.y, bFirst = false) {
      const int nLineLength = GetLineLength(ptCurrent.y);
      const int nSearched = bFirst ? std::clamp(ptCurrent.x, 0, nLineLength) : nLineLength;
      const std::string_view text(nSearched > 0 ? GetLineChars(ptCurrent.y) : "",
                                  static_cast<std::size_t>(nSearched));
      if (matcher.FindLast(text, nOffset, nLength)) return found(nOffset, ptCurrent.y, nLength);
      if (gaveUp()) return 0;
    }
    if (!bWrapSearch) return 0;
    report(kBeginningReached);
    bWrapSearch = false;
    ptCurrent = CPoint(GetLineLength(nLineCount - 1), nLineCount - 1);
  }
}

int QuillView::FindText(std::string_view what, const CPoint& ptStartPosition,
                        unsigned long dwFlags, bool bWrapSearch, CPoint* pptFoundPos,
                        int* pnSearchLen) {
  CWaitCursor wait;
  const int nLastLine = GetLineCount() - 1;
  const CPoint ptBlockEnd(nLastLine >= 0 ? GetLineLength(nLastLine) : 0, std::max(nLastLine, 0));
  return FindTextInBlock(what, ptStartPosition, CPoint(0, 0), ptBlockEnd, dwFlags, bWrapSearch,
                         pptFoundPos, pnSearchLen);
}

int QuillView::HighlightText(const CPoint& ptStartPos, int nLength) {
  const CPoint ptEnd(ptStartPos.x + nLength, ptStartPos.y);
  m_ptCursorPos = ptEnd;
  m_ptAnchor = ptEnd;
  SetSelection(ptStartPos, ptEnd);
  UpdateCaret();
  EnsureVisible(ptEnd);
  return 1;
}

int QuillView::HighlightString(std::string_view what) {
  CPoint ptFound;
  int nLength = 0;
  if (!FindText(what, CPoint(0, 0), SEARCH_MATCH_CASE | SEARCH_WHOLE_WORD, false, &ptFound,
                &nLength)) {
    return 0;
  }
  return HighlightText(ptFound, nLength);
}

void QuillView::AddToRecentFind(const std::string& text) {
  if (std::find(m_findHistory.begin(), m_findHistory.end(), text) != m_findHistory.end()) return;
  m_findHistory.push_front(text);
}

void QuillView::AddToRecentSearched(const std::string& text) {
  AddToRecentFind(text);
  if (text.empty()) return;
  m_sLastFindText = text;
  m_bHasLastFind = true;
}

}  // namespace quill
