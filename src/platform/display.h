#pragma once
// What the core needs to know about the screen: the system colours by their classic
// index and the screen's pixels per logical inch. The built-in answers are the classic
// desktop defaults at 96 dpi, so every backend starts from the same values; a backend
// that knows better installs its own Display.

#include <memory>

#include "platform/types.h"

namespace quill {

// System colour indices.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

class Display {
 public:
  virtual ~Display() = default;
  // The colour of a system colour index; unknown indices give black.
  virtual COLORREF GetSysColor(int index) const;
  // Vertical pixels per logical inch of the screen.
  virtual int GetLogPixelsY() const { return 96; }
};

// Installs the display the core asks from now on; null restores the built-in one.
void InstallDisplay(std::shared_ptr<const Display> display);
const Display& CurrentDisplay();

inline COLORREF GetSysColor(int index) { return CurrentDisplay().GetSysColor(index); }
inline int GetScreenLogPixelsY() { return CurrentDisplay().GetLogPixelsY(); }

// number * numerator / denominator with a 64-bit intermediate, rounded half away from
// zero; -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);

}  // namespace quill
