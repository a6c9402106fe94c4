// The headless services become the fallback of every platform slot while the test support
// is loaded: what answers in a test that installed nothing.

#include "platform/headless/file_prompt.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_common_dialogs.h"
#include "platform/headless/headless_controls.h"
#include "platform/headless/headless_dialog_runner.h"
#include "platform/headless/headless_drag_drop.h"
#include "platform/headless/headless_printer.h"
#include "platform/headless/headless_sheet_runner.h"
#include "platform/platform_services.h"

namespace quill {
namespace {

struct HeadlessFallback {
  HeadlessFallback() {
    PlatformServices services;
    services.pApplication = std::make_shared<HeadlessApplicationServices>();
    services.pMessageBoxes = std::make_shared<HeadlessMessageBoxPresenter>();
    services.pFonts = std::make_shared<HeadlessFontList>();
    services.pDialogRunner = Unowned<IDialogRunner>(&GetHeadlessDialogRunner());
    services.pSheetRunner = Unowned<ISheetRunner>(&GetHeadlessSheetRunner());
    services.pPrint = std::make_shared<HeadlessPrintServices>();
    services.pCommonDialogs = std::make_shared<HeadlessCommonDialogs>();
    services.pFilePrompt = std::make_shared<HeadlessFilePrompt>();
    services.pDragDrop = std::make_shared<HeadlessDragDrop>();
    SetFallbackPlatformServices(services);
  }
  ~HeadlessFallback() { SetFallbackPlatformServices(PlatformServices{}); }
};

HeadlessFallback g_fallback;

}  // namespace
}  // namespace quill
