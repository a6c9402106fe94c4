// The on-disk side of QuillTextBuffer::SetReadOnly.

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "platform/file_errors.h"
#include "platform/file_service.h"

namespace quill {

// Adds the read-only attribute to the owner document's file (other attributes kept); a
// missing file or an empty path is skipped.
void QuillTextBuffer::SetFileReadOnlyAttribute() {
  if (m_pOwnerDoc == nullptr) return;
  const std::string& path = m_pOwnerDoc->GetPathName();
  if (path.empty()) return;
  IFileService& files = GetFileService();
  const std::uint32_t attributes = files.GetAttributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return;
  // The change of the attribute is no change of the file's text: whoever had its identity
  // as it was before takes the new one.
  FileIdentity before, after;
  const bool bKnown = files.GetIdentity(path, before);
  if (!files.SetAttributes(path, attributes | FILE_ATTRIBUTE_READONLY) || !bKnown ||
      !files.GetIdentity(path, after))
    return;
  if (m_idFile == before) m_idFile = after;
  for (ITextBufferListener* pView : m_lpViews) pView->OnFileIdentityChanged(before, after);
}

}  // namespace quill
