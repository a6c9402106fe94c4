#pragma once
// The desktop's colour and font dialogs on Qt: QColorDialog, and QFontDialog offering the
// fixed-pitch fonts when the request asks for them only. A hook, when set, is called with
// each dialog once it is on the screen (tests choose and close it there).

#include <QColorDialog>
#include <QFontDialog>

#include <functional>

#include "platform/common_dialogs.h"

namespace quill::qt {

class QtCommonDialogs : public CommonDialogs {
 public:
  std::optional<COLORREF> ChooseColor(const ColorDialogRequest& request) override;
  std::optional<LOGFONT> ChooseFont(const FontDialogRequest& request) override;

  void SetColorDialogHook(std::function<void(QColorDialog&)> hook) { m_colorHook = std::move(hook); }
  void SetFontDialogHook(std::function<void(QFontDialog&)> hook) { m_fontHook = std::move(hook); }

 private:
  std::function<void(QColorDialog&)> m_colorHook;
  std::function<void(QFontDialog&)> m_fontHook;
};

// The dialogs InstallPlatform installed, or null.
QtCommonDialogs* GetQtCommonDialogs();
void SetQtCommonDialogs(QtCommonDialogs* dialogs);

}  // namespace quill::qt
