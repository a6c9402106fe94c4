// QuillView: characters of the document's encoding. Caret steps over whole characters, and
// text crossing the desktop boundary is brought into the encoding or refused whole.

#include <string>
#include <string_view>

#include "buffer/text_buffer.h"
#include "platform/format.h"
#include "platform/text_encoding.h"
#include "view/quill_view.h"

namespace quill {

int QuillView::GetTextEncoding() const {
  return m_pTextBuffer != nullptr ? m_pTextBuffer->GetEncoding() : ENCODING_WINDOWS_1252;
}

bool QuillView::IsUtf8Text() const { return m_pTextBuffer != nullptr && m_pTextBuffer->IsUtf8(); }

int QuillView::NextCharPos(int nLineIndex, int nPos) {
  const int nLength = GetLineLength(nLineIndex);
  if (nPos >= nLength) return nLength;
  if (!IsUtf8Text()) return nPos + 1;
  return Utf8NextCharPos(GetLineChars(nLineIndex), nLength, nPos);
}

int QuillView::PrevCharPos(int nLineIndex, int nPos) {
  if (nPos <= 0) return 0;
  if (!IsUtf8Text()) return nPos - 1;
  return Utf8PrevCharPos(GetLineChars(nLineIndex), GetLineLength(nLineIndex), nPos);
}

bool QuillView::EncodeIncomingText(std::string_view text, std::string& out) {
  char32_t cpMissing = 0;
  if (Utf8ToEncoding(text, GetTextEncoding(), out, cpMissing)) return true;
  SetToolBarMessage(Format("%s cannot be stored in this %s document: nothing was inserted.",
                           CodePointLabel(cpMissing).c_str(), EncodingName(GetTextEncoding())));
  return false;
}

std::string QuillView::DecodeOutgoingText(std::string_view bytes) const {
  return EncodingToUtf8(bytes, GetTextEncoding());
}

void QuillView::OnUnicodeChar(char32_t cp) {
  if (IsUtf8Text() || cp < 0x80) {
    OnChar(static_cast<unsigned>(cp), 1, 0);
    return;
  }
  const int nByte = CodePointToCp1252Byte(cp);
  if (nByte < 0) {
    std::string text;
    AppendUtf8(text, cp);
    std::string unused;
    EncodeIncomingText(text, unused);  // refused, with its message
    return;
  }
  OnChar(static_cast<unsigned>(nByte), 1, 0);
}

void QuillView::OnInputText(std::string_view text) {
  std::string bytes;
  if (text.empty() || !EncodeIncomingText(text, bytes)) return;
  InsertText(bytes.c_str());
}

}  // namespace quill
