#pragma once
// ITextDocument: what a view knows of a document that owns its text buffer. The documents
// (documents/) implement it; the view finds its buffer through it, and reloads and
// restyles the views of open documents by it.

namespace quill {

class QuillTextBuffer;

class ITextDocument {
 public:
  virtual ~ITextDocument() = default;
  virtual QuillTextBuffer& GetTextBuffer() = 0;
  // A plain document opens its file only while it loads or saves it.
  virtual bool IsPlainTextDocument() const { return false; }
  // A locking document holds its file open, locked, while it is open.
  virtual bool IsLockingTextDocument() const { return false; }
};

}  // namespace quill
