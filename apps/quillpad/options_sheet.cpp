#include "options_sheet.h"

#include "dialogs/text_options_page.h"
#include "dialogs/text_style_page.h"
#include "language_views.h"
#include "languages.h"

namespace quillpad {

void RegisterDocumentTypes(quill::TTextDocumentMgr& manager) {
  for (const LanguageInfo& t : Languages()) {
    const quill::DocumentType type = t.type;
    manager.AddDocument(t.name, [type]() -> std::unique_ptr<quill::QuillView> { return CreateViewFor(type); });
  }
}

int RunOptionsSheet(quill::Window* parent) {
  quill::TTextDocumentMgr manager;
  RegisterDocumentTypes(manager);
  quill::TTextStylePage stylePage(&manager);
  quill::TTextOptionsPage optionsPage;
  quill::CPropertySheet sheet("Options", parent);
  sheet.AddPage(&stylePage);
  sheet.AddPage(&optionsPage);
  sheet.SetApplyAction([&] {
    stylePage.ApplyChanges();
    optionsPage.SaveSettings();
  });
  return sheet.DoModal();
}

}  // namespace quillpad
