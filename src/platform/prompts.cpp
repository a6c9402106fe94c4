#include "platform/prompts.h"

#include "platform/headless/file_prompt.h"

namespace quill {
namespace {

std::shared_ptr<FilePrompt>& Installed() {
  static std::shared_ptr<FilePrompt> prompt = std::make_shared<HeadlessFilePrompt>();
  return prompt;
}

}  // namespace

void InstallFilePrompt(std::shared_ptr<FilePrompt> prompt) {
  Installed() = prompt ? std::move(prompt) : std::make_shared<HeadlessFilePrompt>();
}

FilePrompt& CurrentFilePrompt() { return *Installed(); }

std::optional<std::string> PromptForFileName(const FilePromptRequest& request) {
  std::shared_ptr<FilePrompt> prompt = Installed();  // stays alive while it asks
  std::optional<std::string> answer = prompt->AskFileName(request);
  if (answer && request.maxPathLength != 0 && answer->size() >= request.maxPathLength)
    return std::nullopt;
  return answer;
}

}  // namespace quill
