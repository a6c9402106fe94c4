#pragma once
// The document types a style or a view belongs to. The profile name of a type names the
// registry key of its style and view settings.

#include <cstdint>

namespace quill {

enum DocumentType : std::int32_t {
  DOCTYPE_NONE = -1,
  DOCTYPE_LOGS = 0,
  DOCTYPE_TEXT = 1,
  DOCTYPE_CPP = 2,
  DOCTYPE_DRACULA = 3,
  DOCTYPE_CALIBRE = 4,
  DOCTYPE_SPICE = 5,
};

// "LOGS", "TEXT", "CPP", "DRACULA", "CALIBRE", "SPICE"; "" for any other value.
const char* ProfileNameOf(DocumentType type);

}  // namespace quill
