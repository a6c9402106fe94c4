#pragma once
// An undo group of the view's buffer around one compound edit. Close() flushes it and,
// when an edit went into it, calls the view back (OnEditOperation: auto indent); a group
// left open by an exception is flushed quietly.

#include "buffer/text_buffer.h"
#include "view/quill_view.h"

namespace quill {

class QuillView::EditGroup {
 public:
  EditGroup(QuillView& view, bool bMergeWithPrevious) : m_view(view) {
    m_view.m_pTextBuffer->BeginUndoGroup(bMergeWithPrevious ? 1 : 0);
    m_view.m_bGroupEdited = false;
  }
  ~EditGroup() {
    if (m_bOpen) m_view.m_pTextBuffer->FlushUndoGroup(nullptr);
  }
  EditGroup(const EditGroup&) = delete;
  EditGroup& operator=(const EditGroup&) = delete;

  void Close() {
    m_bOpen = false;
    m_view.m_pTextBuffer->FlushUndoGroup(m_view.m_bGroupEdited ? &m_view : nullptr);
  }

 private:
  QuillView& m_view;
  bool m_bOpen = true;
};

}  // namespace quill
