#pragma once
// One open file of quillpad: the component's document (which owns the text buffer), with
// its document type taken from the file name and its title changes reported to whoever
// shows it.

#include <functional>
#include <string>

#include "buffer/document.h"
#include "style/document_type.h"

namespace quillpad {

class PadDocument : public quill::QuillDocument {
 public:
  PadDocument();
  // An empty document of one line; files made here get UNIX line breaks.
  int OnNewDocument() override;
  // Loads the file and takes its name; on failure (already reported to the user) the
  // document is left empty and unnamed.
  int OnOpenDocument(const char* path) override;

  // The document type of the file's name (TEXT for an unnamed document).
  quill::DocumentType GetDocumentType() const;

  void SetTitle(const std::string& title) override;
  void SetModifiedFlag(bool modified = true) override;
  // Called after the title or the modified flag changed.
  std::function<void()> onChanged;
};

}  // namespace quillpad
