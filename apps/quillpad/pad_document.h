#pragma once
// One open file of quillpad: the component's document (which owns the text buffer), with
// its document type taken from the file name and its title changes reported to whoever
// shows it.

#include <cstdint>
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

  // The type the user chose for the document, else the type its file's name and first
  // lines call for (TEXT for an unnamed document).
  quill::DocumentType GetDocumentType() const;
  // Shows the document as another type from now on (DOCTYPE_NONE: as its file calls for).
  void SetDocumentType(quill::DocumentType type) { m_chosenType = type; }

  // Saves and, on success, takes the file's new time as the one the text is based on.
  int OnSaveDocument(const char* path) override;

  // ---- Protection of the file on disk ----
  // The file held NUL bytes when it was loaded: the loader cuts a line at a NUL, so
  // saving the text would change the file. Such a document is read-only until it is
  // saved under another name.
  bool HoldsNulBytes() const { return m_bHoldsNul; }
  // The file changed outside since the text was loaded, reloaded or saved (false when it
  // does not exist).
  bool ChangedOutside() const;
  // The buffer was reloaded from the file.
  void OnReloaded();
  // The deletion of the file has been reported to the user.
  bool deletedReported = false;

  void SetTitle(const std::string& title) override;
  void SetModifiedFlag(bool modified = true) override;
  // Called after the title or the modified flag changed.
  std::function<void()> onChanged;

 private:
  // Takes the file's time and checks it for NUL bytes (making the buffer read-only and
  // telling the user when it has some).
  void InspectFile(const std::string& path);

  // Takes the first lines of the text, which decide the type of some files.
  void KeepHead();

  bool m_bHoldsNul = false;
  quill::DocumentType m_chosenType = quill::DOCTYPE_NONE;
  std::string m_head;
  std::uint64_t m_ftBase = 0;
};

}  // namespace quillpad
