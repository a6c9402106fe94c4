#pragma once
// The services that answer for a slot with nothing installed in it. A backend installs
// its own services slot by slot (SetApplicationServices, SetDialogRunner, ...); where a
// slot is empty, the fallback bundle serves, and where the bundle is empty too, the
// core's inert services do: message boxes are written to stderr and answered with their
// first button, dialogs, sheets, prompts and the colour and font dialogs are cancelled
// without being shown, there is no status bar, no printer, no drag and drop and no font.
// The test support (platform/headless) makes the headless services the fallback bundle
// when it is loaded.

#include <memory>

namespace quill {

class CommonDialogs;
class DragDropService;
class FilePrompt;
class IApplicationServices;
class IDialogRunner;
class IFontList;
class IMessageBoxPresenter;
class IPrintServices;
class ISheetRunner;

struct PlatformServices {
  IApplicationServices* pApplication = nullptr;
  IMessageBoxPresenter* pMessageBoxes = nullptr;
  IFontList* pFonts = nullptr;
  IDialogRunner* pDialogRunner = nullptr;
  ISheetRunner* pSheetRunner = nullptr;
  IPrintServices* pPrint = nullptr;
  std::shared_ptr<CommonDialogs> pCommonDialogs;
  std::shared_ptr<FilePrompt> pFilePrompt;
  std::shared_ptr<DragDropService> pDragDrop;
};

// The fallback bundle (the services are not owned, the shared ones are shared).
void SetFallbackPlatformServices(const PlatformServices& services);
const PlatformServices& GetFallbackPlatformServices();

// The core's inert services, one of each kind.
IApplicationServices& InertApplicationServices();
IMessageBoxPresenter& InertMessageBoxPresenter();
IFontList& InertFontList();
IDialogRunner& InertDialogRunner();
ISheetRunner& InertSheetRunner();
IPrintServices& InertPrintServices();
std::shared_ptr<CommonDialogs> InertCommonDialogs();
std::shared_ptr<FilePrompt> InertFilePrompt();
std::shared_ptr<DragDropService> InertDragDropService();

}  // namespace quill
