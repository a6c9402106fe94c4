#pragma once
// The application side of the document framework: the file-name prompt of save as and
// save copy as, the recently used file list, the wait cursor and file removal, with the
// framework's own texts for them.

#include <cstddef>
#include <string>
#include <vector>

namespace quill {

class CDocTemplate;

// Framework string and prompt ids, with their texts.
constexpr unsigned AFX_IDS_SAVEFILE = 0xF001;
constexpr unsigned AFX_IDS_SAVEFILECOPY = 0xF002;
constexpr unsigned AFX_IDP_FAILED_TO_OPEN_DOC = 0xF104;
constexpr unsigned AFX_IDP_FAILED_TO_SAVE_DOC = 0xF105;
// "Save As", "Save Copy As", "Failed to open document.", "Failed to save document."; an
// unknown id gives an empty text.
std::string AfxFrameworkString(unsigned nID);

// Asks for a file name with the installed file prompt. fileName is the proposed name in
// and the chosen one out; nIDSTitle one of the title ids above; lFlags OFN_* options. The
// template, when given, supplies the filter ("<filter name>|<extensions>|") and the
// default extension (its first, without the dot). False when the user cancels.
bool DoPromptFileName(std::string& fileName, unsigned nIDSTitle, unsigned lFlags,
                      bool bOpenFileDialog, const CDocTemplate* pTemplate);

// The first extension of a template's filter-extension text (".txt;.log" -> ".txt").
std::string FirstFilterExtension(const std::string& filterExt);

// The recently used file list: most recent first, no duplicates, at most kMaxRecentFiles.
constexpr std::size_t kMaxRecentFiles = 4;
void AddToRecentFileList(const std::string& pathName);
const std::vector<std::string>& GetRecentFileList();
void ClearRecentFileList();

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Deletes a file through the file service; false (and the error code) on failure.
bool RemoveFile(const std::string& pathName);

}  // namespace quill
