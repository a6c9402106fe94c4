#include "pad_document.h"

#include "languages.h"

namespace quillpad {

namespace {
// The template of quillpad's documents: the save prompt's filter and default extension.
quill::CDocTemplate& PadTemplate() {
  static quill::CDocTemplate tmpl(
      "\nText\nUntitled\nText and design files\n"
      ".txt;.sp;.spi;.cir;.net;.cdl;.svrf;.cal;.rul;.drc;.dra;.c;.h;.cpp;.cc;.hpp;.cxx;.log\n");
  return tmpl;
}
}  // namespace

PadDocument::PadDocument() { SetDocTemplate(&PadTemplate()); }

int PadDocument::OnNewDocument() {
  const int result = QuillDocument::OnNewDocument();
  m_xTextBuffer.SetCRLFMode(quill::CRLF_MODE_UNIX);
  return result;
}

int PadDocument::OnOpenDocument(const char* path) {
  if (QuillDocument::OnOpenDocument(path) == 0) {
    OnNewDocument();
    return 0;
  }
  SetPathName(path);
  SetModifiedFlag(false);
  return 1;
}

quill::DocumentType PadDocument::GetDocumentType() const {
  return m_strPathName.empty() ? quill::DOCTYPE_TEXT : DocumentTypeForPath(m_strPathName);
}

void PadDocument::SetTitle(const std::string& title) {
  QuillDocument::SetTitle(title);
  if (onChanged) onChanged();
}

void PadDocument::SetModifiedFlag(bool modified) {
  QuillDocument::SetModifiedFlag(modified);
  if (onChanged) onChanged();
}

}  // namespace quillpad
