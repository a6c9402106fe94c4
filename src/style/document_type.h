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
  DOCTYPE_VERILOG = 6,
  DOCTYPE_LIBERTY = 7,
  DOCTYPE_SPEF = 8,
  DOCTYPE_DSPF = 9,
  DOCTYPE_SPECTRE = 10,
  DOCTYPE_LEFDEF = 11,
  DOCTYPE_TCL = 12,
};

// "LOGS", "TEXT", "CPP", "DRACULA", "CALIBRE", "SPICE", "VERILOG", "LIBERTY", "SPEF",
// "DSPF", "SPECTRE", "LEFDEF", "TCL"; "" for any other value.
const char* ProfileNameOf(DocumentType type);

}  // namespace quill
