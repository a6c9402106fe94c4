#include "platform/paths.h"

#include <filesystem>

namespace quill {

std::string ParentFolder(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

std::string ParentFolderOrDot(const std::string& path) {
  std::string folder = ParentFolder(path);
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace quill
