#include "platform/headless/headless_common_dialogs.h"

namespace quill {

std::optional<COLORREF> HeadlessCommonDialogs::ChooseColor(const ColorDialogRequest& request) {
  m_colorRequests.push_back(request);
  if (m_colors.empty()) return std::nullopt;
  const std::optional<COLORREF> answer = m_colors.front();
  m_colors.pop_front();
  return answer;
}

std::optional<LOGFONT> HeadlessCommonDialogs::ChooseFont(const FontDialogRequest& request) {
  m_fontRequests.push_back(request);
  if (m_fonts.empty()) return std::nullopt;
  const std::optional<LOGFONT> answer = m_fonts.front();
  m_fonts.pop_front();
  return answer;
}

}  // namespace quill
