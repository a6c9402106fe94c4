#pragma once
// TFontComboBox: a combo box filled with the names of the installed fonts, fixed-pitch
// and proportional, from the platform's font list.

#include <string>

#include "dialogs/dialog_control.h"

namespace quill {

class TFontComboBox : public TDialogControl {
 public:
  TFontComboBox() = default;
  ~TFontComboBox() override = default;

  // Empties the box and adds every installed font name once, sorted without regard to
  // case. The item data is 1 for a fixed-pitch font, 0 otherwise. The font that was
  // selected stays selected when it is still installed.
  void FillFonts();
  // Selects the font of that name (case-insensitive); false when it is not in the list.
  bool SelectFont(const std::string& name);
  // The selected font name; empty when none is selected.
  std::string GetSelectedFont() const;
};

}  // namespace quill
