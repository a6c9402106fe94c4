// The search engine: finding a plain string or a regular expression in the view's text,
// one line at a time, forwards within a block or backwards to the top, wrapping once.

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "buffer/buffer_defs.h"
#include "buffer/progress_bar.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/doc_framework.h"
#include "platform/text_encoding.h"
#include "view/bulk_update.h"
#include "view/edit_group.h"
#include "view/quill_view.h"
#include "view/search_flags.h"
#include "view/text_matcher.h"

namespace quill {

namespace {

constexpr const char* kEndReached = "End of the file reached.";
constexpr const char* kBeginningReached = "Beginning of the file reached.";
constexpr const char* kTooComplex = "Search stopped: the regular expression is too complex.";

constexpr const char* kReplacing = "Replacing...";
// Lines replaced between two looks at the clock and at the user.
constexpr int kPollLines = 1024;

bool IsBefore(const CPoint& a, const CPoint& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

// Where text inserted at pt ends: a CR or a CR LF breaks the line, as in the buffer.
CPoint PointAfter(CPoint pt, std::string_view text) {
  const std::vector<std::string_view> lines = QuillTextBuffer::SplitAtCR(text);
  const int nLast = static_cast<int>(lines.size()) - 1;
  const int nLength = static_cast<int>(lines.back().size());
  return nLast == 0 ? CPoint(pt.x + nLength, pt.y) : CPoint(nLength, pt.y + nLast);
}

// nPos, or the end of the UTF-8 character that holds byte nPos.
int CharBoundaryAtOrAfter(const char* pszChars, int nLength, int nPos) {
  const int nStart = Utf8CharStart(pszChars, nLength, nPos);
  if (nStart == nPos) return nPos;
  char32_t cp;
  return nStart + DecodeUtf8(pszChars, nLength, nStart, cp);
}

}  // namespace

int QuillView::s_nProgressDelayMs = 500;

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

  TextMatcher matcher(what, dwFlags, IsUtf8Text());
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
  // In UTF-8 text a search starts and ends between characters.
  const bool bUtf8 = IsUtf8Text();
  if (!bBackward) {
    const int nLastLine = std::min(ptBlockEnd.y, nLineCount - 1);
    for (;;) {
      for (; ptCurrent.y <= nLastLine; ++ptCurrent.y, ptCurrent.x = 0) {
        const int nLineLength = GetLineLength(ptCurrent.y);
        if (ptCurrent.x < 0) ptCurrent.x = 0;
        if (ptCurrent.x >= nLineLength) continue;
        if (bUtf8) ptCurrent.x = CharBoundaryAtOrAfter(GetLineChars(ptCurrent.y), nLineLength, ptCurrent.x);
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
      int nSearched = bFirst ? std::clamp(ptCurrent.x, 0, nLineLength) : nLineLength;
      if (bUtf8 && nSearched < nLineLength) nSearched = Utf8CharStart(GetLineChars(ptCurrent.y), nLineLength, nSearched);
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

int QuillView::ReplaceAll(std::string_view what, std::string_view replacement,
                          unsigned long dwFlags, const CPoint& ptBlockBegin,
                          const CPoint& ptBlockEnd, bool* pbCancelled) {
  if (pbCancelled != nullptr) *pbCancelled = false;
  const int nLineCount = GetLineCount();
  if (m_pTextBuffer == nullptr || what.empty() || nLineCount <= 0 || ptBlockBegin == ptBlockEnd)
    return 0;
  TextMatcher matcher(what, dwFlags & (SEARCH_MATCH_CASE | SEARCH_WHOLE_WORD | SEARCH_REGEX), IsUtf8Text());
  if (matcher.GetState() == TextMatcher::State::BadPattern) return 0;
  SetToolBarMessage("");
  CWaitCursor wait;
  const std::string with(replacement);

  // Opened at the first match: a search that finds nothing changes nothing.
  std::optional<BulkUpdate> bulk;
  std::optional<EditGroup> group;
  std::optional<CProgressBar> progress;
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::pair<int, int>> matches;  // offset and length in the line as it was
  std::string text;
  int nCount = 0;
  CPoint ptLastStart, ptLastEnd;
  // Lines are numbered as before the replacements; nAdded is the number of lines the
  // replacements so far inserted above the current one.
  int nAdded = 0;
  const int nFirstLine = std::max(ptBlockBegin.y, 0);
  const int nLastLine = std::min(ptBlockEnd.y, nLineCount - 1);
  for (int nLine = nFirstLine; nLine <= nLastLine; ++nLine) {
    if ((nLine - nFirstLine) % kPollLines == kPollLines - 1) {
      if (!progress &&
          std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(s_nProgressDelayMs)) {
        progress.emplace(kReplacing, 25, 100, true);
      }
      if (progress) {
        progress->SetPos(static_cast<int>(static_cast<long long>(nLine - nFirstLine) * 100 /
                                          (nLastLine - nFirstLine + 1)));
      }
      if (GetApplicationServices().PollCancel()) {
        if (pbCancelled != nullptr) *pbCancelled = true;
        break;
      }
    }
    const int y = nLine + nAdded;
    const char* pszChars = GetLineChars(y);
    const int nLength = GetLineLength(y);
    // Each search starts after the previous match, where the text its replacement
    // inserted ends; an empty match ends the line.
    matches.clear();
    for (int nPos = nLine == ptBlockBegin.y ? std::max(ptBlockBegin.x, 0) : 0; nPos < nLength;) {
      int nOffset = 0;
      int nMatch = 0;
      if (!matcher.FindFirst(std::string_view(pszChars + nPos, static_cast<std::size_t>(nLength - nPos)),
                             nOffset, nMatch)) {
        break;
      }
      nOffset += nPos;
      if (nLine == ptBlockEnd.y && nOffset >= ptBlockEnd.x) break;
      matches.emplace_back(nOffset, nMatch);
      if (nMatch == 0) break;
      nPos = nOffset + nMatch;
    }
    if (matcher.GetState() == TextMatcher::State::GaveUp) {
      SetToolBarMessage(kTooComplex);
      if (matches.empty()) break;
    }
    if (matches.empty()) continue;

    if (!group) {
      bulk.emplace(m_pTextBuffer);
      group.emplace(*this, false);
    }
    const int nStart = matches.front().first;
    const int nEnd = matches.back().first + matches.back().second;
    const CPoint ptStart(nStart, y);
    if (std::memchr(pszChars + nStart, '\0', static_cast<std::size_t>(nEnd - nStart)) == nullptr) {
      // The span from the first match to the end of the last becomes its replaced text.
      text.clear();
      int nFrom = nStart;
      for (const auto& [nAt, nMatch] : matches) {
        text.append(pszChars + nFrom, static_cast<std::size_t>(nAt - nFrom));
        text += with;
        nFrom = nAt + nMatch;
      }
      DeleteRange(ptStart, CPoint(nEnd, y), UNDO_ACTION_REPLACE);
      ptLastEnd = text.empty() ? ptStart : InsertAt(ptStart, text.c_str(), UNDO_ACTION_REPLACE);
      ptLastStart = PointAfter(ptStart, std::string_view(text).substr(0, text.size() - with.size()));
    } else {
      // A NUL in the span would end the inserted text: one match at a time.
      CPoint ptAfter(0, y);
      int nFrom = 0;
      for (const auto& [nAt, nMatch] : matches) {
        ptLastStart = CPoint(ptAfter.x + nAt - nFrom, ptAfter.y);
        DeleteRange(ptLastStart, CPoint(ptLastStart.x + nMatch, ptLastStart.y), UNDO_ACTION_REPLACE);
        ptAfter = with.empty() ? ptLastStart : InsertAt(ptLastStart, with.c_str(), UNDO_ACTION_REPLACE);
        nFrom = nAt + nMatch;
      }
      ptLastEnd = ptAfter;
    }
    nAdded += ptLastEnd.y - y;
    nCount += static_cast<int>(matches.size());
    if (matcher.GetState() == TextMatcher::State::GaveUp) break;
  }
  if (!group) return 0;
  group->Close();
  progress.reset();
  bulk.reset();  // every view of the buffer updates its window once
  m_ptAnchor = ptLastStart;
  SetSelection(ptLastStart, ptLastEnd);
  SetCursorPos(ptLastEnd);
  EnsureVisible(ptLastEnd);
  return nCount;
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

void QuillView::AddToRecentSearched(const std::string& text) {
  AddToRecentFind(text);
  if (text.empty()) return;
  m_sLastFindText = text;
  m_bHasLastFind = true;
}

}  // namespace quill
