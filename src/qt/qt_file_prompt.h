#pragma once
// File prompts on QFileDialog.

#include <QStringList>

#include "platform/prompts.h"

namespace quill::qt {

// The name filters of a desktop filter string ("Text files (*.txt)|*.txt|All (*.*)|*.*||"):
// each description with its patterns in parentheses, as QFileDialog reads them.
QStringList NameFiltersOf(const std::string& filter);

// The folder a file dialog may safely start in for `path` (a file or a folder): the
// path's folder, or the home folder when that lies on a pseudo file system (proc, sys,
// devices), where listing or probing entries can block.
QString SafeStartFolder(const QString& path);

class QtFilePrompt : public FilePrompt {
 public:
  std::optional<std::string> AskFileName(const FilePromptRequest& request) override;
};

}  // namespace quill::qt
