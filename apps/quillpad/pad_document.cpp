#include "pad_document.h"

#include "languages.h"

namespace quillpad {

int PadDocument::OnNewDocument() {
  if (m_buffer.IsInit()) m_buffer.FreeAll();
  return m_buffer.InitNew(quill::CRLF_MODE_UNIX);
}

int PadDocument::OnOpenDocument(const char* path) {
  if (m_buffer.LoadFromFile(path, -1) == 0) {
    OnNewDocument();
    return 0;
  }
  SetPathName(path);
  SetModifiedFlag(false);
  return 1;
}

int PadDocument::OnSaveDocument(const char* path) {
  if (m_buffer.SaveToFile(path, -1, 1) == 0) return 0;
  SetPathName(path);
  return 1;
}

quill::DocumentType PadDocument::GetDocumentType() const {
  return m_strPathName.empty() ? quill::DOCTYPE_TEXT : DocumentTypeForPath(m_strPathName);
}

void PadDocument::SetTitle(const std::string& title) {
  CDocument::SetTitle(title);
  if (onChanged) onChanged();
}

void PadDocument::SetModifiedFlag(bool modified) {
  CDocument::SetModifiedFlag(modified);
  if (onChanged) onChanged();
}

}  // namespace quillpad
