#include "platform/common_dialogs.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
void InstallCommonDialogs(std::shared_ptr<CommonDialogs> dialogs) {
  InstalledPlatformServices().pCommonDialogs = std::move(dialogs);
}

CommonDialogs& CurrentCommonDialogs() {
  return InstalledOr(&PlatformServices::pCommonDialogs, *InertCommonDialogs());
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
