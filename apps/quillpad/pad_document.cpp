#include "pad_document.h"

#include <algorithm>

#include "languages.h"
#include "outside_changes.h"
#include "platform/app_services.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "settings/default_encoding.h"

namespace quillpad {
namespace {

constexpr char kNulFormat[] =
    "%s\n\nThis file holds NUL bytes, each shown as a marked cell. It is open read-only; "
    "saving writes it back byte for byte.";
constexpr char kMixedFormat[] = "Line breaks in %s are mixed; saving writes %s breaks";

const char* ModeName(int nMode) {
  return nMode == quill::CRLF_MODE_UNIX ? "UNIX (LF)" : nMode == quill::CRLF_MODE_MAC ? "MAC (CR)" : "DOS (CR LF)";
}

// The template of quillpad's documents: the save prompt's filter and default extension.
quill::CDocTemplate& PadTemplate() {
  static quill::CDocTemplate tmpl("\nText\nUntitled\nText and design files\n" + AllExtensions() +
                                  "\n");
  return tmpl;
}
}  // namespace

PadDocument::PadDocument() { SetDocTemplate(&PadTemplate()); }

int PadDocument::OnNewDocument() {
  const int result = QuillDocument::OnNewDocument();
  m_xTextBuffer.SetCRLFMode(quill::CRLF_MODE_UNIX);
  m_xTextBuffer.SetEncoding(quill::GetRegistryDefaultEncoding());
  return result;
}

int PadDocument::OnOpenDocument(const char* path) {
  // Pure ASCII opens in the encoding the user chose.
  quill::SetAsciiFileEncoding(quill::GetRegistryDefaultEncoding());
  if (QuillDocument::OnOpenDocument(path) == 0) {
    OnNewDocument();
    return 0;
  }
  InspectFile(path);
  KeepHead();
  SetPathName(path);
  SetModifiedFlag(false);
  return 1;
}

int PadDocument::OnSaveDocument(const char* path) {
  if (!MaySaveTo(*this, path) || QuillDocument::OnSaveDocument(path) == 0) return 0;
  if (m_bHoldsNul) KeepReadOnly();  // a save clears the buffer's read-only flag
  deletedReported = false;
  return 1;
}

bool PadDocument::ChangedOutside() const {
  // The buffer keeps the file it was loaded from or last saved to, as it was then.
  const quill::QuillTextBuffer& buffer = m_xTextBuffer;
  quill::IFileService& files = quill::GetFileService();
  quill::FileIdentity now;
  return buffer.GetFileIdentity().IsKnown() && !m_strPathName.empty() &&
         buffer.GetIdentityPath() == files.ResolveLinks(m_strPathName) &&
         files.GetIdentity(m_strPathName, now) && now != buffer.GetFileIdentity();
}

void PadDocument::OnReloaded() {
  InspectFile(m_strPathName);
  KeepHead();
}

void PadDocument::KeepHead() {
  constexpr std::size_t kMaxHead = 8192;
  m_head.clear();
  const quill::QuillTextBuffer& buffer = m_xTextBuffer;
  for (int line = 0; line < buffer.GetLineCount() && m_head.size() < kMaxHead; ++line) {
    const int length = buffer.GetLineLength(line);
    if (length > 0)
      m_head.append(buffer.GetLineChars(line),
                    std::min(static_cast<std::size_t>(length), kMaxHead - m_head.size()));
    m_head += '\n';
  }
}

void PadDocument::InspectFile(const std::string& path) {
  if (m_xTextBuffer.LoadedMixedBreaks()) {
    if (quill::IStatusBar* bar = quill::GetApplicationServices().GetStatusBar())
      bar->SetPaneText(0, quill::Format(kMixedFormat, path.c_str(), ModeName(m_xTextBuffer.GetCRLFMode())));
  }
  m_bHoldsNul = m_xTextBuffer.LoadedNulBytes();
  if (!m_bHoldsNul) return;
  KeepReadOnly();
  quill::AfxMessageBox(quill::Format(kNulFormat, path.c_str()), quill::MB_OK | quill::MB_ICONWARNING);
}

void PadDocument::KeepReadOnly() {
  // The buffer's read-only switch would also mark the file read-only on disk while the
  // document has a path; the file is to stay as it is, so the path is set aside.
  std::string kept;
  kept.swap(m_strPathName);
  m_xTextBuffer.SetReadOnly(1);
  m_strPathName.swap(kept);
}

quill::DocumentType PadDocument::GetDocumentType() const {
  if (m_chosenType != quill::DOCTYPE_NONE) return m_chosenType;
  return m_strPathName.empty() ? quill::DOCTYPE_TEXT : DocumentTypeForFile(m_strPathName, m_head);
}

void PadDocument::SetTitle(const std::string& title) {
  QuillDocument::SetTitle(title);
  if (onChanged) onChanged();
}

void PadDocument::SetModifiedFlag(bool modified) {
  QuillDocument::SetModifiedFlag(modified);
  if (onChanged) onChanged();
}

}  // namespace quillpad
