#include "platform/sheet_runner.h"

#include "platform/platform_services.h"

namespace quill {
namespace {

ISheetRunner*& InstalledRunner() {
  static ISheetRunner* runner = nullptr;
  return runner;
}

}  // namespace

void SetSheetRunner(ISheetRunner* runner) { InstalledRunner() = runner; }

ISheetRunner& GetSheetRunner() {
  if (InstalledRunner()) return *InstalledRunner();
  ISheetRunner* fallback = GetFallbackPlatformServices().pSheetRunner;
  return fallback ? *fallback : InertSheetRunner();
}

}  // namespace quill
