#pragma once
// File prompts on QFileDialog.

#include <QStringList>

#include "platform/prompts.h"

namespace quill::qt {

// The name filters of a desktop filter string ("Text files (*.txt)|*.txt|All (*.*)|*.*||"):
// each description with its patterns in parentheses, as QFileDialog reads them.
QStringList NameFiltersOf(const std::string& filter);

class QtFilePrompt : public FilePrompt {
 public:
  std::optional<std::string> AskFileName(const FilePromptRequest& request) override;
};

}  // namespace quill::qt
