// Going to a line and the plain bookmark of the caret line.

#include <algorithm>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "view/quill_view.h"

namespace quill {

int QuillView::GotoLine(int nLine) {
  const int nIndex = std::clamp(nLine, 1, std::max(GetLineCount(), 1)) - 1;
  m_ptCursorPos = CPoint(0, nIndex);
  // Bring the line into view: the top line follows when it lies outside the screen.
  if (HasWindow()) {
    const int nScreenLines = std::max(GetScreenLines(), 1);
    if (nIndex < m_nTopLine || nIndex >= m_nTopLine + nScreenLines) {
      m_nTopLine = std::max(0, nIndex - nScreenLines / 2);
      InvalidateAll(false);
      RecalcVertScrollBar(1);
    }
    m_nOffsetChar = 0;
  }
  UpdateCaret();
  return nIndex;
}

int QuillView::SetBookmark() {
  if (m_pTextBuffer == nullptr) return 0;
  const int nLine = m_ptCursorPos.y;
  if (nLine < 0 || nLine >= m_pTextBuffer->GetLineCount()) return 0;
  m_pTextBuffer->SetLineFlag(nLine, LINEFLAG_BOOKMARK, 1, 0);
  m_bHasBookmarks = m_pTextBuffer->GetLineWithFlag(LINEFLAG_BOOKMARK) != -1;
  return 0;
}

}  // namespace quill
