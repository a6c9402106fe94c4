#include "buffer/text_buffer.h"

#include <algorithm>
#include <cstring>

#include "buffer/file_access.h"
#include "platform/document.h"
#include "platform/exceptions.h"
#include "view/quill_view.h"

namespace quill {

namespace {

constexpr char kReadOnlyMark[] = "(Read-Only)";
constexpr char kCRLF[] = "\r\n";

// The longest line edits and loads may make: the capacity rule's limit, or the lower
// limit a test sets.
std::int64_t MaxLineLength() {
  return std::min<std::int64_t>(TLoadLimits::s_nMaxLineLength, QuillTextBuffer::kMaxLineLength);
}

void CheckLineLength(std::uint64_t nLength) {
  if (nLength > static_cast<std::uint64_t>(MaxLineLength()))
    throw InvalidArgException("line too long");
}

int TextLength(const char* pszText, int nLength) {
  if (nLength >= 0) return nLength;
  if (pszText == nullptr) return 0;
  const std::size_t n = std::strlen(pszText);
  CheckLineLength(n);
  return static_cast<int>(n);
}

// Splits text at CR: an LF right after a CR belongs to the break; a lone LF is text.
std::vector<std::string_view> SplitAtCR(const char* pszText) {
  std::vector<std::string_view> aSegments;
  const char* p = pszText;
  for (;;) {
    const char* pSegment = p;
    while (*p != '\0' && *p != '\r') ++p;
    aSegments.emplace_back(pSegment, static_cast<std::size_t>(p - pSegment));
    if (*p != '\r') return aSegments;
    ++p;
    if (*p == '\n') ++p;
  }
}

}  // namespace

QuillTextBuffer::QuillTextBuffer(CDocument* pOwnerDoc) : m_pOwnerDoc(pOwnerDoc) {}

// The owner normally calls FreeAll first; whatever is left is released here so a
// forgotten FreeAll does not leak.
QuillTextBuffer::~QuillTextBuffer() { FreeAll(); }

// ---- line records ----

char* QuillTextBuffer::AllocSlab(std::size_t nBytes) {
  m_aSlabs.push_back(std::make_unique_for_overwrite<char[]>(nBytes));
  return m_aSlabs.back().get();
}

QuillTextBuffer::SLineInfo* QuillTextBuffer::NewLine(const char* pszChars, int nLength) {
  if (nLength > kMaxLineLength) throw InvalidArgException("line too long");
  auto* pLine = new SLineInfo;
  pLine->m_nMax = LineCapacity(nLength);
  try {
    pLine->m_pcLine = new char[static_cast<std::size_t>(pLine->m_nMax)];
  } catch (...) {
    delete pLine;
    throw;
  }
  if (nLength > 0) std::memcpy(pLine->m_pcLine, pszChars, static_cast<std::size_t>(nLength));
  pLine->m_nLength = nLength;
  return pLine;
}

void QuillTextBuffer::FreeLine(SLineInfo* pLine) {
  if (!(pLine->m_nStorage & SLineInfo::SLAB_TEXT)) delete[] pLine->m_pcLine;
  delete pLine;
}

void QuillTextBuffer::FreeLineAt(int nLine) {
  if (SLineInfo* pLine = m_aLines.RecordIfAny(nLine)) FreeLine(pLine);
}

void QuillTextBuffer::PrepareLineTableGrowth() {
  int nCapacity = m_aLines.GetCapacity();
  if (m_aLines.GetSize() == nCapacity && nCapacity != 0 && nCapacity >= m_aLines.GetGrowBy())
    m_aLines.SetSize(m_aLines.GetSize(), nCapacity);
}

void QuillTextBuffer::CheckLineIndex(int nLine) const {
  if (nLine < 0 || nLine >= m_aLines.GetSize()) throw InvalidArgException("line index out of range");
}

QuillTextBuffer::SLineInfo* QuillTextBuffer::GetLine(int nLine) {
  CheckLineIndex(nLine);
  return m_aLines[nLine];
}

void QuillTextBuffer::InsertLine(const char* pszLine, int nLength, int nPosition) {
  nLength = TextLength(pszLine, nLength);
  if (nPosition != -1 && (nPosition < 0 || nPosition > m_aLines.GetSize()))
    throw InvalidArgException("line position out of range");
  SLineInfo* pLine = NewLine(pszLine, nLength);
  try {
    PrepareLineTableGrowth();
    if (nPosition == -1)
      m_aLines.Add(pLine);
    else
      m_aLines.InsertAt(nPosition, pLine);
  } catch (...) {
    FreeLine(pLine);
    throw;
  }
}

void QuillTextBuffer::AppendLine(int nLineIndex, const char* pszChars, int nLength) {
  SLineInfo* pLine = GetLine(nLineIndex);
  nLength = TextLength(pszChars, nLength);
  if (nLength <= 0 || pszChars == nullptr) return;
  CheckLineLength(static_cast<std::uint64_t>(pLine->m_nLength) + static_cast<std::uint64_t>(nLength));
  const int nNewLength = pLine->m_nLength + nLength;
  // Characters in a slab have no room behind them: a slab line moves to the heap as soon
  // as it grows, with the capacity the rule gives its new length.
  if (nNewLength > pLine->m_nMax || (pLine->m_nStorage & SLineInfo::SLAB_TEXT)) {
    int nMax = LineCapacity(nNewLength);
    char* pcNew = new char[static_cast<std::size_t>(nMax)];
    if (pLine->m_nLength > 0) std::memcpy(pcNew, pLine->m_pcLine, static_cast<std::size_t>(pLine->m_nLength));
    if (pLine->m_nStorage & SLineInfo::SLAB_TEXT)
      pLine->m_nStorage &= static_cast<std::uint8_t>(~SLineInfo::SLAB_TEXT);
    else
      delete[] pLine->m_pcLine;
    pLine->m_pcLine = pcNew;
    pLine->m_nMax = nMax;
  }
  std::memcpy(pLine->m_pcLine + pLine->m_nLength, pszChars, static_cast<std::size_t>(nLength));
  pLine->m_nLength = nNewLength;
}

// ---- lifecycle ----

int QuillTextBuffer::InitNew(int nCrlfStyle) {
  FreeAll();
  InsertLine("", 0);
  m_nCRLFMode = nCrlfStyle;
  m_bReadOnly = false;
  m_bModified = false;
  m_nUndoPosition = m_nSyncPosition = 0;
  m_bUndoGroup = m_bUndoBeginGroup = false;
  m_nUndoBufSize = 1024;
  m_bInit = true;
  UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
  return 1;
}

void QuillTextBuffer::FreeAll() {
  for (int i = 0; i < m_aLines.GetSize(); ++i) FreeLineAt(i);
  m_aLines.RemoveAll();
  m_aSlabs.clear();
  FreeUndoRecords(0);
  m_nUndoPosition = 0;
  m_bLoadedMixedBreaks = m_bLoadedNulBytes = false;
  m_bInit = false;
}

// ---- accessors and flags ----

int QuillTextBuffer::GetLineLength(int nLine) const {
  CheckLineIndex(nLine);
  return m_aLines.Length(nLine);
}

char* QuillTextBuffer::GetLineChars(int nLine) const {
  CheckLineIndex(nLine);
  return m_aLines.Chars(nLine);
}

std::uint32_t QuillTextBuffer::GetLineFlags(int nLine) const {
  CheckLineIndex(nLine);
  return m_aLines.Flags(nLine);
}

int QuillTextBuffer::FindLineWithFlag(std::uint32_t dwFlag) const {
  for (int i = 0; i < m_aLines.GetSize(); ++i)
    if (m_aLines.Flags(i) & dwFlag) return i;
  return -1;
}

void QuillTextBuffer::SetLineFlag(int nLine, std::uint32_t dwFlag, int bSet, int bRemoveFromPreviousLine) {
  if (nLine == -1) {
    nLine = FindLineWithFlag(dwFlag);
    if (nLine == -1) return;
    bRemoveFromPreviousLine = 0;
  }
  SLineInfo* pLine = GetLine(nLine);
  std::uint32_t dwNewFlags = bSet ? (pLine->m_dwFlags | dwFlag) : (pLine->m_dwFlags & ~dwFlag);
  if (dwNewFlags == pLine->m_dwFlags) return;
  if (bRemoveFromPreviousLine && bSet) {
    int nPrevLine = FindLineWithFlag(dwFlag);
    if (nPrevLine >= 0 && nPrevLine != nLine) {
      m_aLines[nPrevLine]->m_dwFlags &= ~dwFlag;
      UpdateViews(nullptr, nullptr, UPDATE_FLAG_LINE | UPDATE_FLAG_LINEFLAGS, nPrevLine);
    }
  }
  pLine->m_dwFlags = dwNewFlags;
  UpdateViews(nullptr, nullptr, UPDATE_FLAG_LINE | UPDATE_FLAG_LINEFLAGS, nLine);
}

int QuillTextBuffer::FindNextBookmarkLine(int nCurrentLine) const {
  const int nCount = m_aLines.GetSize();
  int nLine = (GetLineFlags(nCurrentLine) & LINEFLAG_BOOKMARK) ? nCurrentLine + 1 : nCurrentLine;
  for (; nLine < nCount; ++nLine)
    if (m_aLines.Flags(nLine) & LINEFLAG_BOOKMARK) return nLine;
  for (nLine = 0; nLine < nCount; ++nLine)
    if (m_aLines.Flags(nLine) & LINEFLAG_BOOKMARK) return nLine;
  return -1;
}

int QuillTextBuffer::FindPrevBookmarkLine(int nCurrentLine) const {
  int nLine = (GetLineFlags(nCurrentLine) & LINEFLAG_BOOKMARK) ? nCurrentLine - 1 : nCurrentLine;
  for (; nLine >= 0; --nLine)
    if (m_aLines.Flags(nLine) & LINEFLAG_BOOKMARK) return nLine;
  for (nLine = m_aLines.GetSize() - 1; nLine >= 0; --nLine)
    if (m_aLines.Flags(nLine) & LINEFLAG_BOOKMARK) return nLine;
  return -1;
}

int QuillTextBuffer::SetBookmark(int nLine) {
  if (nLine >= 1 && nLine <= m_aLines.GetSize()) {
    SetLineFlag(nLine - 1, LINEFLAG_BOOKMARK, 1, 0);
    if (!m_lpViews.empty()) m_lpViews.back()->m_bHasBookmarks = true;
  }
  return 0;
}

int QuillTextBuffer::RemoveBookmark(int nLine) {
  if (nLine >= 1 && nLine <= m_aLines.GetSize()) SetLineFlag(nLine - 1, LINEFLAG_BOOKMARK, 0, 0);
  return 0;
}

void QuillTextBuffer::SetReadOnly(int bReadOnly) {
  m_bReadOnly = bReadOnly != 0;
  if (m_bReadOnly && m_pOwnerDoc != nullptr) SetFileReadOnlyAttribute();
  UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
}

// ---- text ----

void QuillTextBuffer::GetText(int nStartLine, int nStartChar, int nEndLine, int nEndChar, std::string& text,
                              const char* pszCRLF) const {
  if (pszCRLF == nullptr) pszCRLF = kCRLF;
  const int nStartLength = GetLineLength(nStartLine);
  text.clear();
  nStartChar = std::clamp(nStartChar, 0, nStartLength);
  if (nStartLine >= nEndLine) {
    nEndChar = std::clamp(nEndChar, nStartChar, nStartLength);
    text.assign(m_aLines.Chars(nStartLine) + nStartChar, static_cast<std::size_t>(nEndChar - nStartChar));
    return;
  }
  nEndChar = std::clamp(nEndChar, 0, GetLineLength(nEndLine));
  const std::size_t nBreak = std::strlen(pszCRLF);
  std::size_t nSize = 0;
  for (int i = nStartLine; i <= nEndLine; ++i) nSize += static_cast<std::size_t>(m_aLines.Length(i)) + nBreak;
  text.reserve(nSize);
  text.append(m_aLines.Chars(nStartLine) + nStartChar, static_cast<std::size_t>(nStartLength - nStartChar));
  text.append(pszCRLF, nBreak);
  for (int i = nStartLine + 1; i < nEndLine; ++i) {
    text.append(m_aLines.Chars(i), static_cast<std::size_t>(m_aLines.Length(i)));
    text.append(pszCRLF, nBreak);
  }
  text.append(m_aLines.Chars(nEndLine), static_cast<std::size_t>(nEndChar));
}

// ---- views ----

void QuillTextBuffer::AddView(QuillView* pView) { m_lpViews.push_back(pView); }

void QuillTextBuffer::RemoveView(QuillView* pView) {
  auto it = std::find(m_lpViews.begin(), m_lpViews.end(), pView);
  if (it != m_lpViews.end()) m_lpViews.erase(it);
}

void QuillTextBuffer::UpdateViews(QuillView* pSource, CUpdateContext* pContext, unsigned long dwUpdateFlags,
                                  int nLineIndex) {
  // By index: a view may detach itself while it is notified.
  for (std::size_t i = 0; i < m_lpViews.size(); ++i) {
    QuillView* pView = m_lpViews[i];
    CDocument* pDoc = pView->GetDocument();
    if (m_bReadOnly && pDoc != nullptr) {
      const std::string& title = pDoc->GetTitle();
      if (!title.empty() && title.find(kReadOnlyMark) == std::string::npos)
        pDoc->SetTitle(title + " " + kReadOnlyMark);
    }
    pView->UpdateView(pSource, pContext, dwUpdateFlags, nLineIndex);
  }
}

// ---- edits ----

int QuillTextBuffer::InternalInsertText(QuillView* pSource, int nLine, int nPos, const char* pszText,
                                        int& nEndLine, int& nEndChar) {
  SLineInfo* pLine = GetLine(nLine);
  if (nPos < 0 || nPos > pLine->m_nLength) throw InvalidArgException("insert position out of range");
  return InsertSegments(pSource, nLine, nPos, SplitAtCR(pszText ? pszText : ""), nEndLine, nEndChar);
}

int QuillTextBuffer::InsertSegments(QuillView* pSource, int nLine, int nPos,
                                    const std::vector<std::string_view>& aSegments, int& nEndLine,
                                    int& nEndChar) {
  SLineInfo* pLine = GetLine(nLine);
  if (nPos < 0 || nPos > pLine->m_nLength) throw InvalidArgException("insert position out of range");
  const std::size_t nTail = static_cast<std::size_t>(pLine->m_nLength - nPos);
  const std::size_t nLast = aSegments.size() - 1;
  // Every line the insertion makes or lengthens must stay within the limit.
  CheckLineLength(nPos + aSegments[0].size() + (nLast == 0 ? nTail : 0));
  for (std::size_t i = 1; i <= nLast; ++i) CheckLineLength(aSegments[i].size() + (i == nLast ? nTail : 0));

  // The segments after the first become new lines, added to the table in one move.
  std::vector<SLineInfo*> aNewLines;
  try {
    aNewLines.reserve(nLast);
    for (std::size_t i = 1; i <= nLast; ++i)
      aNewLines.push_back(NewLine(aSegments[i].data(), static_cast<int>(aSegments[i].size())));
    if (!aNewLines.empty()) {
      PrepareLineTableGrowth();
      m_aLines.InsertAt(nLine + 1, aNewLines.data(), static_cast<int>(aNewLines.size()));
    }
  } catch (...) {
    for (SLineInfo* pNew : aNewLines) FreeLine(pNew);
    throw;
  }

  // Cut the tail off the insertion line, append the first segment, put the tail behind
  // the last segment.
  std::string tail(pLine->m_pcLine + nPos, nTail);
  pLine->m_nLength = nPos;
  AppendLine(nLine, aSegments[0].data(), static_cast<int>(aSegments[0].size()));
  nEndLine = nLine + static_cast<int>(aNewLines.size());
  nEndChar = m_aLines.Length(nEndLine);
  AppendLine(nEndLine, tail.data(), static_cast<int>(tail.size()));

  CInsertContext context(CPoint(nPos, nLine), CPoint(nEndChar, nEndLine));
  UpdateViews(pSource, &context,
              aNewLines.empty() ? (UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ) : (UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT),
              nLine);
  if (!m_bModified) SetModified(1);
  return 1;
}

int QuillTextBuffer::InternalDeleteText(QuillView* pSource, int nStartLine, int nStartChar, int nEndLine,
                                        int nEndChar) {
  SLineInfo* pStart = GetLine(nStartLine);
  SLineInfo* pEnd = GetLine(nEndLine);
  if (nEndLine < nStartLine || nStartChar < 0 || nStartChar > pStart->m_nLength || nEndChar < 0 ||
      nEndChar > pEnd->m_nLength || (nStartLine == nEndLine && nEndChar < nStartChar))
    throw InvalidArgException("delete range out of range");
  if (nStartLine != nEndLine)
    CheckLineLength(static_cast<std::uint64_t>(nStartChar) + static_cast<std::uint64_t>(pEnd->m_nLength - nEndChar));

  if (nStartLine == nEndLine) {
    if (nEndChar < pStart->m_nLength)
      std::memmove(pStart->m_pcLine + nStartChar, pStart->m_pcLine + nEndChar,
                   static_cast<std::size_t>(pStart->m_nLength - nEndChar));
    pStart->m_nLength -= nEndChar - nStartChar;
  } else {
    std::string tail(pEnd->m_pcLine + nEndChar, static_cast<std::size_t>(pEnd->m_nLength - nEndChar));
    for (int i = nStartLine + 1; i <= nEndLine; ++i) FreeLineAt(i);
    m_aLines.RemoveAt(nStartLine + 1, nEndLine - nStartLine);
    pStart->m_nLength = nStartChar;
    AppendLine(nStartLine, tail.data(), static_cast<int>(tail.size()));
  }

  CDeleteContext context(CPoint(nStartChar, nStartLine), CPoint(nEndChar, nEndLine));
  UpdateViews(pSource, &context,
              nStartLine == nEndLine ? (UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ) : (UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT),
              nStartLine);
  if (!m_bModified) SetModified(1);
  return 1;
}

int QuillTextBuffer::InsertText(QuillView* pSource, int nLine, int nPos, const char* pszText, int& nEndLine,
                                int& nEndChar, int nAction) {
  if (!InternalInsertText(pSource, nLine, nPos, pszText, nEndLine, nEndChar)) return 0;
  const bool bGroupOpen = m_bUndoGroup;
  if (!bGroupOpen) BeginUndoGroup();
  AddUndoRecord(1, CPoint(nPos, nLine), CPoint(nEndChar, nEndLine), pszText, nAction);
  if (!bGroupOpen) FlushUndoGroup(pSource);
  return 1;
}

int QuillTextBuffer::DeleteText(QuillView* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                                int nAction) {
  std::string removed;
  GetText(nStartLine, nStartChar, nEndLine, nEndChar, removed, kCRLF);
  // Lines holding a CR would come back split at it: keep their lengths for undo.
  std::shared_ptr<std::vector<int>> pLengths;
  if (removed.find('\r') != std::string::npos) {
    pLengths = std::make_shared<std::vector<int>>();
    for (int i = nStartLine; i <= nEndLine; ++i) {
      const int nFrom = i == nStartLine ? nStartChar : 0;
      const int nTo = i == nEndLine ? nEndChar : m_aLines.Length(i);
      pLengths->push_back(nTo - nFrom);
    }
  }
  if (!InternalDeleteText(pSource, nStartLine, nStartChar, nEndLine, nEndChar)) return 0;
  const bool bGroupOpen = m_bUndoGroup;
  if (!bGroupOpen) BeginUndoGroup();
  AddUndoRecord(0, CPoint(nStartChar, nStartLine), CPoint(nEndChar, nEndLine), removed.c_str(), nAction);
  m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition - 1)].m_pLineLengths = std::move(pLengths);
  if (!bGroupOpen) FlushUndoGroup(pSource);
  return 1;
}

}  // namespace quill
