#pragma once
// The File menu's printing and properties commands: Page Setup..., Print..., Print
// Preview and Properties, each carried out by the current view.

#include <functional>

class QMenu;

namespace quillpad {

class LanguageView;

// Adds the commands to the menu; activeView gives the current view (null: none).
void AddPrintCommands(QMenu* file, std::function<LanguageView*()> activeView);

}  // namespace quillpad
