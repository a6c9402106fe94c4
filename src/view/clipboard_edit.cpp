// Cut, copy and paste through the platform clipboard: Windows-1252 documents exchange
// their bytes, UTF-8 documents their text as UTF-8; text coming in is brought into the
// document's encoding or refused.

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
  if (IsUtf8Text()) return CurrentClipboard().SetUtf8Text(pszText);
  return CurrentClipboard().SetText(pszText);
}

bool QuillView::GetFromClipboard(std::string& text) {
  const std::optional<std::string> clip = CurrentClipboard().GetUtf8Text();
  if (!clip) return false;
  // The clipboard's text ends at its first NUL.
  return EncodeIncomingText(std::string_view(clip->c_str()), text);
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
