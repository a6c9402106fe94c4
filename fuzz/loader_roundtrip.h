#pragma once
// The round-trip property of the loaders, shared by the libFuzzer target and its
// fixed-seed test: whatever the bytes, loading never fails or crashes, the lines hold no
// break (NUL bytes they keep), and saving in the detected mode and loading that file
// again in the same mode gives the same lines; a file whose breaks were all of its mode
// saves byte for byte. Bit 2 of the first byte puts a first line longer than the
// detection chunk in front, so that detection reads on; both file loaders must detect the
// mode of the first break, CR LF included when the pair straddles the chunk's end.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/headless/fault_file_service.h"
#include "platform/headless/headless_app_services.h"
#include "platform/held_file.h"
#include "quill.h"

namespace quill::fuzz {

inline std::vector<std::string> LinesOf(const QuillTextBuffer& buffer) {
  std::vector<std::string> lines;
  for (int i = 0; i < buffer.GetLineCount(); ++i)
    lines.emplace_back(buffer.GetLineChars(i), static_cast<std::size_t>(buffer.GetLineLength(i)));
  return lines;
}

// Services without a status bar that forget their messages, and a private folder.
class RoundTripContext {
 public:
  RoundTripContext() {
    m_services.m_bEcho = false;
    m_services.m_bHasStatusBar = false;
    SetApplicationServices(&m_services);
    m_files.m_bSkipSync = true;  // durability is not the question here; speed is
    SetFileService(&m_files);
    // Memory-backed when possible: renames over files on disk wait for the disk.
    char shm[] = "/dev/shm/quill-fuzz-XXXXXX";
    char tmp[] = "/tmp/quill-fuzz-XXXXXX";
    const char* folder = mkdtemp(shm);
    m_folder = folder ? folder : mkdtemp(tmp);
  }
  ~RoundTripContext() {
    SetApplicationServices(nullptr);
    SetFileService(nullptr);
    for (const char* name : {"/in", "/out", "/held"}) unlink((m_folder + name).c_str());
    rmdir(m_folder.c_str());
  }
  std::string Path(const char* name) const { return m_folder + "/" + name; }
  void Forget() {
    m_services.m_messages.clear();
    m_services.m_priorityHistory.clear();
  }
  bool Quiet() const { return m_services.m_messages.empty(); }

 private:
  HeadlessApplicationServices m_services;
  FaultFileService m_files;
  std::string m_folder;
};

class HeldDocument : public CDocument {
 public:
  explicit HeldDocument(std::unique_ptr<CHeldFile> file) : m_pFile(std::move(file)) {}
  CDocumentFile* GetHeldFile() const override { return m_pFile.get(); }

 private:
  std::unique_ptr<CHeldFile> m_pFile;
};

inline std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The mode the file loaders detect in the bytes.
inline int ExpectedMode(const std::string& bytes) {
  const std::size_t first = bytes.find_first_of("\r\n");
  if (first == std::string::npos) return CRLF_MODE_DOS;
  if (bytes[first] == '\n') return CRLF_MODE_UNIX;
  return first + 1 < bytes.size() && bytes[first + 1] == '\n' ? CRLF_MODE_DOS : CRLF_MODE_MAC;
}

// Returns an empty string when the property holds, else what went wrong.
inline std::string CheckRoundTrip(RoundTripContext& context, const std::uint8_t* data, std::size_t size) {
  context.Forget();
  const int mode = size > 0 ? static_cast<int>(data[0] % 4) - 1 : -1;
  std::string bytes(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  if (size > 0 && (data[0] & 4) != 0) bytes.insert(0, std::string(33000, 'p'));

  // original: the bytes the buffer was loaded from (a string load sees them up to a NUL).
  auto saveAndReload = [&](QuillTextBuffer& buffer, const char* what, const std::string& original) -> std::string {
    const std::vector<std::string> lines = LinesOf(buffer);
    for (const std::string& line : lines)
      if (line.find_first_of("\r\n") != std::string::npos) return std::string(what) + ": a line holds a break";
    if (!buffer.SaveToFile(context.Path("out"))) return std::string(what) + ": save failed";
    if (!buffer.LoadedMixedBreaks() && Read(context.Path("out")) != original)
      return std::string(what) + ": breaks not mixed, but the save changed the bytes";
    QuillTextBuffer again;
    if (!again.LoadFromFile(context.Path("out"), buffer.GetCRLFMode()))
      return std::string(what) + ": reload failed";
    const bool same = LinesOf(again) == lines;
    again.FreeAll();
    return same ? std::string() : std::string(what) + ": reload gave other lines";
  };

  QuillTextBuffer fromString;
  if (!fromString.LoadFromBuffer(bytes.c_str(), mode)) return "string load failed";
  std::string error = saveAndReload(fromString, "string", bytes.substr(0, bytes.find('\0')));
  fromString.FreeAll();
  if (!error.empty()) return error;

  Write(context.Path("in"), bytes);
  QuillTextBuffer fromFile;
  if (!fromFile.LoadFromFile(context.Path("in"), mode)) return "file load failed";
  if (mode == -1 && fromFile.GetCRLFMode() != ExpectedMode(bytes)) return "file load detected another mode";
  if (fromFile.LoadedNulBytes() != (bytes.find('\0') != std::string::npos)) return "file load missed a NUL";
  error = saveAndReload(fromFile, "file", bytes);
  fromFile.FreeAll();
  if (!error.empty()) return error;

  // The held-file loader keeps foreign breaks in its lines; it must simply load.
  Write(context.Path("held"), bytes);
  HeldDocument doc(CHeldFile::Open(context.Path("held"), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  QuillTextBuffer held(&doc);
  if (!held.LoadFromFileLocking("held", false, mode)) return "held-file load failed";
  if (mode == -1 && held.GetCRLFMode() != ExpectedMode(bytes)) return "held-file load detected another mode";
  held.FreeAll();
  return context.Quiet() ? std::string() : "a message was shown";
}

}  // namespace quill::fuzz
