#pragma once
// The File menu's printing and properties commands: Page Setup..., Print..., Print
// Preview and Properties, each carried out by the current view.

#include <functional>

class QMenu;

namespace quillpad {

class LanguageView;

// Adds the commands to the menu; activeView gives the current view (null: none).
void AddPrintCommands(QMenu* file, std::function<LanguageView*()> activeView);

// Turns the session's printer to the orientation kept for the view's document type, so
// that printing starts from what Page Setup chose in this run or an earlier one.
void ApplyKeptOrientation(const LanguageView& view);

}  // namespace quillpad
