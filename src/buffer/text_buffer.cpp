#include "buffer/text_buffer.h"

#include <algorithm>
#include <cstring>

#include "buffer/file_access.h"
#include "platform/document.h"
#include "platform/exceptions.h"

namespace quill {

namespace {

constexpr char kCRLF[] = "\r\n";

// Refuses a line longer than the capacity rule allows or the buffer's limits say.
void CheckLineLength(std::uint64_t nLength, const TLoadLimits& limits) {
  if (nLength > static_cast<std::uint64_t>(
                    std::min<std::int64_t>(limits.nMaxLineLength, QuillTextBuffer::kMaxLineLength)))
    throw InvalidArgException("line too long");
}

int TextLength(const char* pszText, int nLength, const TLoadLimits& limits) {
  if (nLength >= 0) return nLength;
  if (pszText == nullptr) return 0;
  const std::size_t n = std::strlen(pszText);
  CheckLineLength(n, limits);
  return static_cast<int>(n);
}

}  // namespace

std::vector<std::string_view> QuillTextBuffer::SplitAtCR(std::string_view text) {
  std::vector<std::string_view> aSegments;
  for (;;) {
    const std::size_t nBreak = text.find('\r');
    aSegments.push_back(text.substr(0, nBreak));
    if (nBreak == std::string_view::npos) return aSegments;
    text.remove_prefix(nBreak + 1);
    if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  }
}

QuillTextBuffer::QuillTextBuffer(CDocument* pOwnerDoc) : m_pOwnerDoc(pOwnerDoc) {}

// The owner normally calls FreeAll first; whatever is left is released here so a
// forgotten FreeAll does not leak. Views still attached let go of the buffer, so none
// calls it after it is gone.
QuillTextBuffer::~QuillTextBuffer() {
  const std::vector<ITextBufferListener*> views = std::move(m_lpViews);
  m_lpViews.clear();
  for (ITextBufferListener* pView : views) {
    try {
      pView->OnBufferDestroyed(this);
    } catch (...) {
      // A view that fails to reset still no longer points here.
    }
  }
  FreeAll();
}

// ---- line records ----

char* QuillTextBuffer::AllocSlab(std::size_t nBytes) {
  m_aSlabs.push_back(std::make_unique_for_overwrite<char[]>(nBytes));
  return m_aSlabs.back().get();
}

QuillTextBuffer::SLineInfo* QuillTextBuffer::NewLine(const char* pszChars, int nLength) {
  if (nLength > kMaxLineLength) throw InvalidArgException("line too long");
  return NewJoinedLine(std::string_view(pszChars, nLength > 0 ? static_cast<std::size_t>(nLength) : 0), {});
}

QuillTextBuffer::SLineInfo* QuillTextBuffer::NewJoinedLine(std::string_view head, std::string_view tail) {
  const int nLength = static_cast<int>(head.size() + tail.size());
  auto* pLine = new SLineInfo;
  pLine->m_nMax = LineCapacity(nLength);
  try {
    pLine->m_pcLine = new char[static_cast<std::size_t>(pLine->m_nMax)];
  } catch (...) {
    delete pLine;
    throw;
  }
  if (!head.empty()) std::memcpy(pLine->m_pcLine, head.data(), head.size());
  if (!tail.empty()) std::memcpy(pLine->m_pcLine + head.size(), tail.data(), tail.size());
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

void QuillTextBuffer::CheckLineIndex(int nLine) const {
  if (nLine < 0 || nLine >= m_aLines.GetSize()) throw InvalidArgException("line index out of range");
}

QuillTextBuffer::SLineInfo* QuillTextBuffer::GetLine(int nLine) {
  CheckLineIndex(nLine);
  return m_aLines[nLine];
}

void QuillTextBuffer::InsertLine(const char* pszLine, int nLength, int nPosition) {
  nLength = TextLength(pszLine, nLength, m_loadLimits);
  if (nPosition != -1 && (nPosition < 0 || nPosition > m_aLines.GetSize()))
    throw InvalidArgException("line position out of range");
  SLineInfo* pLine = NewLine(pszLine, nLength);
  try {
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
  nLength = TextLength(pszChars, nLength, m_loadLimits);
  if (nLength <= 0 || pszChars == nullptr) return;
  CheckLineLength(static_cast<std::uint64_t>(pLine->m_nLength) + static_cast<std::uint64_t>(nLength), m_loadLimits);
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
  m_nEncoding = ENCODING_WINDOWS_1252;
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
    if (!m_lpViews.empty()) m_lpViews.back()->OnBookmarkSet();
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

void QuillTextBuffer::SetEncoding(int nEncoding) {
  nEncoding = nEncoding == ENCODING_UTF8 ? ENCODING_UTF8 : ENCODING_WINDOWS_1252;
  if (m_nEncoding == nEncoding) return;
  m_nEncoding = nEncoding;
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

void QuillTextBuffer::AddView(ITextBufferListener* pView) { m_lpViews.push_back(pView); }

void QuillTextBuffer::RemoveView(ITextBufferListener* pView) {
  auto it = std::find(m_lpViews.begin(), m_lpViews.end(), pView);
  if (it != m_lpViews.end()) m_lpViews.erase(it);
}

void QuillTextBuffer::UpdateViews(ITextBufferListener* pSource, CUpdateContext* pContext, unsigned long dwUpdateFlags,
                                  int nLineIndex) {
  // By index: a view may detach itself while it is notified.
  for (std::size_t i = 0; i < m_lpViews.size(); ++i) {
    ITextBufferListener* pView = m_lpViews[i];
    if (m_bReadOnly)
      if (CDocument* pDoc = pView->GetListenerDocument()) pDoc->MarkTitleReadOnly();
    pView->OnBufferUpdate(pSource, pContext, dwUpdateFlags, nLineIndex);
  }
}

// ---- edits ----

int QuillTextBuffer::InternalInsertText(ITextBufferListener* pSource, int nLine, int nPos, const char* pszText,
                                        int& nEndLine, int& nEndChar) {
  return InsertSegments(pSource, nLine, nPos, SplitAtCR(pszText ? pszText : ""), nEndLine, nEndChar);
}

int QuillTextBuffer::InsertSegments(ITextBufferListener* pSource, int nLine, int nPos,
                                    const std::vector<std::string_view>& aSegments, int& nEndLine,
                                    int& nEndChar, SEditCommit* pCommit) {
  SLineInfo* pLine = GetLine(nLine);
  if (nPos < 0 || nPos > pLine->m_nLength) throw InvalidArgException("insert position out of range");
  const std::string_view tail(pLine->m_pcLine + nPos, static_cast<std::size_t>(pLine->m_nLength - nPos));
  const std::size_t nLast = aSegments.size() - 1;
  const std::string_view first = aSegments[0];
  // Every line the insertion makes or lengthens must stay within the limit.
  const std::size_t nFirstLength = nPos + first.size() + (nLast == 0 ? tail.size() : 0);
  CheckLineLength(nFirstLength, m_loadLimits);
  for (std::size_t i = 1; i <= nLast; ++i) CheckLineLength(aSegments[i].size() + (i == nLast ? tail.size() : 0), m_loadLimits);

  // First what can fail: the new lines (the last one ending with the tail of the
  // insertion line), larger storage for the insertion line (a slab line has no room
  // behind it), their places in the table.
  std::vector<SLineInfo*> aNewLines;
  std::unique_ptr<char[]> pcGrown;
  const int nGrownMax = LineCapacity(static_cast<int>(nFirstLength));
  try {
    aNewLines.reserve(nLast);
    for (std::size_t i = 1; i <= nLast; ++i) {
      aNewLines.push_back(i == nLast ? NewJoinedLine(aSegments[i], tail)
                                     : NewLine(aSegments[i].data(), static_cast<int>(aSegments[i].size())));
    }
    if (static_cast<int>(nFirstLength) > pLine->m_nMax ||
        ((pLine->m_nStorage & SLineInfo::SLAB_TEXT) && static_cast<int>(nFirstLength) > pLine->m_nLength)) {
      pcGrown = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(nGrownMax));
    }
    if (!aNewLines.empty()) {
      m_aLines.InsertAt(nLine + 1, aNewLines.data(), static_cast<int>(aNewLines.size()));
    }
  } catch (...) {
    for (SLineInfo* pNew : aNewLines) FreeLine(pNew);
    throw;
  }

  // Then the change itself, which cannot fail.
  char* pcLine = pLine->m_pcLine;
  if (pcGrown) {
    std::memcpy(pcGrown.get(), pcLine, static_cast<std::size_t>(nPos));
    if (nLast == 0) std::memcpy(pcGrown.get() + nPos + first.size(), tail.data(), tail.size());
  } else if (nLast == 0) {
    std::memmove(pcLine + nPos + first.size(), tail.data(), tail.size());
  }
  char* pcDest = pcGrown ? pcGrown.get() : pcLine;
  if (!first.empty()) std::memcpy(pcDest + nPos, first.data(), first.size());
  if (pcGrown) {
    if (pLine->m_nStorage & SLineInfo::SLAB_TEXT)
      pLine->m_nStorage &= static_cast<std::uint8_t>(~SLineInfo::SLAB_TEXT);
    else
      delete[] pcLine;
    pLine->m_pcLine = pcGrown.release();
    pLine->m_nMax = nGrownMax;
  }
  pLine->m_nLength = static_cast<int>(nFirstLength);
  nEndLine = nLine + static_cast<int>(nLast);
  nEndChar = static_cast<int>(nLast == 0 ? nPos + first.size() : aSegments[nLast].size());
  CommitEdit(pCommit);

  CInsertContext context(CPoint(nPos, nLine), CPoint(nEndChar, nEndLine));
  NotifyEdit(pSource, context, nLast == 0 ? (UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ) : (UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT),
             nLine);
  return 1;
}

int QuillTextBuffer::InternalDeleteText(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine,
                                        int nEndChar) {
  return DeleteRange(pSource, nStartLine, nStartChar, nEndLine, nEndChar, nullptr);
}

int QuillTextBuffer::DeleteRange(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                                 SEditCommit* pCommit) {
  CheckLineIndex(nStartLine);
  CheckLineIndex(nEndLine);
  const int nStartLength = m_aLines.Length(nStartLine);
  const int nEndLength = m_aLines.Length(nEndLine);
  if (nEndLine < nStartLine || nStartChar < 0 || nStartChar > nStartLength || nEndChar < 0 ||
      nEndChar > nEndLength || (nStartLine == nEndLine && nEndChar < nStartChar))
    throw InvalidArgException("delete range out of range");
  const std::size_t nTail = static_cast<std::size_t>(nEndLength - nEndChar);
  const int nNewLength = nStartChar + static_cast<int>(nTail);
  if (nStartLine != nEndLine) CheckLineLength(static_cast<std::uint64_t>(nStartChar) + nTail, m_loadLimits);

  // First what can fail: the record of the start line, larger storage when it must take
  // the end line's tail (a slab line has no room behind it).
  SLineInfo* pStart = GetLine(nStartLine);
  std::unique_ptr<char[]> pcGrown;
  const int nGrownMax = LineCapacity(nNewLength);
  if (nNewLength > pStart->m_nMax ||
      ((pStart->m_nStorage & SLineInfo::SLAB_TEXT) && nNewLength > pStart->m_nLength)) {
    pcGrown = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(nGrownMax));
    std::memcpy(pcGrown.get(), pStart->m_pcLine, static_cast<std::size_t>(nStartChar));
  }

  // Then the change itself, which cannot fail.
  char* pcDest = pcGrown ? pcGrown.get() : pStart->m_pcLine;
  if (nTail > 0) std::memmove(pcDest + nStartChar, m_aLines.Chars(nEndLine) + nEndChar, nTail);
  if (nStartLine != nEndLine) {
    for (int i = nStartLine + 1; i <= nEndLine; ++i) FreeLineAt(i);
    m_aLines.RemoveAt(nStartLine + 1, nEndLine - nStartLine);
  }
  if (pcGrown) {
    if (pStart->m_nStorage & SLineInfo::SLAB_TEXT)
      pStart->m_nStorage &= static_cast<std::uint8_t>(~SLineInfo::SLAB_TEXT);
    else
      delete[] pStart->m_pcLine;
    pStart->m_pcLine = pcGrown.release();
    pStart->m_nMax = nGrownMax;
  }
  pStart->m_nLength = nNewLength;
  CommitEdit(pCommit);

  CDeleteContext context(CPoint(nStartChar, nStartLine), CPoint(nEndChar, nEndLine));
  NotifyEdit(pSource, context,
             nStartLine == nEndLine ? (UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ) : (UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT),
             nStartLine);
  return 1;
}

void QuillTextBuffer::NotifyEdit(ITextBufferListener* pSource, CUpdateContext& context, unsigned long dwUpdateFlags,
                                 int nLine) {
  try {
    UpdateViews(pSource, &context, dwUpdateFlags, nLine);
  } catch (...) {
    if (!m_bModified) SetModified(1);
    throw;
  }
  if (!m_bModified) SetModified(1);
}

// The record is complete before the text changes; storing it then cannot fail.
template <typename Edit>
int QuillTextBuffer::RecordedEdit(ITextBufferListener* pSource, SUndoRecord& rec, Edit edit) {
  m_aUndoBuf.emplace_back();
  const bool bGroupOpen = m_bUndoGroup;
  if (!bGroupOpen) BeginUndoGroup();
  SEditCommit commit{&rec, 0};
  try {
    edit(commit);
  } catch (...) {
    if (commit.pRecord != nullptr) m_aUndoBuf.pop_back();  // nothing changed
    if (!bGroupOpen) m_bUndoGroup = false;
    throw;
  }
  if (!bGroupOpen) FlushUndoGroup(pSource);
  return 1;
}

int QuillTextBuffer::InsertText(ITextBufferListener* pSource, int nLine, int nPos, const char* pszText, int& nEndLine,
                                int& nEndChar, int nAction) {
  if (pszText == nullptr) pszText = "";
  const std::vector<std::string_view> aSegments = SplitAtCR(pszText);
  const int nLast = static_cast<int>(aSegments.size()) - 1;
  SUndoRecord rec;
  rec.m_dwFlags = UNDOREC_INSERT;
  rec.m_ptStartPos = CPoint(nPos, nLine);
  rec.m_ptEndPos = CPoint((nLast == 0 ? nPos : 0) + static_cast<int>(aSegments[nLast].size()), nLine + nLast);
  rec.m_nAction = nAction;
  rec.m_text = pszText;
  return RecordedEdit(pSource, rec, [&](SEditCommit& commit) {
    InsertSegments(pSource, nLine, nPos, aSegments, nEndLine, nEndChar, &commit);
  });
}

int QuillTextBuffer::DeleteText(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                                int nAction) {
  SUndoRecord rec;
  rec.m_ptStartPos = CPoint(nStartChar, nStartLine);
  rec.m_ptEndPos = CPoint(nEndChar, nEndLine);
  rec.m_nAction = nAction;
  GetText(nStartLine, nStartChar, nEndLine, nEndChar, rec.m_text, kCRLF);
  // Lines holding a CR would come back split at it: keep their lengths for undo.
  if (rec.m_text.find('\r') != std::string::npos) {
    rec.m_pLineLengths = std::make_unique<std::vector<int>>();
    for (int i = nStartLine; i <= nEndLine; ++i) {
      const int nFrom = i == nStartLine ? nStartChar : 0;
      const int nTo = i == nEndLine ? nEndChar : m_aLines.Length(i);
      rec.m_pLineLengths->push_back(nTo - nFrom);
    }
  }
  return RecordedEdit(pSource, rec, [&](SEditCommit& commit) {
    DeleteRange(pSource, nStartLine, nStartChar, nEndLine, nEndChar, &commit);
  });
}

}  // namespace quill
