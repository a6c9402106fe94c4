#include <algorithm>

#include "buffer/text_buffer.h"
#include "buffer/update_context.h"
#include "platform/document.h"
#include "platform/file_service.h"
#include "view/quill_view.h"
#include "view/text_document.h"

namespace quill {
namespace {

// The identity of a file that can be opened for reading.
bool ReadIdentity(const std::string& path, FileIdentity& identity) {
  if (path.empty()) return false;
  IFileService& files = GetFileService();
  const std::unique_ptr<IFile> file =
      files.Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                 OPEN_EXISTING);
  return file != nullptr && files.GetIdentity(path, identity);
}

}  // namespace

void QuillView::UpdateLastWrittenTime() {
  if (m_pDocument == nullptr) return;
  FileIdentity identity;
  if (ReadIdentity(m_pDocument->GetPathName(), identity)) RecordWrittenFile(identity);
}

void QuillView::RecordWrittenFile(const FileIdentity& identity) {
  // 100-nanosecond intervals since 1 January 1601, as the component counts file times.
  constexpr std::int64_t kEpochDifference = 11644473600LL;
  m_idLastWrite = identity;
  m_ftLastWrite = identity.IsKnown()
                      ? static_cast<std::uint64_t>(identity.modified / 100 + kEpochDifference * 10000000LL)
                      : 0;
}

bool QuillView::CheckTimestamp() const {
  if (m_pDocument == nullptr) return false;
  FileIdentity identity;
  return ReadIdentity(m_pDocument->GetPathName(), identity) && identity != m_idLastWrite;
}

void QuillView::ReloadFromFile() {
  QuillTextBuffer* pBuf = m_pTextBuffer != nullptr ? m_pTextBuffer : LocateTextBuffer();
  if (pBuf == nullptr || m_pDocument == nullptr) return;
  const std::string path = m_pDocument->GetPathName();
  const auto* pTextDoc = dynamic_cast<const ITextDocument*>(m_pDocument);
  const bool bLocking = pTextDoc != nullptr && pTextDoc->IsLockingTextDocument();
  // Keep the text rather than lose it to a file that cannot be read now (gone, or held
  // by another program); a locking document reads the file it holds itself.
  if (!bLocking && !GetFileService().Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING))
    return;
  const CPoint ptCursor = m_ptCursorPos;
  const int nTopLine = m_nTopLine;
  if (pBuf->IsInit()) {
    const int nLast = pBuf->GetLineCount() - 1;
    const int nLastLength = pBuf->GetLineLength(nLast);
    if (nLast > 0 || nLastLength > 0)
      pBuf->DeleteText(nullptr, 0, 0, nLast, nLastLength, UNDO_ACTION_DELETE);
    pBuf->FreeAll();
    int bLoaded = 0;
    pBuf->RecordFileIdentity(path);
    if (bLocking) {
      bLoaded = pBuf->LoadFromFileLocking(path.c_str(), false, -1);
    } else {
      bLoaded = pBuf->LoadFromFile(path.c_str(), -1);
    }
    // A load that failed half way has been reported; leave an empty buffer, not none.
    if (!bLoaded) pBuf->InitNew(pBuf->GetCRLFMode());
  }
  pBuf->UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
  pBuf->SetModified(0);
  // Keep the caret on its line and the window on its rows where the new text allows.
  if (m_pTextBuffer != nullptr && GetLineCount() > 0) {
    const int nLine = std::clamp(ptCursor.y, 0, GetLineCount() - 1);
    m_ptCursorPos = CPoint(std::clamp(ptCursor.x, 0, GetLineLength(nLine)), nLine);
    m_ptSelStart = m_ptSelEnd = m_ptAnchor = m_ptCursorPos;
    m_nTopLine = std::clamp(nTopLine, 0, GetLineCount() - 1);
    if (HasWindow()) {
      RecalcVertScrollBar(0);
      InvalidateAll(true);
      UpdateCaret();
    }
  }
}

void QuillView::OnUpdate(QuillView* pSender, long, void*) {
  if (pSender != nullptr) {
    if (HasWindow()) InvalidateAll(true);
    return;
  }
  if (CheckTimestamp() && m_ftLastWrite != 0) {
    UpdateLastWrittenTime();
    ReloadFromFile();
  }
}

std::vector<QuillView*> QuillView::GetDocumentViews(const std::string& path) {
  std::vector<QuillView*> views;
  for (CDocument* pDoc : AfxGetOpenDocuments()) {
    auto* pTextDoc = dynamic_cast<ITextDocument*>(pDoc);
    if (pTextDoc == nullptr || !pTextDoc->IsPlainTextDocument() || pDoc->GetPathName() != path) continue;
    if (auto* pView = dynamic_cast<QuillView*>(pTextDoc->GetTextBuffer().GetLastAttachedView()))
      views.push_back(pView);
  }
  return views;
}

void QuillView::UpdateDocumentView(const std::string& path) {
  for (QuillView* pView : GetDocumentViews(path)) {
    pView->UpdateLastWrittenTime();
    pView->ReloadFromFile();
  }
}

}  // namespace quill
