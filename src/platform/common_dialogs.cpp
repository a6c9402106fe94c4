#include "platform/common_dialogs.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
namespace {

std::shared_ptr<CommonDialogs>& Installed() {
  static std::shared_ptr<CommonDialogs> dialogs;
  return dialogs;
}

}  // namespace

void InstallCommonDialogs(std::shared_ptr<CommonDialogs> dialogs) { Installed() = std::move(dialogs); }

CommonDialogs& CurrentCommonDialogs() {
  if (Installed()) return *Installed();
  const std::shared_ptr<CommonDialogs>& fallback = GetFallbackPlatformServices().pCommonDialogs;
  return fallback ? *fallback : *InertCommonDialogs();
}

int CColorDialog::DoModal() {
  const std::optional<COLORREF> chosen =
      CurrentCommonDialogs().ChooseColor(ColorDialogRequest{m_color, m_dwFlags});
  if (!chosen) return IDCANCEL;
  m_color = *chosen & 0x00FFFFFF;
  return IDOK;
}

CFontDialog::CFontDialog(const LOGFONT* plfInitial, unsigned dwFlags) : m_dwFlags(dwFlags) {
  if (plfInitial != nullptr) {
    m_lf = *plfInitial;
    m_dwFlags |= CF_INITTOLOGFONTSTRUCT;
  }
}

int CFontDialog::DoModal() {
  const std::optional<LOGFONT> chosen = CurrentCommonDialogs().ChooseFont(FontDialogRequest{m_lf, m_dwFlags});
  if (!chosen) return IDCANCEL;
  m_lf = *chosen;
  return IDOK;
}

}  // namespace quill
