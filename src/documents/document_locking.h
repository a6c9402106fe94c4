#pragma once
// QuillDocumentLocking: a document that keeps its file open for its whole life, so that
// other programs (other quill processes among them) may read it but not write it. When
// it cannot get write access it opens the file read-only; it can delete its file when it
// is destroyed.
//
// Saving keeps the file locked throughout. The save itself writes a temporary file and
// renames it over the path (QuillTextBuffer::SaveToFile), so the disk always holds the
// old or the new text in full. While that save runs, the document's hold counts as this
// document's own write access: the save's writability check and any in-place rewrite go
// through the held file, readers of the path may share it, and just before the temporary
// file is renamed over the path the document opens and locks the temporary file; after
// the rename that new hold replaces the old one. The lock thus moves with the name from
// the old file to the new one without a moment in which the path is unlocked.

#include <memory>
#include <string>

#include "documents/buffer_document.h"
#include "platform/held_file.h"

namespace quill {

class QuillDocumentLocking : public QuillBufferDocument {
 public:
  static constexpr const char* kClassName = "QuillDocumentLocking";
  static std::unique_ptr<CDocument> CreateObject();

  QuillDocumentLocking();
  // Releases the held file and, with delete on closing, deletes it.
  ~QuillDocumentLocking() override;

  bool IsLockingTextDocument() const override { return true; }

  // Holds the file (read-write with writing denied to others, else read-only) and loads
  // it through the held file. 0 when the file cannot be opened or its load fails; then
  // nothing is held. A read-only hold never changes the file's attributes on disk.
  int OnOpenDocument(const char* pszPathName) override;
  int OnSaveDocument(const char* pszPathName) override;
  int DoSave(const char* pszPathName, int bReplace = 1) override;

  CDocumentFile* GetHeldFile() const override { return m_pFile.get(); }
  // The path of the held file; empty when none is held.
  std::string GetHeldPath() const { return m_pFile ? m_pFile->GetFilePath() : std::string(); }
  // The held file was opened for writing (false when none is held or it is read-only).
  bool HoldsForWriting() const { return m_pFile != nullptr && m_bWritable; }

 protected:
  // Saves through SaveToFile while hold stands for this document's write access to path.
  int SaveHeld(const char* pszPathName, std::unique_ptr<CHeldFile>& hold);
  void ReleaseFile();

  std::unique_ptr<CHeldFile> m_pFile;
  bool m_bWritable = false;
};

}  // namespace quill
