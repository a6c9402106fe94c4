// The boundary of a command: whatever a command throws stops here. The text it changed
// is taken back through its own undo records, cursor and selection return to where they
// were, and one message box says why nothing happened.

#include <exception>
#include <new>
#include <string>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/exceptions.h"
#include "view/quill_view.h"

namespace quill {

namespace {

std::string FailureMessage(const std::exception* pError) {
  const std::string what = pError != nullptr ? pError->what() : "";
  if (dynamic_cast<const std::bad_alloc*>(pError) != nullptr)
    return "The edit was not made: there is not enough memory.";
  if (dynamic_cast<const InvalidArgException*>(pError) != nullptr && what == "line too long")
    return "The edit was not made: a line would become longer than the editor can hold.";
  return what.empty() ? std::string("The command failed.") : "The command failed: " + what + ".";
}

}  // namespace

bool QuillView::RunEditCommand(const std::function<void()>& command) {
  const int nEditsBefore = m_nEditCount;
  const CPoint ptCursor = m_ptCursorPos;
  const CPoint ptAnchor = m_ptAnchor;
  const CPoint ptSelStart = m_ptSelStart;
  const CPoint ptSelEnd = m_ptSelEnd;
  std::string message;
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    message = FailureMessage(&error);
  } catch (...) {
    message = FailureMessage(nullptr);
  }
  try {
    if (m_pTextBuffer != nullptr) {
      m_pTextBuffer->FlushUndoGroup(nullptr);
      TakeBackEdits(m_nEditCount - nEditsBefore);
    }
    m_nEditCount = nEditsBefore;
    // The text is what it was: so are the positions in it.
    m_ptAnchor = ptAnchor;
    SetSelection(ptSelStart, ptSelEnd);
    SetCursorPos(ptCursor);
    EnsureVisible(ptCursor);
  } catch (...) {
    // Taking back failed too (memory): what is left stays, the message still goes out.
  }
  AfxMessageBox(message, MB_OK | MB_ICONERROR);
  return false;
}

void QuillView::TakeBackEdits(int nEdits) { m_pTextBuffer->TakeBackEdits(nEdits); }

}  // namespace quill
