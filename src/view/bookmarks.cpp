// Numbered and plain bookmarks, kept as line flags of the buffer, and the go-to dialog.

#include <algorithm>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/command_ui.h"
#include "view/command_ids.h"
#include "view/quill_view.h"
#include "view/view_dialogs.h"

namespace quill {

namespace {

constexpr unsigned kToggleBookmarkFirst = ID_EDIT_TOGGLE_BOOKMARK0;
constexpr unsigned kGoBookmarkFirst = ID_EDIT_GO_BOOKMARK0;
constexpr std::uint32_t kNumberedBookmarks = 0x03FF;

}  // namespace

void QuillView::GoToBookmarkLine(int nLine) {
  if (nLine < 0) return;
  const CPoint pt(0, nLine);
  m_ptCursorPos = pt;
  SetSelection(pt, pt);
  SetAnchor(pt);
  EnsureVisible(pt);
  UpdateCaret();
}

void QuillView::OnToggleBookmark(unsigned nCmdID) {
  if (m_pTextBuffer == nullptr) return;
  const int nLine = m_ptCursorPos.y;
  if (nLine < 0 || nLine >= m_pTextBuffer->GetLineCount()) return;
  const std::uint32_t dwFlag = LINEFLAG_BOOKMARK_N(static_cast<int>((nCmdID - kToggleBookmarkFirst) & 0x1F));
  const bool bSet = (m_pTextBuffer->GetLineFlags(nLine) & dwFlag) == 0;
  m_pTextBuffer->SetLineFlag(nLine, dwFlag, bSet ? 1 : 0, 1);
}

void QuillView::OnToggleBookmark() {
  if (m_pTextBuffer == nullptr) return;
  const int nLine = m_ptCursorPos.y;
  if (nLine < 0 || nLine >= m_pTextBuffer->GetLineCount()) return;
  const bool bSet = (m_pTextBuffer->GetLineFlags(nLine) & LINEFLAG_BOOKMARK) == 0;
  m_pTextBuffer->SetLineFlag(nLine, LINEFLAG_BOOKMARK, bSet ? 1 : 0, 0);
  m_bHasBookmarks = m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK) != -1;
}

int QuillView::RemoveBookmark() {
  if (m_pTextBuffer == nullptr) return 0;
  int nLine = m_ptCursorPos.y;
  if (nLine < 0) nLine = m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK);
  if (nLine >= 0 && nLine < m_pTextBuffer->GetLineCount())
    m_pTextBuffer->SetLineFlag(nLine, LINEFLAG_BOOKMARK, 0, 0);
  m_bHasBookmarks = m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK) != -1;
  return 0;
}

void QuillView::OnGoBookmark(unsigned nCmdID) {
  if (m_pTextBuffer == nullptr) return;
  const int n = static_cast<int>((nCmdID - kGoBookmarkFirst) & 0x1F);
  GoToBookmarkLine(m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK_N(n)));
}

int QuillView::GotoBookmark(int n) {
  OnGoBookmark(kGoBookmarkFirst + static_cast<unsigned>(n));
  return m_ptCursorPos.y;
}

void QuillView::OnClearBookmarks() {
  if (m_pTextBuffer == nullptr) return;
  for (int n = 0; n <= 9; ++n) {
    const int nLine = m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK_N(n));
    if (nLine >= 0) m_pTextBuffer->SetLineFlag(nLine, LINEFLAG_BOOKMARK_N(n), 0, 0);
  }
}

void QuillView::OnNextBookmark() {
  if (m_pTextBuffer == nullptr) return;
  GoToBookmarkLine(m_pTextBuffer->FindNextBookmarkLine(m_ptCursorPos.y));
}

void QuillView::OnPrevBookmark() {
  if (m_pTextBuffer == nullptr) return;
  GoToBookmarkLine(m_pTextBuffer->FindPrevBookmarkLine(m_ptCursorPos.y));
}

void QuillView::OnClearAllBookmarks() {
  if (m_pTextBuffer == nullptr) return;
  const int nLineCount = m_pTextBuffer->GetLineCount();
  for (int nLine = 0; nLine < nLineCount; ++nLine) {
    const std::uint32_t dwFlags = m_pTextBuffer->GetLineFlags(nLine);
    if (dwFlags & LINEFLAG_BOOKMARK) m_pTextBuffer->SetLineFlag(nLine, LINEFLAG_BOOKMARK, 0, 0);
    if (dwFlags & kNumberedBookmarks)
      m_pTextBuffer->SetLineFlag(nLine, dwFlags & kNumberedBookmarks, 0, 0);
  }
  m_bHasBookmarks = false;
}

void QuillView::OnUpdateNextBookmark(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bHasBookmarks); }
void QuillView::OnUpdateGoto(CCmdUI* pCmdUI) { pCmdUI->Enable(1); }

int QuillView::GotoColumn(int nColumn) {
  if (m_pTextBuffer == nullptr) return m_ptCursorPos.x;
  const int nLine = m_ptCursorPos.y;
  const int nWidth = GetLineActualLength(nLine);
  const int nIndex = std::min(std::max(nColumn, 1), std::max(nWidth, 1)) - 1;
  m_ptCursorPos.x = std::clamp(nIndex, 0, GetLineLength(nLine));
  EnsureVisible(m_ptCursorPos);
  UpdateCaret();
  return m_ptCursorPos.x;
}

void QuillView::OnEditGoto() {
  if (m_pTextBuffer == nullptr) return;
  IViewDialogs* pDialogs = GetViewDialogs();
  if (pDialogs == nullptr) return;
  GoToDialogFields dlg;
  dlg.nNumber = static_cast<unsigned>(m_ptCursorPos.y + 1);
  dlg.nMode = 0;
  if (pDialogs->RunGoTo(*this, dlg) != IDOK) return;
  switch (dlg.nMode) {
    case 0:
      GotoLine(static_cast<int>(dlg.nNumber));
      break;
    case 1:
      GotoColumn(static_cast<int>(dlg.nNumber));
      break;
    default:
      // Numbers above 9 would name other line flags: only the ten numbered bookmarks count.
      if (dlg.nNumber <= 9) OnGoBookmark(kGoBookmarkFirst + dlg.nNumber);
      break;
  }
}

}  // namespace quill
