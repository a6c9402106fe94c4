#pragma once
// TColorPicker: a drop-down list of named colours, each drawn as a swatch followed by its
// name, with a last fixed entry "Custom..." that opens the desktop's colour dialog. Each
// item's data is its colour (0x00BBGGRR). The text-style page uses one for the text colour
// and one for the background.

#include <string>

#include "dialogs/dialog_control.h"
#include "platform/dialog_behaviour.h"
#include "platform/types.h"
#include "style/color_and_name.h"

namespace quill {

class CDC;
class TTextStylePage;

// The record an owner-drawn list hands to DrawItem (ODS_* states of dialog_behaviour.h).
struct DRAWITEMSTRUCT {
  int CtlID = 0;
  int itemID = -1;       // the item to draw; -1 for none (an empty list's edit part)
  unsigned itemState = 0;  // ODS_* flags
  CDC* pDC = nullptr;
  CRect rcItem;
  unsigned long itemData = 0;
};

class TColorPicker : public TDialogControl {
 public:
  // Which colour the picker chooses: it decides the colour of "Automatic".
  enum COLORING { TEXT_COLOR = 0, BACKGROUND_COLOR = 1 };
  static constexpr int kColorCount = 18;
  static constexpr int kCustomIndex = 17;

  explicit TColorPicker(COLORING coloring);
  ~TColorPicker() override = default;

  // Binds the picker to a dialog's control: fills the list and selects "Automatic".
  void PreSubclassWindow();
  void SubclassDlgItem(IDialogHost* pHost, int nID) {
    Attach(pHost, nID);
    PreSubclassWindow();
  }
  // A picker created as a window of its own does the same.
  int OnCreate() {
    PreSubclassWindow();
    return 0;
  }

  unsigned long GetSelectedColorValue();
  std::string GetSelectedColorName();
  unsigned long GetColorValue(int index) const;
  std::string GetColorName(int index);
  void SetSelectedColorValue(unsigned long color);
  void SetSelectedColorName(const char* name);
  bool RemoveColor(const char* name);
  bool RemoveColor(unsigned long color);
  int AddColor(const char* name, unsigned long color);
  // Shows the colour: "Automatic" for the automatic colour, else the last item holding it,
  // else the custom entry set to it. Returns the selected index.
  int SetCurColor(const unsigned long& color);
  int SetCustomColor(const unsigned long& color);

  // The list's own selection change: the custom entry asks for a colour, and a text-style
  // page that owns the picker takes the new colours.
  void OnSelchange();
  void SetOwnerPage(TTextStylePage* pPage) { m_pOwnerPage = pPage; }

  void DrawItem(DRAWITEMSTRUCT* pDIS);

  // The colour "Automatic" stands for with this picker's colouring.
  COLORREF AutomaticColor() const;

 private:
  void Initialize();

  bool m_bInitialized = false;
  TColorAndName m_colors[kColorCount];
  COLORING m_coloring;
  std::string m_strSelectedName;
  TTextStylePage* m_pOwnerPage = nullptr;
};

}  // namespace quill
