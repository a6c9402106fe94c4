#include "platform/control_services.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
namespace {

IMessageBoxPresenter*& InstalledPresenter() {
  static IMessageBoxPresenter* presenter = nullptr;
  return presenter;
}

IFontList*& InstalledFonts() {
  static IFontList* fonts = nullptr;
  return fonts;
}

}  // namespace

void SetMessageBoxPresenter(IMessageBoxPresenter* presenter) { InstalledPresenter() = presenter; }

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
  if (InstalledPresenter()) return *InstalledPresenter();
  IMessageBoxPresenter* fallback = GetFallbackPlatformServices().pMessageBoxes;
  return fallback ? *fallback : InertMessageBoxPresenter();
}

void SetFontList(IFontList* fonts) { InstalledFonts() = fonts; }

IFontList& GetFontList() {
  if (InstalledFonts()) return *InstalledFonts();
  IFontList* fallback = GetFallbackPlatformServices().pFonts;
  return fallback ? *fallback : InertFontList();
}

}  // namespace quill
