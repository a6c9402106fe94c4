#include "documents/document_locking.h"

#include "platform/doc_framework.h"
#include "platform/file_service.h"

namespace quill {
namespace {

constexpr unsigned kWritableHold =
    CHeldFile::modeCreate | CHeldFile::modeNoTruncate | CHeldFile::modeReadWrite |
    CHeldFile::shareDenyWrite;

// The held file seen through a second open: every operation goes to the held file, and
// closing leaves it open.
class THeldFileAlias : public IFile {
 public:
  explicit THeldFileAlias(IFile& file) : m_file(file) {}
  bool Read(void* data, std::uint32_t size, std::uint32_t& read) override {
    return m_file.Read(data, size, read);
  }
  bool Write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    return m_file.Write(data, size, written);
  }
  bool Flush() override { return m_file.Flush(); }
  bool GetSize(std::uint64_t& size) override { return m_file.GetSize(size); }
  bool SetLength(std::uint64_t length) override { return m_file.SetLength(length); }
  bool Seek(std::uint64_t offset) override { return m_file.Seek(offset); }
  bool Reserve(std::uint64_t length) override { return m_file.Reserve(length); }
  bool GetIdentity(FileIdentity& identity) override { return m_file.GetIdentity(identity); }
  bool Close() override { return true; }

 private:
  IFile& m_file;
};

// The file service as a save of the holding document sees it: the held file is this
// document's own, so opening its path for writing uses the hold, readers share it, and
// a move over its path first locks the file that arrives there and then holds that one.
class THoldingFileService : public IFileService {
 public:
  THoldingFileService(IFileService& base, std::unique_ptr<CHeldFile>& hold)
      : m_base(base), m_hold(hold), m_strTarget(base.ResolveLinks(hold->GetFilePath())) {}

  std::unique_ptr<IFile> Open(const std::string& path, std::uint32_t access,
                              std::uint32_t share, std::uint32_t disposition) override {
    if (!IsHeld(path)) return m_base.Open(path, access, share, disposition);
    if ((access & GENERIC_WRITE) == 0)
      return m_base.Open(path, access, share | FILE_SHARE_WRITE, disposition);
    auto alias = std::make_unique<THeldFileAlias>(m_hold->GetFile());
    if ((disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) &&
        (!alias->SetLength(0) || !alias->Seek(0)))
      return nullptr;
    return alias;
  }
  std::uint32_t GetAttributes(const std::string& path) override {
    return m_base.GetAttributes(path);
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return m_base.SetAttributes(path, attributes);
  }
  bool GetTempFileName(const std::string& folder, const std::string& prefix,
                       std::string& path) override {
    return m_base.GetTempFileName(folder, prefix, path);
  }
  void RemoveStaleTempFiles(const std::string& folder, const std::string& prefix) override {
    m_base.RemoveStaleTempFiles(folder, prefix);
  }
  bool Move(const std::string& from, const std::string& to) override {
    if (!IsHeld(to)) return m_base.Move(from, to);
    // The arriving file already has the target's permissions; when they deny writing,
    // the holder still opens it for writing (as it held the old one) and puts them back.
    const std::uint32_t attributes = m_base.GetAttributes(from);
    const bool bReadOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (bReadOnly) m_base.SetAttributes(from, attributes & ~FILE_ATTRIBUTE_READONLY);
    auto arriving = m_base.Open(from, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    if (bReadOnly) m_base.CopyMetadata(to, from);
    if (!arriving) return false;
    if (!m_base.Move(from, to)) return false;
    m_hold = CHeldFile::Adopt(m_hold->GetFilePath(), std::move(arriving));
    return true;
  }
  bool Delete(const std::string& path) override { return m_base.Delete(path); }
  bool GetLastWriteTime(const std::string& path, std::uint64_t& time) override {
    return m_base.GetLastWriteTime(path, time);
  }
  bool GetIdentity(const std::string& path, FileIdentity& identity) override {
    return m_base.GetIdentity(path, identity);
  }
  std::string ResolveLinks(const std::string& path) override { return m_base.ResolveLinks(path); }
  std::uint32_t GetLinkCount(const std::string& path) override {
    return m_base.GetLinkCount(path);
  }
  void CopyMetadata(const std::string& from, const std::string& to) override {
    m_base.CopyMetadata(from, to);
  }

 private:
  bool IsHeld(const std::string& path) { return m_base.ResolveLinks(path) == m_strTarget; }

  IFileService& m_base;
  std::unique_ptr<CHeldFile>& m_hold;
  std::string m_strTarget;
};

}  // namespace

std::unique_ptr<CDocument> QuillDocumentLocking::CreateObject() {
  return std::make_unique<QuillDocumentLocking>();
}

QuillDocumentLocking::QuillDocumentLocking() = default;

QuillDocumentLocking::~QuillDocumentLocking() {
  m_xTextBuffer.FreeAll();
  if (m_pFile == nullptr) return;
  const std::string path = m_pFile->GetFilePath();
  ReleaseFile();
  if (m_bDeleteOnClosing) RemoveFile(path);
}

void QuillDocumentLocking::ReleaseFile() {
  if (m_pFile) m_pFile->Close();
  m_pFile.reset();
  m_bWritable = false;
}

int QuillDocumentLocking::OnOpenDocument(const char* pszPathName) {
  const std::string path = pszPathName != nullptr ? pszPathName : "";
  ReleaseFile();
  if (m_xTextBuffer.IsInit()) m_xTextBuffer.FreeAll();
  bool bReadOnly = false;
  auto file = CHeldFile::Open(path, CHeldFile::modeReadWrite | CHeldFile::shareDenyWrite);
  if (!file) {
    file = CHeldFile::Open(path, CHeldFile::modeRead | CHeldFile::shareDenyNone);
    bReadOnly = file != nullptr;
  }
  int nResult = 0;
  if (!file) {
    ReportSaveLoadException(path.c_str(), AFX_IDP_FAILED_TO_OPEN_DOC);
  } else {
    m_pFile = std::move(file);
    m_bWritable = !bReadOnly;
    // A load that failed has shown its error. The document does not open: a save of the
    // part that was loaded would cut the file.
    if (m_xTextBuffer.LoadFromFileLocking(path.c_str(), bReadOnly, -1)) {
      nResult = 1;
    } else {
      ReleaseFile();
      m_xTextBuffer.FreeAll();
    }
  }
  SetModifiedFlag(false);
  return nResult;
}

int QuillDocumentLocking::OnSaveDocument(const char* pszPathName) {
  const std::string path = pszPathName != nullptr ? pszPathName : "";
  if (m_pFile && m_bWritable && m_pFile->GetFilePath() == path) return SaveHeld(pszPathName, m_pFile);

  // Another file, or no write access yet: hold the target first. The old hold stays
  // until the save succeeds, so a failed save leaves the document with its own file.
  const bool bExisted = GetFileService().GetAttributes(path) != INVALID_FILE_ATTRIBUTES;
  std::unique_ptr<CHeldFile> target = CHeldFile::Open(path, kWritableHold);
  if (!target) {
    // Our own read-only file that someone else writes: the save's check reports why.
    if (m_pFile && m_pFile->GetFilePath() == path) return m_xTextBuffer.SaveToFile(pszPathName, -1, 1);
    ReportSaveLoadException(path.c_str(), AFX_IDP_FAILED_TO_OPEN_DOC);
    return 0;
  }
  if (!SaveHeld(pszPathName, target)) {
    target->Close();
    if (!bExisted) RemoveFile(path);
    return 0;
  }
  ReleaseFile();
  m_pFile = std::move(target);
  m_bWritable = true;
  return 1;
}

int QuillDocumentLocking::SaveHeld(const char* pszPathName, std::unique_ptr<CHeldFile>& hold) {
  int nResult = 0;
  {
    THoldingFileService service(GetFileService(), hold);
    ScopedFileService scope(&service);
    nResult = m_xTextBuffer.SaveToFile(pszPathName, -1, 1);
  }
  if (nResult) SetModifiedFlag(false);
  return nResult;
}

int QuillDocumentLocking::DoSave(const char* pszPathName, int bReplace) {
  return SaveWithPrompt(pszPathName, bReplace);
}

}  // namespace quill
