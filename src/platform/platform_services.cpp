#include "platform/platform_services.h"

namespace quill {
namespace {

// Calls f(slot of a, slot of b, slot of c) for every slot of the bundles.
template <class F>
void ForEachSlot(PlatformServices& a, PlatformServices& b, PlatformServices& c, F f) {
  f(a.pApplication, b.pApplication, c.pApplication);
  f(a.pMessageBoxes, b.pMessageBoxes, c.pMessageBoxes);
  f(a.pFonts, b.pFonts, c.pFonts);
  f(a.pDialogRunner, b.pDialogRunner, c.pDialogRunner);
  f(a.pSheetRunner, b.pSheetRunner, c.pSheetRunner);
  f(a.pPrint, b.pPrint, c.pPrint);
  f(a.pCommonDialogs, b.pCommonDialogs, c.pCommonDialogs);
  f(a.pFilePrompt, b.pFilePrompt, c.pFilePrompt);
  f(a.pDragDrop, b.pDragDrop, c.pDragDrop);
  f(a.pDisplay, b.pDisplay, c.pDisplay);
  f(a.pClipboard, b.pClipboard, c.pClipboard);
  f(a.pFiles, b.pFiles, c.pFiles);
}

// The bundles outlive every static that installs into them (the Qt services, the headless
// fallback), whatever the order in which statics go at exit: they are never destroyed.
PlatformServices& Fallback() {
  static PlatformServices* const services = new PlatformServices;
  return *services;
}

}  // namespace

PlatformServices& InstalledPlatformServices() {
  static PlatformServices* const services = new PlatformServices;
  return *services;
}

ScopedPlatformServices::ScopedPlatformServices(PlatformServices services)
    : m_installed(std::move(services)) {
  ForEachSlot(InstalledPlatformServices(), m_installed, m_previous,
              [](auto& slot, const auto& mine, auto& previous) {
                if (!mine) return;
                previous = slot;
                slot = mine;
              });
}

ScopedPlatformServices::~ScopedPlatformServices() {
  ForEachSlot(InstalledPlatformServices(), m_installed, m_previous,
              [](auto& slot, const auto& mine, auto& previous) {
                if (mine) slot = std::move(previous);
              });
}

void SetFallbackPlatformServices(const PlatformServices& services) { Fallback() = services; }

const PlatformServices& GetFallbackPlatformServices() { return Fallback(); }

}  // namespace quill
