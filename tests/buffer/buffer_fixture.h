#pragma once
// Shared helpers of the buffer tests: a buffer exposing its protected members and a view
// that records every notification and moves a caret through the update contexts.

#include <string>
#include <vector>

#include "quill.h"

namespace quill::test {

using Lines = std::vector<std::string>;

class TestBuffer : public QuillTextBuffer {
 public:
  using QuillTextBuffer::QuillTextBuffer;
  // The tests add views with AddView alone, which never tells a view its buffer, so a view
  // destroyed first stays listed: the test buffer forgets its views before it goes.
  ~TestBuffer() { m_lpViews.clear(); }
  using QuillTextBuffer::GetActionDescription;
  using QuillTextBuffer::InsertLine;
  using QuillTextBuffer::m_aLines;
  using QuillTextBuffer::m_aUndoBuf;
  using QuillTextBuffer::m_bCreateBackupFile;
  using QuillTextBuffer::m_nSyncPosition;
  using QuillTextBuffer::m_nUndoBufSize;
  using QuillTextBuffer::m_nUndoMemoryLimit;
  using QuillTextBuffer::m_nUndoPosition;

  std::string Line(int nLine) const { return std::string(GetLineChars(nLine), GetLineLength(nLine)); }
  Lines AllLines() const {
    Lines lines;
    for (int i = 0; i < GetLineCount(); ++i) lines.push_back(Line(i));
    return lines;
  }
  // The whole text with LF between lines.
  std::string All() const {
    std::string text;
    GetText(0, 0, GetLineCount() - 1, GetLineLength(GetLineCount() - 1), text, "\n");
    return text;
  }
  int Insert(int nLine, int nPos, const char* text, int nAction = UNDO_ACTION_UNKNOWN, QuillView* src = nullptr) {
    int l = 0, c = 0;
    return InsertText(src, nLine, nPos, text, l, c, nAction);
  }
  // What a save does to the undo state.
  void MarkSaved() {
    SetModified(0);
    m_nSyncPosition = m_nUndoPosition;
  }
};

class RecordingView : public QuillView {
 public:
  struct Note {
    QuillView* source;
    unsigned long flags;
    int line;
  };
  void UpdateView(QuillView* pSource, CUpdateContext* pContext, unsigned long dwFlags, int nLine) override {
    notes.push_back({pSource, dwFlags, nLine});
    if (pContext != nullptr) pContext->AdjustPoint(caret);
  }
  void OnEditOperation(int nAction, const char* pszText) override { edits.emplace_back(nAction, pszText); }
  bool HasBookmarks() const { return m_bHasBookmarks; }
  QuillTextBuffer* Buffer() const { return m_pTextBuffer; }

  CPoint caret;
  std::vector<Note> notes;
  std::vector<std::pair<int, std::string>> edits;
};

}  // namespace quill::test
