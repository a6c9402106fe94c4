// Registry text files: any input parses or is rejected without crashing, and whatever a
// parsed file puts into a store exports, in both formats, to a file that reads back to the
// same store. Each input is tried as it stands and as UTF-16 (its bytes taken as little-
// endian code units after a byte-order mark), so the UTF-16 reader sees arbitrary units.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/regfile.h"

namespace {

void Check(const std::string& text) {
  quill::RegFile file;
  quill::RegFileError error;
  if (!quill::ParseRegFile(text, &file, &error)) {
    if (error.line < 1 || error.message.empty()) std::abort();
    return;
  }
  quill::MemorySettingsStore first;
  if (!quill::ApplyRegFile(first, file)) std::abort();
  for (auto format : {quill::RegFileFormat::kRegedit4, quill::RegFileFormat::kVersion5}) {
    std::string exported;
    if (!quill::ExportRegFile(first, "", &exported, format)) std::abort();
    quill::RegFile again;
    if (!quill::ParseRegFile(exported, &again, &error)) std::abort();
    quill::MemorySettingsStore second;
    if (!quill::ApplyRegFile(second, again)) std::abort();
    std::string reexported;
    if (!quill::ExportRegFile(second, "", &reexported, format) || reexported != exported) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Check(text);
  Check("\xFF\xFE" + text);
  return 0;
}
