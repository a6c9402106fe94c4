#pragma once
// One open file of quillpad: the document that owns the text buffer, with its title
// changes reported to whoever shows it.

#include <functional>
#include <string>

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "style/document_type.h"

namespace quillpad {

class PadDocument : public quill::CDocument {
 public:
  PadDocument() : m_buffer(this) {}

  quill::QuillTextBuffer& Buffer() { return m_buffer; }

  // An empty document of one line (UNIX line breaks, as files made here are).
  int OnNewDocument();
  // Loads the file; on failure (already reported to the user) the document stays empty.
  int OnOpenDocument(const char* path);
  // Saves under path and takes that name; a failure has been reported and changes nothing.
  int OnSaveDocument(const char* path);

  // The document type of the file's name (TEXT for an unnamed document).
  quill::DocumentType GetDocumentType() const;

  void SetTitle(const std::string& title) override;
  void SetModifiedFlag(bool modified = true) override;
  // Called after the title or the modified flag changed.
  std::function<void()> onChanged;

 private:
  quill::QuillTextBuffer m_buffer;
};

}  // namespace quillpad
