// Cut, copy and paste through the platform clipboard (plain 8-bit text).

#include <algorithm>
#include <string>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/clipboard.h"
#include "platform/doc_framework.h"
#include "view/edit_group.h"
#include "view/quill_view.h"

namespace quill {

bool QuillView::TextInClipboard() { return CurrentClipboard().HasText(); }

bool QuillView::PutToClipboard(const char* pszText) {
  if (pszText == nullptr || *pszText == '\0') return false;
  CWaitCursor wait;
  return CurrentClipboard().SetText(pszText);
}

bool QuillView::GetFromClipboard(std::string& text) {
  const std::optional<std::string> clip = CurrentClipboard().GetText();
  if (!clip) return false;
  // The clipboard's text ends at its first NUL.
  text.assign(clip->c_str());
  return true;
}

void QuillView::Copy() {
  if (!IsSelection()) return;
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  std::string text;
  GetText(ptStart, ptEnd, text);
  // The clipboard's text ends at a NUL: NUL bytes go as spaces, with the text after them.
  std::replace(text.begin(), text.end(), '\0', ' ');
  PutToClipboard(text.c_str());
}

void QuillView::Cut() {
  if (!CanEdit() || !IsSelection()) return;
  Copy();
  CPoint ptStart, ptEnd;
  GetSelection(ptStart, ptEnd);
  PlaceAt(ptStart);
  DeleteRange(ptStart, ptEnd, UNDO_ACTION_CUT);
}

void QuillView::Paste() {
  if (!CanEdit()) return;
  EditGroup group(*this, false);
  DeleteCurrentSelection();
  std::string text;
  if (GetFromClipboard(text) && !text.empty()) {
    PlaceAt(InsertAt(m_ptCursorPos, text.c_str(), UNDO_ACTION_PASTE));
  }
  group.Close();
}

void QuillView::OnEditCopy() { Copy(); }
void QuillView::OnEditCut() { Cut(); }
void QuillView::OnEditPaste() { Paste(); }

void QuillView::OnUpdateEditPaste(CCmdUI* pCmdUI) {
  if (pCmdUI != nullptr) pCmdUI->Enable(TextInClipboard());
}

}  // namespace quill
