#pragma once
// File-name prompts (the open and save dialogs). The core describes what it asks; the
// installed FilePrompt shows it. Without a backend the fallback answers.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace quill {

// Options of a file prompt, with the values the desktop's file dialogs use.
constexpr unsigned OFN_READONLY = 0x00000001;
constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002;
constexpr unsigned OFN_HIDEREADONLY = 0x00000004;
constexpr unsigned OFN_NOCHANGEDIR = 0x00000008;
constexpr unsigned OFN_PATHMUSTEXIST = 0x00000800;
constexpr unsigned OFN_FILEMUSTEXIST = 0x00001000;

struct FilePromptRequest {
  bool save = false;             // a save prompt, else an open prompt
  std::string title;             // caption; empty = the toolkit's default caption
  std::string filter;            // "Text files (*.txt)|*.txt|All files (*.*)|*.*||"; empty = none
  std::string defaultExtension;  // appended when the user types a name without one ("syn")
  std::string initialDirectory;  // empty = the process's current directory
  std::string initialFileName;
  unsigned flags = 0;            // OFN_* options
  std::size_t maxPathLength = 0; // longest answer the caller takes; 0 = any
};

class FilePrompt {
 public:
  virtual ~FilePrompt() = default;
  // The chosen full path, or nothing when the user cancels.
  virtual std::optional<std::string> AskFileName(const FilePromptRequest& request) = 0;
};

// Installs the prompt used from now on; null restores the fallback.
void InstallFilePrompt(std::shared_ptr<FilePrompt> prompt);
FilePrompt& CurrentFilePrompt();

// Asks the installed prompt. An answer longer than the request's maxPathLength counts as
// cancelled, as a dialog that cannot fit the name in its buffer fails.
std::optional<std::string> PromptForFileName(const FilePromptRequest& request);

}  // namespace quill
