#pragma once
// The platform services of the process, one bundle with a slot for each service, and the
// services that answer for a slot with nothing in it.
//
// A backend installs a bundle with ScopedPlatformServices (Qt's InstallPlatform does);
// the Set*/Install* function beside each service interface fills a single slot. Where a
// slot is empty, the fallback bundle serves, and where the fallback is empty too, the core
// does: the display gives the classic colours, the clipboard keeps its text in memory,
// files are the POSIX files, message boxes are written to stderr and answered with their
// first button, dialogs, sheets, prompts and the colour and font dialogs are cancelled
// without being shown, there is no status bar, no printer, no drag and drop and no font.
// The test support (platform/headless) makes the headless services the fallback bundle
// when it is loaded.
//
// Every slot shares ownership of its service. A service the installer keeps alive itself
// goes in through Unowned, a pointer that never deletes.

#include <memory>
#include <type_traits>

namespace quill {

class Clipboard;
class CommonDialogs;
class Display;
class DragDropService;
class FilePrompt;
class IApplicationServices;
class IDialogRunner;
class IFileService;
class IFontList;
class IMessageBoxPresenter;
class IPrintServices;
class ISheetRunner;

// A bundle names only the slots it fills; the others stay empty.
struct PlatformServices {
  std::shared_ptr<IApplicationServices> pApplication = nullptr;
  std::shared_ptr<IMessageBoxPresenter> pMessageBoxes = nullptr;
  std::shared_ptr<IFontList> pFonts = nullptr;
  std::shared_ptr<IDialogRunner> pDialogRunner = nullptr;
  std::shared_ptr<ISheetRunner> pSheetRunner = nullptr;
  std::shared_ptr<IPrintServices> pPrint = nullptr;
  std::shared_ptr<CommonDialogs> pCommonDialogs = nullptr;
  std::shared_ptr<FilePrompt> pFilePrompt = nullptr;
  std::shared_ptr<DragDropService> pDragDrop = nullptr;
  std::shared_ptr<const Display> pDisplay = nullptr;
  std::shared_ptr<Clipboard> pClipboard = nullptr;
  std::shared_ptr<IFileService> pFiles = nullptr;
};

// A slot's pointer to a service it does not own; null stays null.
template <class T>
std::shared_ptr<T> Unowned(T* service) {
  return std::shared_ptr<T>(std::shared_ptr<void>(), service);
}

// The installed bundle.
PlatformServices& InstalledPlatformServices();

// Installs the services a bundle holds for the lifetime of the object; the slots it leaves
// empty keep what is installed. On destruction each slot it filled gets back the service
// it had before.
class ScopedPlatformServices {
 public:
  explicit ScopedPlatformServices(PlatformServices services);
  ~ScopedPlatformServices();
  ScopedPlatformServices(const ScopedPlatformServices&) = delete;
  ScopedPlatformServices& operator=(const ScopedPlatformServices&) = delete;

 private:
  PlatformServices m_installed;
  PlatformServices m_previous;
};

// The fallback bundle.
void SetFallbackPlatformServices(const PlatformServices& services);
const PlatformServices& GetFallbackPlatformServices();

// The service in a slot of the installed bundle, else in the fallback's, else null.
template <class T>
const std::shared_ptr<T>& InstalledOrFallback(std::shared_ptr<T> PlatformServices::*slot) {
  const std::shared_ptr<T>& installed = InstalledPlatformServices().*slot;
  return installed ? installed : GetFallbackPlatformServices().*slot;
}

// The service in the slot, else the fallback bundle's, else otherwise.
template <class T>
T& InstalledOr(std::shared_ptr<T> PlatformServices::*slot, std::type_identity_t<T>& otherwise) {
  const std::shared_ptr<T>& service = InstalledOrFallback(slot);
  return service ? *service : otherwise;
}

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
