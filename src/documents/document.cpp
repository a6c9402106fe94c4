#include "documents/document.h"

#include "dialogs/message_box_dialog.h"
#include "platform/app_services.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "settings/registry.h"
#include "view/quill_view.h"

namespace quill {
namespace {

constexpr char kSaveQuestion[] = "%s\n\nThis file has been modified.\nDo you want to save it?";
// Yes and No, the question icon, and the control library's two extension bits.
constexpr unsigned kSaveQuestionStyle = 0x0C000024;

}  // namespace

std::unique_ptr<CDocument> QuillDocument::CreateObject() {
  return std::make_unique<QuillDocument>();
}

int QuillDocument::OnOpenDocument(const char* pszPathName) {
  // The loader appends to the buffer: start from an empty one.
  if (m_xTextBuffer.IsInit()) m_xTextBuffer.FreeAll();
  // Before the load: a change while it reads shows at the next save.
  m_xTextBuffer.RecordFileIdentity(pszPathName != nullptr ? pszPathName : "");
  return m_xTextBuffer.LoadFromFile(pszPathName, -1);
}

int QuillDocument::OnSaveDocument(const char* pszPathName) {
  const int nResult = m_xTextBuffer.SaveToFile(pszPathName, -1, 1);
  if (nResult) SetModifiedFlag(false);
  return nResult;
}

int QuillDocument::DoSave(const char* pszPathName, int bReplace) {
  if (!SaveWithPrompt(pszPathName, bReplace)) return 0;
  if (bReplace) {
    // The file as the save wrote it, not as it may be by now.
    if (QuillView* pView = GetFirstView()) pView->RecordWrittenFile(m_xTextBuffer.GetFileIdentity());
  }
  return 1;
}

int QuillDocument::DoFileSave() {
  const std::uint32_t attributes = GetFileService().GetAttributes(m_strPathName);
  const bool bWritable = attributes != INVALID_FILE_ATTRIBUTES &&
                         (attributes & FILE_ATTRIBUTE_READONLY) == 0 &&
                         !m_xTextBuffer.GetReadOnly();
  return DoSave(bWritable ? m_strPathName.c_str() : nullptr, 1) ? 1 : 0;
}

int QuillDocument::DoSaveIf() {
  if (!IsModified()) return 0;
  if (GetRegistrySaveOptions() != SAVEOPTION_PROMPT) return 0;
  QuillView* pView = GetFirstView();
  CMessageBoxDialog dialog(pView != nullptr ? pView->GetWindow() : nullptr,
                           Format(kSaveQuestion, m_strPathName.c_str()), "", kSaveQuestionStyle,
                           0);
  if (dialog.DoModal() != IDYES) return 0;
  return OnSaveDocument(m_strPathName.c_str());
}

}  // namespace quill
