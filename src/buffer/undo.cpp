// Undo and redo: records, groups, the modified flag and the document title mark.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "platform/exceptions.h"
#include "resources/strings.h"
#include "view/quill_view.h"

namespace quill {

namespace {

constexpr char kModifiedMark[] = " *";

POSITION ToPosition(int nIndex) { return reinterpret_cast<POSITION>(static_cast<std::intptr_t>(nIndex)); }
int FromPosition(POSITION pos) { return static_cast<int>(reinterpret_cast<std::intptr_t>(pos)); }

// The lines of a deletion record's text, joined there by CR LF.
std::vector<std::string_view> DeletedLines(const QuillTextBuffer::SUndoRecord& rec) {
  std::vector<std::string_view> aLines;
  const std::string_view text = rec.GetText();
  if (rec.m_pLineLengths) {
    std::size_t nPos = 0;
    for (const int nLength : *rec.m_pLineLengths) {
      aLines.push_back(text.substr(std::min(nPos, text.size()), static_cast<std::size_t>(nLength)));
      nPos += static_cast<std::size_t>(nLength) + 2;
    }
    return aLines;
  }
  std::size_t nPos = 0;
  for (;;) {
    const std::size_t nBreak = text.find('\r', nPos);
    aLines.push_back(text.substr(nPos, nBreak == std::string_view::npos ? std::string_view::npos : nBreak - nPos));
    if (nBreak == std::string_view::npos) return aLines;
    nPos = nBreak + 1;
    if (nPos < text.size() && text[nPos] == '\n') ++nPos;
  }
}

}  // namespace

// ---- SUndoRecord ----

void QuillTextBuffer::SUndoRecord::SetText(const char* pszText) {
  FreeText();
  if (pszText == nullptr || pszText[0] == '\0') return;
  if (pszText[1] == '\0') {
    m_szText[0] = pszText[0];
    m_szText[1] = '\0';
    m_bInline = true;
    return;
  }
  const std::size_t nSize = std::strlen(pszText) + 1;
  m_pszText = new char[nSize];
  std::memcpy(m_pszText, pszText, nSize);
}

void QuillTextBuffer::SUndoRecord::FreeText() {
  if (!m_bInline) delete[] m_pszText;
  m_pszText = nullptr;
  m_bInline = false;
}

void QuillTextBuffer::FreeUndoRecords(std::size_t nFrom) {
  for (std::size_t i = nFrom; i < m_aUndoBuf.size(); ++i) m_aUndoBuf[i].FreeText();
  m_aUndoBuf.resize(nFrom);
}

// ---- recording ----

void QuillTextBuffer::AddUndoRecord(int bInsert, const CPoint& ptStartPos, const CPoint& ptEndPos,
                                    const char* pszText, int nActionType) {
  // A new edit discards the redo history. A saved state inside it can never come back.
  if (m_nSyncPosition > m_nUndoPosition) m_nSyncPosition = -1;
  FreeUndoRecords(static_cast<std::size_t>(m_nUndoPosition));

  // Full: drop the oldest group. The saved position shifts with the records; once its
  // state has been dropped it stays negative, which no undo position can equal, so the
  // text never looks saved again until the next save.
  if (static_cast<int>(m_aUndoBuf.size()) >= m_nUndoBufSize && !m_aUndoBuf.empty()) {
    std::size_t nDrop = 1;
    while (nDrop < m_aUndoBuf.size() && !(m_aUndoBuf[nDrop].m_dwFlags & UNDOREC_GROUPSTART)) ++nDrop;
    for (std::size_t i = 0; i < nDrop; ++i) m_aUndoBuf[i].FreeText();
    m_aUndoBuf.erase(m_aUndoBuf.begin(), m_aUndoBuf.begin() + static_cast<std::ptrdiff_t>(nDrop));
    if (m_nSyncPosition >= 0) {
      m_nSyncPosition -= static_cast<int>(nDrop);
      if (m_nSyncPosition < 0) m_nSyncPosition = -1;
    }
  }

  SUndoRecord record;
  record.m_dwFlags = bInsert ? UNDOREC_INSERT : 0;
  if (m_bUndoBeginGroup) {
    record.m_dwFlags |= UNDOREC_GROUPSTART;
    m_bUndoBeginGroup = false;
  }
  record.m_ptStartPos = ptStartPos;
  record.m_ptEndPos = ptEndPos;
  record.m_nAction = nActionType;
  record.SetText(pszText);
  try {
    m_aUndoBuf.push_back(record);
  } catch (...) {
    record.FreeText();
    throw;
  }
  m_nUndoPosition = static_cast<int>(m_aUndoBuf.size());
}

void QuillTextBuffer::BeginUndoGroup(int bMergeWithPrevious) {
  m_bUndoGroup = true;
  m_bUndoBeginGroup = m_nUndoPosition == 0 || !bMergeWithPrevious;
}

void QuillTextBuffer::FlushUndoGroup(QuillView* pSource) {
  if (pSource != nullptr && m_nUndoPosition > 0) {
    m_bUndoBeginGroup = true;
    const SUndoRecord& last = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition - 1)];
    // The view may edit again from here (auto indent): pass a copy of the text.
    const std::string text = last.GetText();
    const int nAction = last.m_nAction;
    m_bUndoGroup = false;
    pSource->OnEditOperation(nAction, text.c_str());
  }
  m_bUndoGroup = false;
}

// ---- undo and redo ----

void QuillTextBuffer::UpdateModifiedAfterUndo() {
  if (m_bModified && m_nSyncPosition == m_nUndoPosition)
    SetModified(0);
  else if (!m_bModified && m_nSyncPosition != m_nUndoPosition)
    SetModified(1);
}

int QuillTextBuffer::Undo(CPoint& ptCursorPos) {
  if (m_nUndoPosition <= 0) throw InvalidArgException("nothing to undo");
  for (;;) {
    --m_nUndoPosition;
    const SUndoRecord& rec = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition)];
    if (rec.m_dwFlags & UNDOREC_INSERT) {
      InternalDeleteText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y, rec.m_ptEndPos.x);
      ptCursorPos = rec.m_ptStartPos;
    } else {
      int nEndLine = 0, nEndChar = 0;
      InsertSegments(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, DeletedLines(rec), nEndLine, nEndChar);
      ptCursorPos = rec.m_ptEndPos;
    }
    if ((rec.m_dwFlags & UNDOREC_GROUPSTART) || m_nUndoPosition == 0) break;
  }
  UpdateModifiedAfterUndo();
  return 1;
}

int QuillTextBuffer::Redo(CPoint& ptCursorPos) {
  const int nCount = static_cast<int>(m_aUndoBuf.size());
  if (m_nUndoPosition >= nCount) throw InvalidArgException("nothing to redo");
  do {
    const SUndoRecord& rec = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition)];
    if (rec.m_dwFlags & UNDOREC_INSERT) {
      int nEndLine = 0, nEndChar = 0;
      InternalInsertText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.GetText(), nEndLine, nEndChar);
      ptCursorPos = rec.m_ptEndPos;
    } else {
      InternalDeleteText(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y, rec.m_ptEndPos.x);
      ptCursorPos = rec.m_ptStartPos;
    }
    ++m_nUndoPosition;
  } while (m_nUndoPosition < nCount &&
           !(m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition)].m_dwFlags & UNDOREC_GROUPSTART));
  UpdateModifiedAfterUndo();
  return 1;
}

// ---- descriptions ----

int QuillTextBuffer::GetActionDescription(int nAction, std::string& desc) {
  static constexpr unsigned kIds[] = {
      IDS_EDITOP_UNKNOWN, IDS_EDITOP_PASTE,  IDS_EDITOP_DELSELECTION, IDS_EDITOP_CUT,
      IDS_EDITOP_TYPING,  IDS_EDITOP_BACKSPACE, IDS_EDITOP_INDENT,    IDS_EDITOP_DRAGDROP,
      IDS_EDITOP_REPLACE, IDS_EDITOP_DELETE, IDS_EDITOP_AUTOINDENT,
  };
  if (nAction < 0 || nAction >= static_cast<int>(std::size(kIds))) return 0;
  return LoadString(kIds[nAction], desc) ? 1 : 0;
}

POSITION QuillTextBuffer::GetUndoDescription(std::string& desc, POSITION pos) {
  int nIndex = pos == nullptr ? m_nUndoPosition : FromPosition(pos);
  if (nIndex <= 0 || nIndex > static_cast<int>(m_aUndoBuf.size())) throw InvalidArgException("nothing to undo");
  --nIndex;
  while (nIndex > 0 && !(m_aUndoBuf[static_cast<std::size_t>(nIndex)].m_dwFlags & UNDOREC_GROUPSTART)) --nIndex;
  if (!GetActionDescription(m_aUndoBuf[static_cast<std::size_t>(nIndex)].m_nAction, desc)) desc.clear();
  return ToPosition(nIndex);
}

POSITION QuillTextBuffer::GetRedoDescription(std::string& desc, POSITION pos) {
  const int nCount = static_cast<int>(m_aUndoBuf.size());
  int nIndex = pos == nullptr ? m_nUndoPosition : FromPosition(pos);
  if (nIndex < 0 || nIndex >= nCount) throw InvalidArgException("nothing to redo");
  if (!GetActionDescription(m_aUndoBuf[static_cast<std::size_t>(nIndex)].m_nAction, desc)) desc.clear();
  ++nIndex;
  while (nIndex < nCount && !(m_aUndoBuf[static_cast<std::size_t>(nIndex)].m_dwFlags & UNDOREC_GROUPSTART))
    ++nIndex;
  return nIndex < nCount ? ToPosition(nIndex) : nullptr;
}

// ---- modified flag ----

void QuillTextBuffer::SetModified(int bModified) {
  m_bModified = bModified != 0;
  if (m_lpViews.empty()) return;
  CDocument* pDoc = m_lpViews.back()->GetDocument();
  if (pDoc == nullptr) return;
  std::string title = pDoc->GetTitle();
  const std::size_t nSep = title.find_last_of("\\:");
  if (nSep != std::string::npos && nSep != 0) title.erase(0, nSep + 1);
  pDoc->SetModifiedFlag(m_bModified);
  for (std::size_t nMark = title.find(kModifiedMark); nMark != std::string::npos; nMark = title.find(kModifiedMark))
    title.erase(nMark, std::strlen(kModifiedMark));
  if (!title.empty() && m_bModified) title += kModifiedMark;
  pDoc->SetTitle(title);
}

}  // namespace quill
