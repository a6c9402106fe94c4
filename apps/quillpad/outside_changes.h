#pragma once
// What quillpad does about files that other programs change or delete while they are
// open, and about files that a save could not write back as they are.
//
//  - CheckDocuments (when the main window becomes active again): a file deleted outside
//    is reported once and its document counts as modified, so that a save writes it
//    again; a changed file of an unmodified document reloads silently when the AutoLoad
//    setting is on; every other changed file is listed in the reload dialog.
//  - ConfirmOverwrite (before a save over the document's own file): a file changed
//    outside since the document's text was loaded, reloaded or saved is overwritten only
//    when the user says Yes.
//  - AskWhichToSave (at exit with several modified documents): one save dialog for all.

#include <string>
#include <vector>

namespace quill {
class Window;
}

namespace quillpad {

class LanguageView;
class PadDocument;

struct OpenDocument {
  PadDocument* doc;
  LanguageView* view;
};

// Title of the reload dialog and of the save dialog at exit.
extern const char kChangedFilesTitle[];
extern const char kSaveFilesTitle[];

// Checks every document's file; returns the number of documents reloaded silently.
int CheckDocuments(const std::vector<OpenDocument>& docs, quill::Window* pParent);

// True when saving doc over its own file may go ahead.
bool ConfirmOverwrite(PadDocument& doc);
// True when doc may be saved to path: over its own file after ConfirmOverwrite, anywhere
// else freely.
bool MaySaveTo(PadDocument& doc, const std::string& path);

// Asks which of docs to save (all checked at first). False when the user cancels;
// otherwise toSave holds the documents left checked (none after "Do Not Save").
bool AskWhichToSave(const std::vector<PadDocument*>& docs, std::vector<PadDocument*>& toSave,
                    quill::Window* pParent);

}  // namespace quillpad
