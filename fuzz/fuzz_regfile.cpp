// Registry text files: any input parses or is rejected without crashing, and whatever a
// parsed file puts into a store exports to a file that reads back to the same store.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  quill::RegFile file;
  quill::RegFileError error;
  if (!quill::ParseRegFile(text, &file, &error)) {
    if (error.line < 1 || error.message.empty()) std::abort();
    return 0;
  }
  quill::MemorySettingsStore first;
  if (!quill::ApplyRegFile(first, file)) std::abort();
  std::string exported;
  if (!quill::ExportRegFile(first, "", &exported)) std::abort();
  quill::RegFile again;
  if (!quill::ParseRegFile(exported, &again, &error)) std::abort();
  quill::MemorySettingsStore second;
  if (!quill::ApplyRegFile(second, again)) std::abort();
  std::string reexported;
  if (!quill::ExportRegFile(second, "", &reexported) || reexported != exported) std::abort();
  return 0;
}
