#pragma once
// The framework's document as the component sees it: a title, a path name and the
// modified flag. The class keeps them in memory, which is all a headless host or a test
// needs; a windowing backend derives from it to mirror the title into its frame.

#include <cstdint>
#include <string>

namespace quill {

// A file a document keeps open for its whole life. Each operation throws a
// std::runtime_error when the file system fails.
class CDocumentFile {
 public:
  virtual ~CDocumentFile() = default;
  // Reads up to size bytes at the position; 0 at the end.
  virtual std::uint32_t Read(void* data, std::uint32_t size) = 0;
  virtual void Write(const void* data, std::uint32_t size) = 0;
  virtual std::uint64_t GetLength() const = 0;
  virtual void SetLength(std::uint64_t length) = 0;
  virtual void SeekToBegin() = 0;
};

class CDocument {
 public:
  CDocument() = default;
  virtual ~CDocument() = default;
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(const std::string& title) { m_strTitle = title; }

  const std::string& GetPathName() const { return m_strPathName; }
  // Sets the path and, as the framework does, the title to the path's file name.
  virtual void SetPathName(const std::string& path, bool addToMRU = true);

  bool IsModified() const { return m_bModified; }
  virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

  // The file the document holds open, or null: a plain document holds none.
  virtual CDocumentFile* GetHeldFile() const { return nullptr; }

 protected:
  std::string m_strTitle;
  std::string m_strPathName;
  bool m_bModified = false;
};

}  // namespace quill
