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
  switch (request.style & 0xF) {
    case 0x2: return 3;  // abort, retry, ignore: IDABORT
    case 0x3:
    case MB_YESNO: return IDYES;
    case 0x5: return 4;  // retry, cancel: IDRETRY
    default: return IDOK;
  }
}

std::vector<FontInfo> HeadlessFontList::GetInstalledFonts() {
  return {{"Arial", false},         {"Consolas", true}, {"Courier New", true},
          {"Lucida Console", true}, {"Tahoma", false},  {"Terminal", true},
          {"Times New Roman", false}, {"Verdana", false}};
}

}  // namespace quill
