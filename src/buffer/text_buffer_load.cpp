// Loading a QuillTextBuffer from a file by name, from its document's held file, or from
// a string.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "buffer/file_access.h"
#include "buffer/line_sink.h"
#include "buffer/line_splitter.h"
#include "buffer/progress_bar.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/document.h"
#include "platform/file_errors.h"
#include "platform/file_service.h"
#include "platform/held_file.h"
#include "platform/format.h"
#include "platform/memory.h"
#include "platform/text_encoding.h"
#include "settings/default_encoding.h"

namespace quill {
namespace {

constexpr char kReadingFormat[] = "Reading %s...";
constexpr char kFileErrorFormat[] = "File \"%s\"\n%s";
constexpr char kReadErrorFormat[] = "unexpected error while reading from file %s.";

// Progress positions are int: very large inputs are counted in larger units.
struct ProgressScale {
  explicit ProgressScale(std::uint64_t nTotal) {
    while ((nTotal >> m_nShift) > 0x7fffffffULL) ++m_nShift;
  }
  int operator()(std::uint64_t n) const { return static_cast<int>(n >> m_nShift); }
  int m_nShift = 0;
};

// The bytes of a file load not yet split into lines, followed by the chunk just read. It
// grows (for a line longer than a chunk) without clearing the new room, and a large block
// usually grows in place instead of being copied.
class TReadBuffer {
 public:
  explicit TReadBuffer(std::size_t nSize) { resize(nSize); }
  ~TReadBuffer() { std::free(m_pData); }
  TReadBuffer(const TReadBuffer&) = delete;
  TReadBuffer& operator=(const TReadBuffer&) = delete;
  char* data() { return m_pData; }
  char operator[](std::size_t n) const { return m_pData[n]; }
  std::size_t size() const { return m_nSize; }
  void resize(std::size_t nSize) {
    void* p = std::realloc(m_pData, nSize);
    if (p == nullptr) throw std::bad_alloc();
    m_pData = static_cast<char*>(p);
    m_nSize = nSize;
  }
  void release() {
    std::free(m_pData);
    m_pData = nullptr;
    m_nSize = 0;
  }

 private:
  char* m_pData = nullptr;
  std::size_t m_nSize = 0;
};

const char* NameOrEmpty(const char* pszName) { return pszName ? pszName : ""; }

// Index of the first CR or LF, or nSize.
std::size_t FirstBreak(const char* pData, std::size_t nSize) {
  const void* pCR = std::memchr(pData, '\r', nSize);
  const void* pLF = std::memchr(pData, '\n', nSize);
  const char* p = pData + nSize;
  if (pCR) p = static_cast<const char*>(pCR);
  if (pLF && static_cast<const char*>(pLF) < p) p = static_cast<const char*>(pLF);
  return static_cast<std::size_t>(p - pData);
}

// For detecting the line-break mode of a file: the bytes read so far (aData[0 .. nEnd))
// grow by further chunks, read by read(pointer) returning the count, until they hold the
// first break and, after a CR, the byte behind it (so a CR LF split by the end of the
// first chunk is seen whole), or the input ends. Returns the index of that first break
// (nEnd when there is none).
template <class Buffer, class Read>
std::size_t ReadToFirstBreak(Buffer& aData, std::size_t& nEnd, const TLoadLimits& limits, Read read) {
  std::size_t nScanned = 0;
  for (bool bEnd = false;;) {
    const std::size_t nBreak = nScanned + FirstBreak(aData.data() + nScanned, nEnd - nScanned);
    if (bEnd || (nBreak < nEnd && (aData[nBreak] == '\n' || nBreak + 1 < nEnd))) return nBreak;
    TLineSink::CheckLength(nBreak, limits);  // the first line alone is already too long
    nScanned = nBreak;
    if (aData.size() - nEnd < TFileAccess::kChunkSize)
      aData.resize(std::max(aData.size() * 2, nEnd + TFileAccess::kChunkSize));
    const std::uint32_t nRead = read(aData.data() + nEnd);
    nEnd += nRead;
    bEnd = nRead == 0;
  }
}

// The two bytes at nBreak, as far as they are there: all DefineCRLFMode needs.
int BytesAtBreak(std::size_t nBreak, std::size_t nEnd) {
  return static_cast<int>(std::min<std::size_t>(nEnd - nBreak, 2));
}

// Refuses a file larger than the memory the process can have before reading any of it.
void CheckFileSize(std::uint64_t nSize, const TLoadLimits& limits) {
  const std::uint64_t nLimit =
      limits.nMaxFileSize > 0 ? static_cast<std::uint64_t>(limits.nMaxFileSize) : AvailableMemory();
  if (nSize > nLimit)
    throw TFileAccessException(
        Format("The file has %llu bytes, more than the memory available to load it.",
               static_cast<unsigned long long>(nSize)));
}

// Shows the message of the exception being handled by a file load.
void ShowLoadError(const std::string& name) {
  try {
    throw;
  } catch (const TFileAccessException& e) {
    AfxMessageBox(Format(kFileErrorFormat, name.c_str(), e.GetText().c_str()), MB_ICONERROR);
  } catch (...) {
    AfxMessageBox(Format(kReadErrorFormat, name.c_str()), MB_ICONERROR);
  }
}

// Tells the user when a save of the file was interrupted and left the copy of its old
// content beside it.
void ReportInterruptedSave(const std::string& path) {
  if (path.empty()) return;
  IFileService& files = GetFileService();
  const std::string rollback = TFileAccess::RollbackName(files.ResolveLinks(path));
  const std::uint32_t error = GetLastError();
  const bool bLeftOver = files.GetAttributes(rollback) != INVALID_FILE_ATTRIBUTES;
  SetLastError(error);
  if (bLeftOver)
    AfxMessageBox(Format("File \"%s\"\nA save of this file was interrupted, and the file may be "
                         "incomplete. Its content before that save is in \"%s\".",
                         path.c_str(), rollback.c_str()),
                  MB_ICONWARNING);
}

// The path of the held file, when the document's file object knows it.
std::string HeldPath(CDocumentFile* pFile) {
  const auto* pHeld = dynamic_cast<const CHeldFile*>(pFile);
  return pHeld ? pHeld->GetFilePath() : std::string();
}

}  // namespace

int QuillTextBuffer::DefineCRLFMode(const char* pcData, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    if (pcData[i] == '\n') return CRLF_MODE_UNIX;
    if (pcData[i] == '\r') return i + 1 < nCount && pcData[i + 1] == '\n' ? CRLF_MODE_DOS : CRLF_MODE_MAC;
  }
  return CRLF_MODE_DOS;
}

void QuillTextBuffer::FinishLoad(bool bReadOnly, bool bMixedBreaks, bool bNulBytes) {
  m_aLines.FreeExtra();
  m_bLoadedMixedBreaks = bMixedBreaks;
  m_bLoadedNulBytes = bNulBytes;
  m_bInit = true;
  m_bReadOnly = bReadOnly;
  m_bModified = false;
  m_nUndoPosition = m_nSyncPosition = 0;
  m_bUndoGroup = m_bUndoBeginGroup = false;
  m_nUndoBufSize = 1024;
}

int QuillTextBuffer::LoadFromFile(const char* pszFileName, int nCrlfStyle) {
  const std::string name = NameOrEmpty(pszFileName);
  CHighPriority priority;
  CProgressBar progress(Format(kReadingFormat, name.c_str()), 25, 100, true);
  try {
    TFileAccess file(name);
    file.OpenForRead();
    const std::uint64_t nFileSize = file.GetSize();
    CheckFileSize(nFileSize, m_loadLimits);
    // The bytes not yet split into lines, followed by the chunk just read.
    TReadBuffer aData(TFileAccess::kChunkSize);
    std::size_t nStart = 0, nEnd = file.Read(aData.data());
    const std::size_t nFirstChunk = nEnd;
    if (nCrlfStyle == -1) {
      const std::size_t nBreak =
          ReadToFirstBreak(aData, nEnd, m_loadLimits, [&](char* p) { return file.Read(p); });
      nCrlfStyle = DefineCRLFMode(aData.data() + nBreak, BytesAtBreak(nBreak, nEnd));
    }
    m_nCRLFMode = nCrlfStyle;

    const ProgressScale scale(nFileSize);
    progress.SetRange(0, scale(nFileSize));
    progress.SetPos(0);

    TLineSplitter splitter(nCrlfStyle);
    TLineSink sink(*this, nFileSize);
    std::uint64_t nProcessed = nEnd;
    bool bEnd = nFirstChunk == 0;
    for (;;) {
      nStart += splitter.Split(aData.data() + nStart, nEnd - nStart, bEnd, sink);
      if (bEnd) break;
      sink.CheckLength(splitter.Scanned());
      if (nStart > 0) {
        std::memmove(aData.data(), aData.data() + nStart, nEnd - nStart);
        nEnd -= nStart;
        nStart = 0;
      }
      if (aData.size() - nEnd < TFileAccess::kChunkSize) aData.resize(aData.size() * 2);
      const std::uint32_t nRead = file.Read(aData.data() + nEnd);
      nEnd += nRead;
      nProcessed += nRead;
      bEnd = nRead == 0;
      progress.SetPos(scale(nProcessed));
    }
    aData.release();
    file.Close(false);
    FinishLoad((file.GetAttributes() & FILE_ATTRIBUTE_READONLY) != 0, splitter.Mixed(), sink.SawNul());
    m_nEncoding = sink.Encoding(GetAsciiFileEncoding());
    UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    progress.SetPos(scale(nFileSize));
    ReportInterruptedSave(name);
    return 1;
  } catch (...) {
    m_bInit = false;
    ShowLoadError(name);
  }
  return 0;
}

int QuillTextBuffer::LoadFromFileLocking(const char* pszFileName, bool bReadOnly, int nCrlfStyle) {
  CDocumentFile* pFile = m_pOwnerDoc ? m_pOwnerDoc->GetHeldFile() : nullptr;
  if (pFile == nullptr) return 0;
  const std::string name = NameOrEmpty(pszFileName);
  CHighPriority priority;
  CProgressBar progress(Format(kReadingFormat, name.c_str()), 25, 100, true);
  try {
    std::vector<char> aChunk(TFileAccess::kChunkSize);
    pFile->SeekToBegin();
    const std::uint64_t nFileLength = pFile->GetLength();
    CheckFileSize(nFileLength, m_loadLimits);
    std::size_t nRead = pFile->Read(aChunk.data(), TFileAccess::kChunkSize);
    if (nCrlfStyle == -1) {
      const std::size_t nBreak =
          ReadToFirstBreak(aChunk, nRead, m_loadLimits, [&](char* p) { return pFile->Read(p, TFileAccess::kChunkSize); });
      nCrlfStyle = DefineCRLFMode(aChunk.data() + nBreak, BytesAtBreak(nBreak, nRead));
    }
    m_nCRLFMode = nCrlfStyle;
    const char* pszBreak = nCrlfStyle == CRLF_MODE_UNIX ? "\n" : nCrlfStyle == CRLF_MODE_MAC ? "\r" : "\r\n";
    const std::size_t nBreakLength = std::strlen(pszBreak);

    const ProgressScale scale(nFileLength);
    progress.SetRange(0, scale(nFileLength));
    progress.SetPos(0);

    TLineSink sink(*this, nFileLength);
    std::string line;
    std::size_t nMatched = 0;
    std::uint64_t nProcessed = 0;
    while (nRead > 0) {
      for (std::size_t i = 0; i < nRead; ++i) {
        const char c = aChunk[i];
        line.push_back(c);
        if (c != pszBreak[nMatched]) {
          nMatched = 0;
        } else if (++nMatched == nBreakLength) {
          sink(line.data(), line.size() - nBreakLength);
          line.clear();
          nMatched = 0;
        }
      }
      sink.CheckLength(line.size());
      nProcessed += nRead;
      progress.SetPos(scale(nProcessed));
      if (aChunk.size() > TFileAccess::kChunkSize) aChunk = std::vector<char>(TFileAccess::kChunkSize);
      nRead = pFile->Read(aChunk.data(), TFileAccess::kChunkSize);
    }
    sink(line.data(), line.size());
    // Bytes of foreign breaks stay in the lines and are saved as they are: nothing mixed.
    FinishLoad(false, false, sink.SawNul());
    m_nEncoding = sink.Encoding(GetAsciiFileEncoding());
    // Read-only here means that the document could not get write access, often because
    // another process holds the file: the file on disk is left as it is.
    m_bReadOnly = bReadOnly;
    UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    progress.SetPos(scale(nFileLength));
    ReportInterruptedSave(HeldPath(pFile));
    return 1;
  } catch (...) {
    m_bInit = false;
    ShowLoadError(name);
  }
  return 0;
}

int QuillTextBuffer::LoadFromBuffer(const char* pszText, int nCrlfStyle) {
  if (m_bInit || m_aLines.GetSize() > 0) FreeAll();  // also what a failed load left
  if (pszText == nullptr) pszText = "";
  try {
    const std::size_t nLength = std::strlen(pszText);
    m_aLines.RemoveAll();
    CProgressBar progress("Reading from buffer...", 25, 100, true);
    const ProgressScale scale(nLength);
    progress.SetRange(0, scale(nLength));
    progress.SetPos(0);
    CHighPriority priority;
    if (nCrlfStyle == -1)
      nCrlfStyle = DefineCRLFMode(pszText, static_cast<int>(std::min<std::size_t>(nLength, 0x7fffffff)));
    m_nCRLFMode = nCrlfStyle;

    TLineSplitter splitter(nCrlfStyle);
    TLineSink sink(*this, nLength);
    constexpr std::size_t kProgressStep = 1000;
    std::size_t nStart = 0, nEnd = 0;
    do {
      nEnd = std::min(nEnd + kProgressStep, nLength);
      nStart += splitter.Split(pszText + nStart, nEnd - nStart, nEnd == nLength, sink);
      sink.CheckLength(splitter.Scanned());
      if (nEnd % kProgressStep == 0) progress.SetPos(scale(nEnd));
    } while (nEnd < nLength);
    FinishLoad(false, splitter.Mixed(), false);
    m_nEncoding = ENCODING_WINDOWS_1252;
    progress.SetPos(scale(nLength));
    UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
    return 1;
  } catch (const TFileAccessException& e) {
    m_bInit = false;
    AfxMessageBox(e.GetText(), MB_ICONERROR);
  } catch (const std::bad_alloc&) {
    m_bInit = false;
    AfxMessageBox(SystemErrorMessage(ERROR_NOT_ENOUGH_MEMORY), MB_ICONERROR);
  } catch (...) {
    m_bInit = false;
    AfxMessageBox(SystemErrorMessage(GetLastError()), MB_ICONERROR);
  }
  return 0;
}

}  // namespace quill
