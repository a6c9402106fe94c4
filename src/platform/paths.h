#pragma once
// Paths as strings: the one rule for the folder that holds a file.

#include <string>

namespace quill {

// The folder holding path: "/" for a file at the root, "" for a bare name.
std::string ParentFolder(const std::string& path);
// The same, with "." for a bare name: a folder that can be opened.
std::string ParentFolderOrDot(const std::string& path);

}  // namespace quill
