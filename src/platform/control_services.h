#pragma once
// What the control library asks of the window system: showing a modal message box with
// its own flags, and the list of installed fonts. A backend installs its services; until
// then the fallback ones (platform/platform_services.h) answer.

#include <memory>
#include <string>
#include <vector>

namespace quill {

class Window;

// One message box the control library shows.
struct MessageBoxRequest {
  Window* pParent = nullptr;  // owner window; null for none
  std::string text;
  std::string caption;        // empty: the application's name
  unsigned style = 0;         // MB_* buttons and icon plus the library's extension bits
  unsigned style2 = 0;        // second flag word
};

// The answer of a message box whose user takes its first button: IDOK, IDYES, IDABORT or
// IDRETRY by the button set in style.
int FirstButtonAnswer(unsigned style);

class IMessageBoxPresenter {
 public:
  virtual ~IMessageBoxPresenter() = default;
  // Shows the box modally and returns the button code pressed (IDYES, IDNO, ...).
  virtual int Show(const MessageBoxRequest& request) = 0;
};

// An installed font family.
struct FontInfo {
  std::string name;
  bool fixedPitch = false;
};

class IFontList {
 public:
  virtual ~IFontList() = default;
  virtual std::vector<FontInfo> GetInstalledFonts() = 0;
};

// Installs a presenter or font list (not owned); null goes back to the fallback.
void SetMessageBoxPresenter(IMessageBoxPresenter* presenter);
IMessageBoxPresenter& GetMessageBoxPresenter();
void SetFontList(IFontList* fonts);
IFontList& GetFontList();

}  // namespace quill
