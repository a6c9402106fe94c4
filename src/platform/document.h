#pragma once
// The framework's document as the component sees it: a title, a path name and the
// modified flag, the document template it was created from, and the framework's default
// new, open, save and close steps. The class keeps its state in memory, which is all a
// headless host or a test needs; a windowing backend derives from it to mirror the title
// into its frame.

#include <cstdint>
#include <string>
#include <vector>

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

// The document template's strings: "\n"-separated fields, as a resource string holds them.
class CDocTemplate {
 public:
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName,
  };

  explicit CDocTemplate(std::string docStrings) : m_strDocStrings(std::move(docStrings)) {}
  virtual ~CDocTemplate() = default;
  // The field of the index; false (and an empty string) when the field is empty.
  virtual bool GetDocString(std::string& rString, DocStringIndex index) const;

 private:
  std::string m_strDocStrings;
};

class CDocument {
 public:
  // A document is one of the application's open documents for its whole life.
  CDocument();
  virtual ~CDocument();
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(const std::string& title) { m_strTitle = title; }

  const std::string& GetPathName() const { return m_strPathName; }
  // Sets the path and, as the framework does, the title to the path's file name.
  virtual void SetPathName(const std::string& path, bool addToMRU = true);

  bool IsModified() const { return m_bModified; }
  virtual void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

  // The text shown in the document changed its modified state: sets the modified flag,
  // then the title: its file name part (after the last '\\' or ':', unless that is the
  // first character) with " *" when modified, without it when not.
  void OnTextModifiedChanged(bool modified);
  // The text is read-only: appends " (Read-Only)" to a non-empty title that lacks it.
  void MarkTitleReadOnly();

  // The file the document holds open, or null: a plain document holds none.
  virtual CDocumentFile* GetHeldFile() const { return nullptr; }

  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  void SetDocTemplate(CDocTemplate* pTemplate) { m_pDocTemplate = pTemplate; }

  // The framework's steps. New: DeleteContents, then not modified. Open and save: the
  // framework's own serialisation, which documents without one do not have (0). Close:
  // DeleteContents.
  virtual void DeleteContents() {}
  virtual int OnNewDocument();
  virtual int OnOpenDocument(const char* pszPathName);
  virtual int OnSaveDocument(const char* pszPathName);
  virtual void OnCloseDocument();
  // Saves under pszPathName, or asks for a name when it is null or empty (see
  // SaveDocumentAs); bReplace makes the new name the document's path.
  virtual int DoSave(const char* pszPathName, int bReplace = 1);
  // Saves under the document's path, or asks for a name when the file is missing or
  // marked read-only.
  virtual int DoFileSave();
  // The framework's report of a failed load or save: one message box with the prompt.
  virtual void ReportSaveLoadException(const char* pszPathName, unsigned nIDPDefault);

 protected:
  // The save-as steps shared by every DoSave: pick the name (asking the user, with
  // pPromptTemplate giving the prompt its filter and default extension), save it with
  // the wait cursor, remove a file the failed save created under an asked-for name, and
  // on success with bReplace take the name as path and into the recently used list.
  int SaveDocumentAs(const char* pszPathName, int bReplace, CDocTemplate* pPromptTemplate);

 protected:
  std::string m_strTitle;
  std::string m_strPathName;
  bool m_bModified = false;
  CDocTemplate* m_pDocTemplate = nullptr;
};

// The application's open documents, in the order they were created.
const std::vector<CDocument*>& AfxGetOpenDocuments();

}  // namespace quill
