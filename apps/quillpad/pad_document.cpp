#include "pad_document.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "languages.h"
#include "outside_changes.h"
#include "platform/app_services.h"
#include "platform/file_service.h"
#include "platform/format.h"

namespace quillpad {
namespace {

constexpr char kNulFormat[] =
    "%s\n\nThis file holds NUL bytes, which the editor cannot keep: saving it here would "
    "change the file.\nIt is open read-only; Save As makes an editable copy under another name.";

bool HoldsNul(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> chunk(std::size_t{1} << 20);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (std::memchr(chunk.data(), 0, static_cast<std::size_t>(in.gcount())) != nullptr) return true;
  }
  return false;
}

}  // namespace

namespace {
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
  return result;
}

int PadDocument::OnOpenDocument(const char* path) {
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
  m_bHoldsNul = false;  // the saved file is what the buffer holds
  deletedReported = false;
  quill::GetFileService().GetLastWriteTime(path, m_ftBase);
  return 1;
}

bool PadDocument::ChangedOutside() const {
  std::uint64_t ftNow = 0;
  return m_ftBase != 0 && !m_strPathName.empty() &&
         quill::GetFileService().GetLastWriteTime(m_strPathName, ftNow) && ftNow != m_ftBase;
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
  m_ftBase = 0;
  quill::GetFileService().GetLastWriteTime(path, m_ftBase);
  m_bHoldsNul = HoldsNul(path);
  if (!m_bHoldsNul) return;
  // The buffer's read-only switch would also mark the file read-only on disk while the
  // document has a path; this file is to stay exactly as it is, so the path is set aside.
  std::string kept;
  kept.swap(m_strPathName);
  m_xTextBuffer.SetReadOnly(1);
  m_strPathName.swap(kept);
  quill::AfxMessageBox(quill::Format(kNulFormat, path.c_str()), quill::MB_OK | quill::MB_ICONWARNING);
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
