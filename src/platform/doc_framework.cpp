#include "platform/doc_framework.h"

#include <algorithm>

#include "platform/app_services.h"
#include "platform/document.h"
#include "platform/file_service.h"
#include "platform/prompts.h"

namespace quill {

std::string AfxFrameworkString(unsigned nID) {
  switch (nID) {
    case AFX_IDS_SAVEFILE: return "Save As";
    case AFX_IDS_SAVEFILECOPY: return "Save Copy As";
    case AFX_IDP_FAILED_TO_OPEN_DOC: return "Failed to open document.";
    case AFX_IDP_FAILED_TO_SAVE_DOC: return "Failed to save document.";
    default: return std::string();
  }
}

std::string FirstFilterExtension(const std::string& filterExt) {
  return filterExt.substr(0, filterExt.find(';'));
}

bool DoPromptFileName(std::string& fileName, unsigned nIDSTitle, unsigned lFlags,
                      bool bOpenFileDialog, const CDocTemplate* pTemplate) {
  FilePromptRequest request;
  request.save = !bOpenFileDialog;
  request.title = AfxFrameworkString(nIDSTitle);
  request.initialFileName = fileName;
  request.flags = lFlags;
  std::string filterExt, filterName;
  if (pTemplate != nullptr && pTemplate->GetDocString(filterExt, CDocTemplate::filterExt)) {
    const std::string first = FirstFilterExtension(filterExt);
    request.defaultExtension = first.empty() || first[0] != '.' ? first : first.substr(1);
    std::string patterns;
    for (std::size_t start = 0; start <= filterExt.size();) {
      std::size_t end = filterExt.find(';', start);
      if (end == std::string::npos) end = filterExt.size();
      if (end > start) patterns += (patterns.empty() ? "*" : ";*") + filterExt.substr(start, end - start);
      start = end + 1;
    }
    if (!pTemplate->GetDocString(filterName, CDocTemplate::filterName)) filterName = patterns;
    request.filter = filterName + "|" + patterns + "|";
  }
  std::optional<std::string> answer = PromptForFileName(request);
  if (!answer) return false;
  fileName = *answer;
  return true;
}

namespace {

std::vector<std::string>& RecentFiles() {
  static std::vector<std::string> files;
  return files;
}

}  // namespace

void AddToRecentFileList(const std::string& pathName) {
  if (pathName.empty()) return;
  std::vector<std::string>& files = RecentFiles();
  files.erase(std::remove(files.begin(), files.end(), pathName), files.end());
  files.insert(files.begin(), pathName);
  if (files.size() > kMaxRecentFiles) files.resize(kMaxRecentFiles);
}

const std::vector<std::string>& GetRecentFileList() { return RecentFiles(); }

void ClearRecentFileList() { RecentFiles().clear(); }

CWaitCursor::CWaitCursor() { GetApplicationServices().BeginWaitCursor(); }

CWaitCursor::~CWaitCursor() { GetApplicationServices().EndWaitCursor(); }

bool RemoveFile(const std::string& pathName) { return GetFileService().Delete(pathName); }

}  // namespace quill
