#include "platform/headless/headless_controls.h"

#include "platform/app_services.h"

namespace quill {

int HeadlessMessageBoxPresenter::Show(const MessageBoxRequest& request) {
  m_requests.push_back(request);
  if (!m_answers.empty()) {
    const int nAnswer = m_answers.front();
    m_answers.pop_front();
    return nAnswer;
  }
  return FirstButtonAnswer(request.style);
}

std::vector<FontInfo> HeadlessFontList::GetInstalledFonts() {
  return {{"Arial", false},         {"Consolas", true}, {"Courier New", true},
          {"Lucida Console", true}, {"Tahoma", false},  {"Terminal", true},
          {"Times New Roman", false}, {"Verdana", false}};
}

}  // namespace quill
