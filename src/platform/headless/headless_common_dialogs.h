#pragma once
// Colour and font dialogs without a window system: each request is recorded and answered
// with the next scripted answer; with none left, the dialog is cancelled.

#include <deque>
#include <optional>
#include <vector>

#include "platform/common_dialogs.h"

namespace quill {

class HeadlessCommonDialogs : public CommonDialogs {
 public:
  std::optional<COLORREF> ChooseColor(const ColorDialogRequest& request) override;
  std::optional<LOGFONT> ChooseFont(const FontDialogRequest& request) override;

  // Script: the next answers; nothing stands for Cancel.
  void QueueColor(std::optional<COLORREF> answer) { m_colors.push_back(answer); }
  void QueueFont(std::optional<LOGFONT> answer) { m_fonts.push_back(answer); }

  std::vector<ColorDialogRequest> m_colorRequests;
  std::vector<FontDialogRequest> m_fontRequests;

 private:
  std::deque<std::optional<COLORREF>> m_colors;
  std::deque<std::optional<LOGFONT>> m_fonts;
};

}  // namespace quill
