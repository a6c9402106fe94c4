#include "qt/qt_common_dialogs.h"

#include <QApplication>
#include <QTimer>

#include <cstring>

#include "qt/qt_dc.h"

namespace quill::qt {

namespace {

QtCommonDialogs*& Installed() {
  static QtCommonDialogs* dialogs = nullptr;
  return dialogs;
}

}  // namespace

std::optional<COLORREF> QtCommonDialogs::ChooseColor(const ColorDialogRequest& request) {
  QColorDialog dialog(ToQColor(request.initial), QApplication::activeWindow());
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (m_colorHook) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (m_colorHook) m_colorHook(dialog);
    });
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QColor chosen = dialog.selectedColor();
  return RGB(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
             static_cast<std::uint8_t>(chosen.blue()));
}

std::optional<LOGFONT> QtCommonDialogs::ChooseFont(const FontDialogRequest& request) {
  QFontDialog dialog(FontFromLogFont(request.initial), QApplication::activeWindow());
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (request.flags & CF_FIXEDPITCHONLY) dialog.setOption(QFontDialog::MonospacedFonts);
  if (m_fontHook) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (m_fontHook) m_fontHook(dialog);
    });
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  LOGFONT lf = LogFontFromFont(dialog.selectedFont());
  // The family is the face name; everything the dialog does not choose stays as asked.
  LOGFONT result = request.initial;
  std::memcpy(result.lfFaceName, lf.lfFaceName, sizeof result.lfFaceName);
  result.lfHeight = lf.lfHeight;
  return result;
}

QtCommonDialogs* GetQtCommonDialogs() { return Installed(); }

void SetQtCommonDialogs(QtCommonDialogs* dialogs) { Installed() = dialogs; }

}  // namespace quill::qt
