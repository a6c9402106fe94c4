#pragma once
// ITextBufferListener: what a QuillTextBuffer tells the views attached to it. The buffer
// knows its views only through this interface; QuillView implements it, and so may any
// other party that wants to follow a buffer's changes.

#include "platform/file_service.h"

namespace quill {

class CDocument;
class CUpdateContext;
class QuillTextBuffer;

class ITextBufferListener {
 public:
  virtual ~ITextBufferListener() = default;

  // After every change, in attachment order: the source of the edit (null when the buffer
  // itself changed), the update context (valid for the call only), the update flags and
  // the line.
  virtual void OnBufferUpdate(ITextBufferListener* pSource, CUpdateContext* pContext,
                              unsigned long dwUpdateFlags, int nLineIndex) = 0;
  // On the source of the edits when an undo group is flushed: the group's action and the
  // text of its last record.
  virtual void OnEditOperation(int /*nAction*/, const char* /*pszText*/) {}
  // The buffer is being destroyed: the listener must forget it.
  virtual void OnBufferDestroyed(QuillTextBuffer* pBuffer) = 0;

  // The document the listener shows the buffer in, or null. Its title follows the
  // buffer's modified and read-only states.
  virtual CDocument* GetListenerDocument() const { return nullptr; }
  // The buffer set a plain bookmark on behalf of the listener (the most recently
  // attached one).
  virtual void OnBookmarkSet() {}
  // The buffer wrote its file, which now has this identity (sent to the first listener
  // that shows the buffer in a document).
  virtual void OnFileWritten(const FileIdentity&) {}
  // The identity of the buffer's file changed from before to after without a change of
  // its text (its read-only attribute was set): sent to every listener.
  virtual void OnFileIdentityChanged(const FileIdentity& /*before*/, const FileIdentity& /*after*/) {}
};

}  // namespace quill
