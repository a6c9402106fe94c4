// Saving a QuillTextBuffer to a file by name (through a temporary file put in place of
// the target) or through its document's held file.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "buffer/file_access.h"
#include "buffer/progress_bar.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/document.h"
#include "platform/file_errors.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "platform/held_file.h"

namespace quill {
namespace {

constexpr char kFileErrorFormat[] = "File: \"%s\"\n%s";
constexpr char kWriteErrorFormat[] = "Unexpected error while writing file %s";
// The file to be replaced is no longer the one the text is based on.
constexpr char kChangedWhileSavingFormat[] =
    "%s\n\nAnother program changed this file while it was being saved. The file has not been "
    "replaced.\nDo you want to overwrite it with the text open here?";
constexpr char kChangedSinceFormat[] =
    "%s\n\nAnother program changed this file since it was opened or last saved here. The file "
    "has not been replaced.\nDo you want to overwrite it with the text open here?";

const char* BreakText(int nMode) {
  return nMode == CRLF_MODE_UNIX ? "\n" : nMode == CRLF_MODE_MAC ? "\r" : "\r\n";
}

// The message of a target that cannot be opened for writing.
std::string ProbeMessage(std::uint32_t nError, const std::string& name) {
  switch (nError) {
    case ERROR_ACCESS_DENIED:
      return Format("Access to file \"%s\" is denied", name.c_str());
    case ERROR_SHARING_VIOLATION:
      return Format("The process cannot access the file \"%s\"\nbecause it is being used by another process.",
                    name.c_str());
    case ERROR_LOCK_VIOLATION:
      return Format("The process cannot access the file \"%s\"\nbecause another process has locked a portion of the file.",
                    name.c_str());
    case ERROR_INVALID_NAME:
      return Format("The filename, directory name, or volume label syntax is incorrect.\n(\"%s\")",
                    name.c_str());
    case ERROR_FILENAME_EXCED_RANGE:
      return Format("The filename or extension is too long.\n(\"%s\")", name.c_str());
    default:
      return SystemErrorMessage(nError);
  }
}

// "Writing <name>...", with only the last 64 characters of a longer name.
std::string WritingMessage(const std::string& name) {
  if (name.size() > 64) return Format("Writing %s%s...", "...", name.substr(name.size() - 64).c_str());
  return Format("Writing %s%s...", "", name.c_str());
}

// Shows the message of the exception being handled by a save.
void ShowSaveError(const std::string& name) {
  try {
    throw;
  } catch (const TFileAccessException& e) {
    AfxMessageBox(Format(kFileErrorFormat, name.c_str(), e.GetText().c_str()), MB_ICONERROR);
  } catch (...) {
    AfxMessageBox(Format(kWriteErrorFormat, name.c_str()), MB_ICONERROR);
  }
}

// The indicator of a save: "Writing <name>...", range 0 ... last line.
void StartSaveProgress(CProgressBar& progress, const std::string& name, int nLast) {
  progress.Create(WritingMessage(name), 25, nLast, true);
  progress.SetRange(0, nLast);
  progress.SetPos(0);
}

// Bytes of the lines and the breaks between them.
std::uint64_t OutputLength(const TCArray<QuillTextBuffer::SLineInfo*>& aLines, const char* pszBreak) {
  const int nCount = aLines.GetSize();
  std::uint64_t nBytes = nCount > 0 ? static_cast<std::uint64_t>(nCount - 1) * std::strlen(pszBreak) : 0;
  aLines.ForEachLine(0, nCount, [&](const char*, int nLength) { nBytes += static_cast<std::uint64_t>(nLength); });
  return nBytes;
}

// Puts the rollback copy back into the held file; false when that failed too.
bool RestoreHeldFile(CDocumentFile& file, IFile* pRaw, const std::string& rollback, std::uint64_t nLength) {
  const std::uint32_t error = GetLastError();
  try {
    auto source = GetFileService().Open(rollback, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!source) return false;
    file.SeekToBegin();
    std::vector<char> chunk(256 * 1024);
    for (;;) {
      std::uint32_t nRead = 0;
      if (!source->Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), nRead)) return false;
      if (nRead == 0) break;
      file.Write(chunk.data(), nRead);
    }
    file.SetLength(nLength);
    if (pRaw && !pRaw->Flush()) return false;
  } catch (...) {
    return false;
  }
  SetLastError(error);
  return true;
}

}  // namespace

namespace {

// Copies a short run of bytes without a call: two possibly overlapping fixed-size copies
// cover every length of their range.
inline void CopySmall(char* pTo, const char* pFrom, std::size_t n) {
  if (n >= 8) {
    std::memcpy(pTo, pFrom, 8);
    std::memcpy(pTo + n - 8, pFrom + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(pTo, pFrom, 4);
    std::memcpy(pTo + n - 4, pFrom + n - 4, 4);
  } else if (n > 0) {
    pTo[0] = pFrom[0];
    pTo[n / 2] = pFrom[n / 2];
    pTo[n - 1] = pFrom[n - 1];
  }
}

// Gathers every line and the break text between them into blocks of kBlockSize bytes and
// hands each full block, and the last one, to write(pData, nSize); moves the indicator
// about a hundred times.
template <class Write>
void WriteLines(const TCArray<QuillTextBuffer::SLineInfo*>& aLines, const char* pszBreak,
                CProgressBar& progress, Write&& write) {
  constexpr std::size_t kBlockSize = TFileAccess::kWriteBufferSize;
  // Lines up to this length are copied without a call.
  constexpr std::size_t kShortLine = 16;
  const auto pBlock = std::make_unique_for_overwrite<char[]>(kBlockSize);
  char* const pBegin = pBlock.get();
  char* const pEnd = pBegin + kBlockSize;
  char* p = pBegin;
  // Copies text into the block, handing it on each time it is full.
  const auto put = [&](const char* pcText, std::size_t nLength) {
    while (nLength > 0) {
      const std::size_t n = std::min(nLength, static_cast<std::size_t>(pEnd - p));
      std::memcpy(p, pcText, n);
      p += n;
      pcText += n;
      nLength -= n;
      if (p == pEnd) {
        write(pBegin, kBlockSize);
        p = pBegin;
      }
    }
  };
  const std::size_t nBreakLength = std::strlen(pszBreak);
  const char cBreak0 = pszBreak[0];
  const char cBreak1 = pszBreak[nBreakLength - 1];
  const int nCount = aLines.GetSize();
  const int nStep = nCount / 100 + 1;
  // A hundred steps, each writing its lines with the break after each; then the last line.
  for (int nFrom = 0; nFrom < nCount; nFrom += nStep) {
    progress.SetPos(nFrom);
    aLines.ForEachLine(nFrom, std::min(nFrom + nStep, nCount - 1), [&](const char* pcLine, int nLine) {
      const auto nLength = static_cast<std::size_t>(nLine);
      if (nLength + 2 <= static_cast<std::size_t>(pEnd - p)) {
        // The line and its break fit in the block.
        if (nLength <= kShortLine) CopySmall(p, pcLine, nLength);
        else std::memcpy(p, pcLine, nLength);
        p += nLength;
        // CR LF, LF or CR.
        p[0] = cBreak0;
        p[nBreakLength - 1] = cBreak1;
        p += nBreakLength;
      } else {
        put(pcLine, nLength);
        put(pszBreak, nBreakLength);
      }
    });
  }
  if (nCount > 0) aLines.ForEachLine(nCount - 1, nCount, put);
  if (p != pBegin) write(pBegin, static_cast<std::size_t>(p - pBegin));
}

}  // namespace

void QuillTextBuffer::RecordFileIdentity(const std::string& path) {
  IFileService& files = GetFileService();
  const std::uint32_t error = GetLastError();
  m_strIdentityPath = files.ResolveLinks(path);
  m_idFile = FileIdentity();
  files.GetIdentity(m_strIdentityPath, m_idFile);
  SetLastError(error);
}

int QuillTextBuffer::SaveToFile(const char* pszFileName, int nCrlfStyle, int bClearModifiedFlag) {
  const std::string name = pszFileName ? pszFileName : "";
  IFileService& files = GetFileService();
  const std::string target = files.ResolveLinks(name);
  const bool bTargetExisted = files.GetAttributes(target) != INVALID_FILE_ATTRIBUTES;
  try {
    TFileAccess::CheckRegularFile(target);  // before the probe: it would open a pipe or a device
  } catch (const TFileAccessException& e) {
    AfxMessageBox(Format(kFileErrorFormat, name.c_str(), e.GetText().c_str()), MB_ICONERROR);
    return 0;
  }
  if (!files.Open(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS)) {
    AfxMessageBox(ProbeMessage(GetLastError(), name), MB_ICONERROR);
    return 0;
  }

  // The file the save may replace: the one the text is based on, or else the one found
  // now (a file that did not exist is the one the check above created).
  FileIdentity atStart;
  files.GetIdentity(target, atStart);
  const bool bBased = bTargetExisted && m_idFile.IsKnown() && m_strIdentityPath == target;
  const FileIdentity expected = bBased ? m_idFile : atStart;

  int nResult = 0;
  {
    const int nLast = GetLineCount() - 1;
    CHighPriority priority;
    CProgressBar progress;
    StartSaveProgress(progress, name, nLast);
    try {
      TFileAccess file(name);
      file.OpenForWrite();
      WriteLines(m_aLines, BreakText(nCrlfStyle == -1 ? m_nCRLFMode : nCrlfStyle), progress,
                 [&file](const char* pData, std::size_t nSize) { file.Write(pData, nSize); });
      file.ExpectTarget(expected);
      try {
        file.Close(m_bCreateBackupFile);
      } catch (const TFileChangedException&) {
        // The new text waits in the temporary file while the user decides.
        const char* pszFormat = bBased && atStart != expected ? kChangedSinceFormat : kChangedWhileSavingFormat;
        if (AfxMessageBox(Format(pszFormat, name.c_str()), MB_YESNO | MB_ICONWARNING) != IDYES)
          return 0;
        file.ExpectTarget(FileIdentity());
        file.Close(m_bCreateBackupFile);
      }
      m_idFile = file.GetWrittenIdentity();
      m_strIdentityPath = target;
      if (bClearModifiedFlag) {
        SetModified(0);
        m_nSyncPosition = m_nUndoPosition;
      }
      progress.SetPos(nLast);
      m_bReadOnly = false;
      nResult = 1;
    } catch (...) {
      ShowSaveError(name);
    }
    // The writability check created a target that did not exist: take it away again.
    if (nResult == 0 && !bTargetExisted) files.Delete(target);
  }
  if (nResult != 0 && !m_lpViews.empty() && m_lpViews.front()->GetListenerDocument() != nullptr)
    m_lpViews.front()->OnFileWritten(m_idFile);
  return nResult;
}

int QuillTextBuffer::SaveToFileLocking(const char* pszFileName, int nCrlfStyle, int bClearModifiedFlag) {
  CDocumentFile* pFile = m_pOwnerDoc ? m_pOwnerDoc->GetHeldFile() : nullptr;
  if (pFile == nullptr) return 0;
  const std::string name = pszFileName ? pszFileName : "";
  const int nLast = GetLineCount() - 1;
  CHighPriority priority;
  CProgressBar progress;
  StartSaveProgress(progress, name, nLast);
  // The held file is rewritten in place. Its old content is first kept in a flushed
  // rollback copy and the new length is reserved, so neither a full disk nor a kill can
  // lose the old text: a failure puts it back, a kill leaves the named copy.
  auto* pHeld = dynamic_cast<CHeldFile*>(pFile);
  IFile* pRaw = pHeld ? &pHeld->GetFile() : nullptr;
  IFileService& files = GetFileService();
  std::string rollback;
  std::uint64_t nOldLength = 0;
  bool bTouched = false;
  try {
    const char* pszBreak = BreakText(nCrlfStyle == -1 ? m_nCRLFMode : nCrlfStyle);
    nOldLength = pFile->GetLength();
    pFile->SeekToBegin();
    rollback = TFileAccess::KeepRollbackCopy(
        pHeld ? files.ResolveLinks(pHeld->GetFilePath()) : std::string(),
        [&](char* p, std::uint32_t n) { return pFile->Read(p, n); });
    const std::uint64_t nNewLength = OutputLength(m_aLines, pszBreak);
    if (pRaw && !pRaw->Reserve(nNewLength)) {
      // Reserving changes no byte of the content; a file it lengthened is cut back.
      const TFileAccessException error = TFileAccessException::FromLastError();
      if (pFile->GetLength() != nOldLength) pFile->SetLength(nOldLength);
      throw error;
    }
    bTouched = true;
    pFile->SeekToBegin();
    WriteLines(m_aLines, pszBreak, progress, [pFile](const char* pData, std::size_t nSize) {
      pFile->Write(pData, static_cast<std::uint32_t>(nSize));
    });
    pFile->SetLength(nNewLength);
    if (pRaw && !pRaw->Flush()) throw TFileAccessException::FromLastError();
    files.Delete(rollback);
    if (bClearModifiedFlag) {
      SetModified(0);
      m_nSyncPosition = m_nUndoPosition;
    }
    progress.SetPos(nLast);
    return 1;
  } catch (...) {
    if (bTouched && !RestoreHeldFile(*pFile, pRaw, rollback, nOldLength)) {
      AfxMessageBox(Format(kFileErrorFormat, name.c_str(),
                           Format("The file could not be restored. Its content before this save is in \"%s\".",
                                  rollback.c_str()).c_str()),
                    MB_ICONERROR);
      return 0;
    }
    if (!rollback.empty()) files.Delete(rollback);
    ShowSaveError(name);
  }
  return 0;
}

}  // namespace quill
