#include "platform/control_services.h"

#include "platform/headless/headless_controls.h"

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

IMessageBoxPresenter& GetMessageBoxPresenter() {
  static HeadlessMessageBoxPresenter headless;
  return InstalledPresenter() ? *InstalledPresenter() : headless;
}

void SetFontList(IFontList* fonts) { InstalledFonts() = fonts; }

IFontList& GetFontList() {
  static HeadlessFontList headless;
  return InstalledFonts() ? *InstalledFonts() : headless;
}

}  // namespace quill
