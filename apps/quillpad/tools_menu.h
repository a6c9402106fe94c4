#pragma once
// quillpad's Tools menu: Options... opens the options sheet.

class QMainWindow;
class QString;

namespace quillpad {

void AddToolsMenu(QMainWindow& window);

// Opens Tools > Options, renders each of its pages into PREFIX-<n>.png (n from 1) and
// cancels it. False when a picture could not be written.
bool ScreenshotOptions(QMainWindow& window, const QString& prefix);
// Renders the Find, Replace and GoTo dialogs over the current editor into
// PREFIX-find.png, PREFIX-replace.png and PREFIX-goto.png. False when one failed.
bool ScreenshotSearchDialogs(QMainWindow& window, const QString& prefix);

}  // namespace quillpad
