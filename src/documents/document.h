#pragma once
// QuillDocument: a document that owns one text buffer and opens its file only while it
// loads or saves it. It connects the framework's new, open, save and close steps to the
// buffer, offers a save driven by the user's save option, and a go-to-line service.

#include <memory>

#include "documents/buffer_document.h"

namespace quill {

class QuillDocument : public QuillBufferDocument {
 public:
  // Created dynamically by its document template under this class name.
  static constexpr const char* kClassName = "QuillDocument";
  static std::unique_ptr<CDocument> CreateObject();

  QuillDocument() = default;

  bool IsPlainTextDocument() const override { return true; }

  int OnOpenDocument(const char* pszPathName) override;
  int OnSaveDocument(const char* pszPathName) override;
  // Save as; on success with bReplace the most recently attached view records the
  // file's new last-write time.
  int DoSave(const char* pszPathName, int bReplace = 1) override;
  // Saves under the document's path, or asks for a name when the file is missing,
  // marked read-only or the buffer is read-only.
  int DoFileSave() override;

  // Asks "save it?" when the document is modified and the user's save option is to be
  // asked; saves on Yes. 0 when nothing was saved. (Delete on closing is only stored: a
  // plain document keeps no file that it could delete.)
  int DoSaveIf();
};

}  // namespace quill
