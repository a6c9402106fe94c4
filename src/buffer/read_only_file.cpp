// The on-disk side of QuillTextBuffer::SetReadOnly.

#include "buffer/text_buffer.h"

namespace quill {

// Adds the read-only attribute to the owner document's file (other attributes kept); a
// missing file or an empty path is skipped. The file service fills this in; until then
// SetReadOnly changes only the flag and notifies the views.
void QuillTextBuffer::SetFileReadOnlyAttribute() {}

}  // namespace quill
