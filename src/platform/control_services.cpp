#include "platform/control_services.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
void SetMessageBoxPresenter(IMessageBoxPresenter* presenter) {
  InstalledPlatformServices().pMessageBoxes = Unowned(presenter);
}

int FirstButtonAnswer(unsigned style) {
  switch (style & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
  }
}

IMessageBoxPresenter& GetMessageBoxPresenter() {
  return InstalledOr(&PlatformServices::pMessageBoxes, InertMessageBoxPresenter());
}

void SetFontList(IFontList* fonts) { InstalledPlatformServices().pFonts = Unowned(fonts); }

IFontList& GetFontList() {
  return InstalledOr(&PlatformServices::pFonts, InertFontList());
}

}  // namespace quill
