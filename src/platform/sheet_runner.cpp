#include "platform/sheet_runner.h"

#include "platform/platform_services.h"

namespace quill {
void SetSheetRunner(ISheetRunner* runner) {
  InstalledPlatformServices().pSheetRunner = Unowned(runner);
}

ISheetRunner& GetSheetRunner() {
  const auto& runner = InstalledOrFallback(&PlatformServices::pSheetRunner);
  return runner ? *runner : InertSheetRunner();
}

}  // namespace quill
