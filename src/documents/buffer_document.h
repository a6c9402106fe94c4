#pragma once
// QuillBufferDocument: what the plain and the locking document share. It owns the text
// buffer, clears it for a new or closed document, keeps the append-default-extension and
// delete-on-closing flags, and offers go to line through the most recently attached view.

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "view/text_document.h"

namespace quill {

class QuillView;

class QuillBufferDocument : public CDocument, public ITextDocument {
 public:
  QuillBufferDocument() = default;
  // Frees the buffer's lines when it holds any.
  ~QuillBufferDocument() override;

  // The buffer back to one empty line, not modified, DOS line breaks, no undo history.
  void DeleteContents() override;
  int OnNewDocument() override { return CDocument::OnNewDocument(); }
  void OnCloseDocument() override { CDocument::OnCloseDocument(); }

  // Whether the save-as prompt gets the document template (filter, default extension).
  void SetAppendDefaultExt(bool bAppend) { m_bAppendDefaultExt = bAppend; }
  bool GetAppendDefaultExt() const { return m_bAppendDefaultExt; }
  virtual void DeleteOnClosing(bool bDelete) { m_bDeleteOnClosing = bDelete; }
  bool IsDeleteOnClosing() const { return m_bDeleteOnClosing; }
  // Moves the caret of the most recently attached view to the start of line nLine
  // (from 1), setting the plain bookmark there when asked. Always true, with or without
  // a view.
  virtual bool GotoLine(int nLine, bool bSetBookmark);

  // The most recently attached view, or null.
  QuillView* GetFirstView() const;
  QuillTextBuffer& GetTextBuffer() override { return m_xTextBuffer; }

 protected:
  // The save-as steps with the template given to the prompt only when asked for.
  int SaveWithPrompt(const char* pszPathName, int bReplace) {
    return SaveDocumentAs(pszPathName, bReplace, m_bAppendDefaultExt ? m_pDocTemplate : nullptr);
  }

  QuillTextBuffer m_xTextBuffer{this};
  bool m_bAppendDefaultExt = false;
  bool m_bDeleteOnClosing = false;
};

}  // namespace quill
