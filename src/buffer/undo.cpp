// Undo and redo: records, groups and the modified flag.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "platform/exceptions.h"
#include "resources/strings.h"

namespace quill {

namespace {

POSITION ToPosition(int nIndex) { return reinterpret_cast<POSITION>(static_cast<std::intptr_t>(nIndex)); }
int FromPosition(POSITION pos) { return static_cast<int>(reinterpret_cast<std::intptr_t>(pos)); }

// The lines of a deletion record's text, joined there by CR LF.
std::vector<std::string_view> DeletedLines(const QuillTextBuffer::SUndoRecord& rec) {
  std::vector<std::string_view> aLines;
  const std::string_view text = rec.m_text;
  if (rec.m_pLineLengths) {
    std::size_t nPos = 0;
    for (const int nLength : *rec.m_pLineLengths) {
      aLines.push_back(text.substr(std::min(nPos, text.size()), static_cast<std::size_t>(nLength)));
      nPos += static_cast<std::size_t>(nLength) + 2;
    }
    return aLines;
  }
  return QuillTextBuffer::SplitAtCR(text);
}

}  // namespace

// ---- recording ----

std::size_t QuillTextBuffer::UndoRecordBytes(const SUndoRecord& rec) {
  std::size_t nBytes = sizeof(SUndoRecord) + rec.m_text.size();
  if (rec.m_pLineLengths) nBytes += rec.m_pLineLengths->size() * sizeof(int);
  return nBytes;
}

void QuillTextBuffer::CountUndoRecord(const SUndoRecord& rec, int nSign) {
  if (rec.m_dwFlags & UNDOREC_GROUPSTART) m_nUndoGroups += nSign;
  if (nSign > 0)
    m_nUndoBytes += UndoRecordBytes(rec);
  else
    m_nUndoBytes -= UndoRecordBytes(rec);
}

void QuillTextBuffer::FreeUndoRecords(std::size_t nFrom) {
  for (std::size_t i = nFrom; i < m_aUndoBuf.size(); ++i) CountUndoRecord(m_aUndoBuf[i], -1);
  m_aUndoBuf.erase(m_aUndoBuf.begin() + static_cast<std::ptrdiff_t>(nFrom), m_aUndoBuf.end());
}

void QuillTextBuffer::AddUndoRecord(int bInsert, const CPoint& ptStartPos, const CPoint& ptEndPos,
                                    const char* pszText, int nActionType) {
  SUndoRecord rec;
  rec.m_dwFlags = bInsert ? UNDOREC_INSERT : 0;
  rec.m_ptStartPos = ptStartPos;
  rec.m_ptEndPos = ptEndPos;
  rec.m_nAction = nActionType;
  if (pszText != nullptr) rec.m_text = pszText;
  m_aUndoBuf.emplace_back();
  StoreUndoRecord(rec);
}

void QuillTextBuffer::StoreUndoRecord(SUndoRecord& rec) noexcept {
  // A new edit discards the redo history, which lies between the undo position and the
  // room made for this record. A saved state inside it can never come back.
  if (m_nSyncPosition > m_nUndoPosition) m_nSyncPosition = -1;
  const auto itRedo = m_aUndoBuf.begin() + m_nUndoPosition;
  const auto itRoom = m_aUndoBuf.end() - 1;
  for (auto it = itRedo; it != itRoom; ++it) CountUndoRecord(*it, -1);
  m_aUndoBuf.erase(itRedo, itRoom);

  if (m_bUndoBeginGroup || m_aUndoBuf.size() == 1) {
    rec.m_dwFlags |= UNDOREC_GROUPSTART;
    m_bUndoBeginGroup = false;
  }
  m_aUndoBuf.back() = std::move(rec);
  CountUndoRecord(m_aUndoBuf.back(), 1);
  m_nUndoPosition = static_cast<int>(m_aUndoBuf.size());

  while (m_nUndoGroups > 1 && (m_nUndoGroups > m_nUndoBufSize || m_nUndoBytes > m_nUndoMemoryLimit))
    DropOldestUndoGroup();
}

// The saved position shifts with the records; once its state has been dropped it stays
// negative, which no undo position can equal, so the text never looks saved again until
// the next save.
void QuillTextBuffer::DropOldestUndoGroup() noexcept {
  int nDrop = 0;
  do {
    CountUndoRecord(m_aUndoBuf.front(), -1);
    m_aUndoBuf.pop_front();
    ++nDrop;
  } while (!(m_aUndoBuf.front().m_dwFlags & UNDOREC_GROUPSTART));
  m_nUndoPosition -= nDrop;
  if (m_nSyncPosition >= 0) {
    m_nSyncPosition -= nDrop;
    if (m_nSyncPosition < 0) m_nSyncPosition = -1;
  }
}

void QuillTextBuffer::CommitEdit(SEditCommit* pCommit) noexcept {
  if (pCommit == nullptr) return;
  if (pCommit->pRecord != nullptr) {
    StoreUndoRecord(*pCommit->pRecord);
    pCommit->pRecord = nullptr;
  }
  m_nUndoPosition += pCommit->nUndoStep;
}

void QuillTextBuffer::BeginUndoGroup(int bMergeWithPrevious) {
  m_bUndoGroup = true;
  m_bUndoBeginGroup = m_nUndoPosition == 0 || !bMergeWithPrevious;
}

void QuillTextBuffer::TakeBackEdits(int nEdits) {
  const int nFirst = m_nUndoPosition - nEdits;
  if (nEdits <= 0 || nFirst < 0) return;
  // The first record starts a group of its own, so one Undo reverts exactly these records;
  // they are then dropped, not kept for Redo.
  SUndoRecord& first = m_aUndoBuf[static_cast<std::size_t>(nFirst)];
  CountUndoRecord(first, -1);
  first.m_dwFlags |= UNDOREC_GROUPSTART;
  CountUndoRecord(first, 1);
  CPoint pt;
  Undo(pt);
  FreeUndoRecords(static_cast<std::size_t>(nFirst));
}

void QuillTextBuffer::FlushUndoGroup(ITextBufferListener* pSource) {
  if (pSource != nullptr && m_nUndoPosition > 0) {
    m_bUndoBeginGroup = true;
    m_bUndoGroup = false;
    const SUndoRecord& last = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition - 1)];
    // The view may edit again from here (auto indent): pass a copy of the text.
    const std::string text = last.m_text;
    pSource->OnEditOperation(last.m_nAction, text.c_str());
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

// Undo and redo move the undo position one record at a time, as each record's text
// changes (SEditCommit). A failure part way leaves the group partly undone or redone, with
// the position at the last record applied: text, history and modified flag still agree.
int QuillTextBuffer::Undo(CPoint& ptCursorPos) {
  if (m_nUndoPosition <= 0) throw InvalidArgException("nothing to undo");
  try {
    bool bGroupStart = false;
    do {
      const SUndoRecord& rec = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition - 1)];
      bGroupStart = (rec.m_dwFlags & UNDOREC_GROUPSTART) != 0;
      SEditCommit commit{nullptr, -1};
      if (rec.m_dwFlags & UNDOREC_INSERT) {
        DeleteRange(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y, rec.m_ptEndPos.x, &commit);
        ptCursorPos = rec.m_ptStartPos;
      } else {
        int nEndLine = 0, nEndChar = 0;
        InsertSegments(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, DeletedLines(rec), nEndLine, nEndChar,
                       &commit);
        ptCursorPos = rec.m_ptEndPos;
      }
    } while (!bGroupStart && m_nUndoPosition > 0);
  } catch (...) {
    UpdateModifiedAfterUndo();
    throw;
  }
  UpdateModifiedAfterUndo();
  return 1;
}

int QuillTextBuffer::Redo(CPoint& ptCursorPos) {
  const int nCount = static_cast<int>(m_aUndoBuf.size());
  if (m_nUndoPosition >= nCount) throw InvalidArgException("nothing to redo");
  try {
    do {
      const SUndoRecord& rec = m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition)];
      SEditCommit commit{nullptr, 1};
      if (rec.m_dwFlags & UNDOREC_INSERT) {
        int nEndLine = 0, nEndChar = 0;
        InsertSegments(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, SplitAtCR(rec.GetText()), nEndLine,
                       nEndChar, &commit);
        ptCursorPos = rec.m_ptEndPos;
      } else {
        DeleteRange(nullptr, rec.m_ptStartPos.y, rec.m_ptStartPos.x, rec.m_ptEndPos.y, rec.m_ptEndPos.x, &commit);
        ptCursorPos = rec.m_ptStartPos;
      }
    } while (m_nUndoPosition < nCount &&
             !(m_aUndoBuf[static_cast<std::size_t>(m_nUndoPosition)].m_dwFlags & UNDOREC_GROUPSTART));
  } catch (...) {
    UpdateModifiedAfterUndo();
    throw;
  }
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
  if (CDocument* pDoc = m_lpViews.back()->GetListenerDocument()) pDoc->OnTextModifiedChanged(m_bModified);
}

}  // namespace quill
