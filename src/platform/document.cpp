#include "platform/document.h"

namespace quill {

void CDocument::SetPathName(const std::string& path, bool /*addToMRU*/) {
  m_strPathName = path;
  const auto slash = path.find_last_of("/\\");
  SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace quill
