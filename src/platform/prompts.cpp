#include "platform/prompts.h"

#include "platform/platform_services.h"

namespace quill {
namespace {

// The installed prompt, else the fallback's, else the inert one.
std::shared_ptr<FilePrompt> Current() {
  const auto& prompt = InstalledOrFallback(&PlatformServices::pFilePrompt);
  return prompt ? prompt : InertFilePrompt();
}

}  // namespace

void InstallFilePrompt(std::shared_ptr<FilePrompt> prompt) {
  InstalledPlatformServices().pFilePrompt = std::move(prompt);
}

FilePrompt& CurrentFilePrompt() { return *Current(); }

std::optional<std::string> PromptForFileName(const FilePromptRequest& request) {
  std::shared_ptr<FilePrompt> prompt = Current();  // stays alive while it asks
  std::optional<std::string> answer = prompt->AskFileName(request);
  if (answer && request.maxPathLength != 0 && answer->size() >= request.maxPathLength)
    return std::nullopt;
  return answer;
}

}  // namespace quill
