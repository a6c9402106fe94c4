#include "platform/document.h"

#include "platform/app_services.h"
#include "platform/doc_framework.h"
#include "platform/file_service.h"
#include "platform/prompts.h"

#include <algorithm>

namespace quill {

namespace {

std::vector<CDocument*>& OpenDocuments() {
  static std::vector<CDocument*> documents;
  return documents;
}

}  // namespace

CDocument::CDocument() { OpenDocuments().push_back(this); }

CDocument::~CDocument() {
  std::vector<CDocument*>& documents = OpenDocuments();
  documents.erase(std::remove(documents.begin(), documents.end(), this), documents.end());
}

const std::vector<CDocument*>& AfxGetOpenDocuments() { return OpenDocuments(); }

bool CDocTemplate::GetDocString(std::string& rString, DocStringIndex index) const {
  rString.clear();
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = m_strDocStrings.find('\n', start);
    if (start == std::string::npos) return false;
    ++start;
  }
  rString = m_strDocStrings.substr(start, m_strDocStrings.find('\n', start) - start);
  return !rString.empty();
}


void CDocument::SetPathName(const std::string& path, bool addToMRU) {
  m_strPathName = path;
  const auto slash = path.find_last_of("/\\");
  SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
  if (addToMRU) AddToRecentFileList(path);
}

int CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.clear();
  SetModifiedFlag(false);
  return 1;
}

int CDocument::OnOpenDocument(const char*) { return 0; }

int CDocument::OnSaveDocument(const char*) { return 0; }

void CDocument::OnCloseDocument() { DeleteContents(); }

int CDocument::DoSave(const char* pszPathName, int bReplace) {
  return SaveDocumentAs(pszPathName, bReplace, m_pDocTemplate);
}

int CDocument::DoFileSave() {
  const std::uint32_t attributes = GetFileService().GetAttributes(m_strPathName);
  // A file that is missing or cannot be examined counts as read-only: ask for a name.
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return DoSave(nullptr) ? 1 : 0;
  return DoSave(m_strPathName.c_str()) ? 1 : 0;
}

void CDocument::ReportSaveLoadException(const char*, unsigned nIDPDefault) {
  AfxMessageBox(AfxFrameworkString(nIDPDefault), MB_ICONWARNING);
}

int CDocument::SaveDocumentAs(const char* pszPathName, int bReplace,
                              CDocTemplate* pPromptTemplate) {
  std::string newName = pszPathName != nullptr ? pszPathName : "";
  const bool bAsked = newName.empty();
  if (bAsked) {
    newName = m_strPathName;
    if (bReplace && newName.empty()) {
      newName = m_strTitle.substr(0, m_strTitle.find_first_of("#%;/\\"));
      std::string filterExt;
      if (m_pDocTemplate != nullptr &&
          m_pDocTemplate->GetDocString(filterExt, CDocTemplate::filterExt))
        newName += FirstFilterExtension(filterExt);
    }
    if (!DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                          OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, false, pPromptTemplate))
      return 0;
  }

  {
    CWaitCursor wait;
    // A failed save under an asked-for name removes what it created there, never a file
    // that was there before.
    const bool bExisted = GetFileService().GetAttributes(newName) != INVALID_FILE_ATTRIBUTES;
    if (!OnSaveDocument(newName.c_str())) {
      if (bAsked && !bExisted) RemoveFile(newName);
      return 0;
    }
  }
  if (bReplace) SetPathName(newName, true);
  return 1;
}

namespace {

constexpr char kModifiedMark[] = " *";
constexpr char kReadOnlyMark[] = "(Read-Only)";

}  // namespace

void CDocument::OnTextModifiedChanged(bool modified) {
  SetModifiedFlag(modified);  // first: the title below needs memory
  std::string title = GetTitle();
  const std::size_t nSep = title.find_last_of("\\:");
  if (nSep != std::string::npos && nSep != 0) title.erase(0, nSep + 1);
  for (std::size_t nMark = title.find(kModifiedMark); nMark != std::string::npos; nMark = title.find(kModifiedMark))
    title.erase(nMark, sizeof kModifiedMark - 1);
  if (!title.empty() && modified) title += kModifiedMark;
  SetTitle(title);
}

void CDocument::MarkTitleReadOnly() {
  const std::string& title = GetTitle();
  if (!title.empty() && title.find(kReadOnlyMark) == std::string::npos) SetTitle(title + " " + kReadOnlyMark);
}

}  // namespace quill
