#pragma once
// A bulk edit: while an object lives, the views of a buffer note what their windows need
// (invalidated lines, scroll bars, caret) instead of doing it after every change, and do
// it once when the outermost bulk edit ends.

#include <vector>

#include "buffer/text_buffer.h"
#include "view/quill_view.h"

namespace quill {

class QuillView::BulkUpdate {
 public:
  explicit BulkUpdate(QuillTextBuffer* pBuffer) {
    if (pBuffer != nullptr)
      for (ITextBufferListener* pListener : pBuffer->GetViews())
        if (auto* pView = dynamic_cast<QuillView*>(pListener)) m_views.push_back(pView);
    for (QuillView* pView : m_views) ++pView->m_nBulkDepth;
  }
  ~BulkUpdate() {
    for (QuillView* pView : m_views) pView->EndBulkUpdate();
  }
  BulkUpdate(const BulkUpdate&) = delete;
  BulkUpdate& operator=(const BulkUpdate&) = delete;

 private:
  std::vector<QuillView*> m_views;
};

}  // namespace quill
