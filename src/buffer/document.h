#pragma once
// QuillDocument: a document that owns one text buffer and opens its file only while it
// loads or saves it. It connects the framework's new, open, save and close steps to the
// buffer, offers a save driven by the user's save option, and a go-to-line service.

#include <memory>

#include "buffer/text_buffer.h"
#include "platform/document.h"

namespace quill {

class QuillView;

class QuillDocument : public CDocument {
 public:
  // Created dynamically by its document template under this class name.
  static constexpr const char* kClassName = "QuillDocument";
  static std::unique_ptr<CDocument> CreateObject();

  QuillDocument();
  ~QuillDocument() override;

  void DeleteContents() override;
  int OnNewDocument() override;
  int OnOpenDocument(const char* pszPathName) override;
  int OnSaveDocument(const char* pszPathName) override;
  void OnCloseDocument() override;
  int DoSave(const char* pszPathName, int bReplace = 1) override;
  int DoFileSave() override;

  // Asks "save it?" when the document is modified and the user's save option is to be
  // asked; saves on Yes. 0 when nothing was saved.
  int DoSaveIf();

  // Whether the save-as prompt gets the document template (filter, default extension).
  void SetAppendDefaultExt(bool bAppend) { m_bAppendDefaultExt = bAppend; }
  bool GetAppendDefaultExt() const { return m_bAppendDefaultExt; }
  // Stored only: a plain document keeps no file that it could delete.
  virtual void DeleteOnClosing(bool bDelete) { m_bDeleteOnClosing = bDelete; }
  bool IsDeleteOnClosing() const { return m_bDeleteOnClosing; }
  // Moves the caret of the most recently attached view to the start of line nLine
  // (from 1), setting the plain bookmark there when asked. Always true.
  virtual bool GotoLine(int nLine, bool bSetBookmark);

  // The most recently attached view, or null.
  QuillView* GetFirstView() const { return m_xTextBuffer.GetLastAttachedView(); }
  QuillTextBuffer& GetTextBuffer() { return m_xTextBuffer; }

 protected:
  QuillTextBuffer m_xTextBuffer{this};
  bool m_bAppendDefaultExt = false;
  bool m_bDeleteOnClosing = false;
};

// The go-to-line service of both document classes: the buffer's most recently attached
// view goes to the line and optionally sets its plain bookmark. Always true.
bool GotoLineInLastView(const QuillTextBuffer& buffer, int nLine, bool bSetBookmark);

}  // namespace quill
