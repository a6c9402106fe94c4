#include "platform/headless/file_prompt.h"

namespace quill {

std::optional<std::string> HeadlessFilePrompt::AskFileName(const FilePromptRequest& request) {
  m_requests.push_back(request);
  if (m_answers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(m_answers.front());
  m_answers.pop_front();
  return answer;
}

}  // namespace quill
