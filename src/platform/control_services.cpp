#include "platform/control_services.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
void SetMessageBoxPresenter(IMessageBoxPresenter* presenter) {
  InstalledPlatformServices().pMessageBoxes = Unowned(presenter);
}

int FirstButtonAnswer(unsigned style) {
  switch (style & 0xF) {
    case 0x2: return 3;  // abort, retry, ignore: IDABORT
    case 0x3:
    case MB_YESNO: return IDYES;
    case 0x5: return 4;  // retry, cancel: IDRETRY
    default: return IDOK;
  }
}

IMessageBoxPresenter& GetMessageBoxPresenter() {
  const auto& presenter = InstalledOrFallback(&PlatformServices::pMessageBoxes);
  return presenter ? *presenter : InertMessageBoxPresenter();
}

void SetFontList(IFontList* fonts) { InstalledPlatformServices().pFonts = Unowned(fonts); }

IFontList& GetFontList() {
  const auto& fonts = InstalledOrFallback(&PlatformServices::pFonts);
  return fonts ? *fonts : InertFontList();
}

}  // namespace quill
