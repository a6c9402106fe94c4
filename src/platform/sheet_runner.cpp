#include "platform/sheet_runner.h"

#include "platform/platform_services.h"

namespace quill {
void SetSheetRunner(ISheetRunner* runner) {
  InstalledPlatformServices().pSheetRunner = Unowned(runner);
}

ISheetRunner& GetSheetRunner() {
  return InstalledOr(&PlatformServices::pSheetRunner, InertSheetRunner());
}

}  // namespace quill
