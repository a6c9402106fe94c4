#pragma once
// One open file of quillpad: the component's document (which owns the text buffer), with
// its document type taken from the file name and its title changes reported to whoever
// shows it.

#include <cstdint>
#include <functional>
#include <string>

#include "documents/document.h"
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

  // Saves (the buffer then takes the written file as the one its text is based on).
  int OnSaveDocument(const char* path) override;

  // ---- Protection of the file on disk ----
  // The file held NUL bytes when it was loaded. The lines keep them and a save writes
  // them back, but the text of an edit (an insertion, an undo record) ends at its first
  // NUL, so editing could lose text: such a document stays read-only.
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
  // Says what the load found: mixed line breaks are said in the
  // status bar; NUL bytes make the buffer read-only, said in a message.
  void InspectFile(const std::string& path);
  // Makes the buffer read-only, leaving the file's attributes as they are.
  void KeepReadOnly();

  // Takes the first lines of the text, which decide the type of some files.
  void KeepHead();

  bool m_bHoldsNul = false;
  quill::DocumentType m_chosenType = quill::DOCTYPE_NONE;
  std::string m_head;
};

}  // namespace quillpad
