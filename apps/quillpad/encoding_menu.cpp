#include "encoding_menu.h"

#include <string>
#include <vector>

#include "language_views.h"
#include "pad_document.h"
#include "platform/app_services.h"
#include "platform/format.h"
#include "platform/text_encoding.h"

namespace quillpad {

namespace {

constexpr char kReopenModified[] =
    "%s\n\nThis file has been modified. Reopening it as %s discards the changes.\n"
    "Do you want to reopen it?";
constexpr char kCannotHold[] =
    "Line %d holds %s, which %s cannot hold. The document was not converted.";

}  // namespace

bool ReopenWithEncoding(PadDocument& doc, LanguageView& view, int nEncoding) {
  const std::string& path = doc.GetPathName();
  if (path.empty()) return false;
  quill::QuillTextBuffer& buffer = doc.GetTextBuffer();
  if (buffer.IsModified() &&
      quill::AfxMessageBox(quill::Format(kReopenModified, path.c_str(), quill::EncodingName(nEncoding)),
                           quill::MB_YESNO | quill::MB_ICONQUESTION) != quill::IDYES) {
    return false;
  }
  view.ReloadFromFile();
  buffer.SetEncoding(nEncoding);
  return true;
}

bool ConvertToEncoding(PadDocument& doc, LanguageView& view, int nEncoding, bool& bEdited) {
  bEdited = false;
  quill::QuillTextBuffer& buffer = doc.GetTextBuffer();
  if (buffer.GetEncoding() == nEncoding) return true;
  // Every line is converted before the text changes, so that a refusal changes nothing.
  std::vector<std::pair<int, std::string>> changed;
  for (int line = 0; line < buffer.GetLineCount(); ++line) {
    const std::string_view bytes(buffer.GetLineChars(line), static_cast<std::size_t>(buffer.GetLineLength(line)));
    if (quill::IsAscii(bytes.data(), bytes.size())) continue;
    std::string text;
    if (nEncoding == quill::ENCODING_UTF8) {
      text = quill::Cp1252ToUtf8(bytes);
    } else {
      char32_t cpMissing = 0;
      if (!quill::Utf8ToCp1252(bytes, text, cpMissing)) {
        quill::AfxMessageBox(quill::Format(kCannotHold, line + 1, quill::CodePointLabel(cpMissing).c_str(),
                                           quill::EncodingName(nEncoding)),
                             quill::MB_OK | quill::MB_ICONWARNING);
        return false;
      }
    }
    changed.emplace_back(line, std::move(text));
  }
  if (!changed.empty()) {
    buffer.BeginUndoGroup();
    for (const auto& [line, text] : changed) {
      int endLine = 0;
      int endChar = 0;
      buffer.DeleteText(&view, line, 0, line, buffer.GetLineLength(line));
      buffer.InsertText(&view, line, 0, text.c_str(), endLine, endChar);
    }
    buffer.FlushUndoGroup(&view);
    bEdited = true;
  }
  buffer.SetEncoding(nEncoding);
  return true;
}

}  // namespace quillpad
