#include "platform/document.h"
#include "platform/file_service.h"
#include "view/quill_view.h"

namespace quill {

void QuillView::UpdateLastWrittenTime() {
  if (m_pDocument == nullptr) return;
  std::uint64_t ftLastWrite = 0;
  if (GetFileService().GetLastWriteTime(m_pDocument->GetPathName(), ftLastWrite))
    m_ftLastWrite = ftLastWrite;
}

}  // namespace quill
