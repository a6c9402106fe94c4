#pragma once
// Shared helpers of the buffer tests: a buffer exposing its protected members and a view
// that records every notification and moves a caret through the update contexts.

#include <string>
#include <vector>

#include "quill.h"

namespace quill::test {

class TestBuffer : public QuillTextBuffer {
 public:
  using QuillTextBuffer::QuillTextBuffer;
  using QuillTextBuffer::AddUndoRecord;
  using QuillTextBuffer::AppendLine;
  using QuillTextBuffer::InsertLine;
  using QuillTextBuffer::m_aLines;
  using QuillTextBuffer::m_aUndoBuf;
  using QuillTextBuffer::m_nSyncPosition;
  using QuillTextBuffer::m_nUndoPosition;

  int Capacity(int nLine) const { return m_aLines[nLine]->m_nMax; }
  const char* Storage(int nLine) const { return m_aLines[nLine]->m_pcLine; }
  std::string Line(int nLine) const { return std::string(GetLineChars(nLine), GetLineLength(nLine)); }
  // Whole text with LF between lines.
  std::string All() const {
    std::string text;
    GetText(0, 0, GetLineCount() - 1, GetLineLength(GetLineCount() - 1), text, "\n");
    return text;
  }
  // Marks the current undo position as saved, as a save does.
  void MarkSaved() {
    SetModified(0);
    m_nSyncPosition = m_nUndoPosition;
  }
};

struct Notification {
  QuillView* source;
  unsigned long flags;
  int line;
};

class RecordingView : public QuillView {
 public:
  void UpdateView(QuillView* pSource, CUpdateContext* pContext, unsigned long dwFlags, int nLine) override {
    notes.push_back({pSource, dwFlags, nLine});
    if (pContext != nullptr) pContext->AdjustPoint(caret);
  }
  void OnEditOperation(int nAction, const char* pszText) override {
    edits.emplace_back(nAction, pszText);
  }
  bool HasBookmarks() const { return m_bHasBookmarks; }

  CPoint caret;
  std::vector<Notification> notes;
  std::vector<std::pair<int, std::string>> edits;
};

}  // namespace quill::test
