#pragma once
// A scriptable file prompt for tests and batch use: it answers from a queue that the test
// fills and records every request it was given. With an empty queue it cancels.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace quill {

class HeadlessFilePrompt : public FilePrompt {
 public:
  std::optional<std::string> AskFileName(const FilePromptRequest& request) override;

  // Queues the next answer: a path, or std::nullopt for a cancel.
  void QueueAnswer(std::optional<std::string> answer) { m_answers.push_back(std::move(answer)); }
  const std::vector<FilePromptRequest>& Requests() const { return m_requests; }
  void Clear() {
    m_answers.clear();
    m_requests.clear();
  }

 private:
  std::deque<std::optional<std::string>> m_answers;
  std::vector<FilePromptRequest> m_requests;
};

}  // namespace quill
