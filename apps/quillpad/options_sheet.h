#pragma once
// quillpad's options: a sheet with the component's text-style page (over every document
// type quillpad edits) and its editor options page. OK and Apply save the styles, show
// them in the open editors at once and store the editor options.

#include "view/text_document_mgr.h"

namespace quill {
class Window;
}

namespace quillpad {

// The document types quillpad offers on the text-style page, with their view classes.
void RegisterDocumentTypes(quill::TTextDocumentMgr& manager);

// Shows the options sheet modally through the installed sheet runner; IDOK or IDCANCEL.
int RunOptionsSheet(quill::Window* parent = nullptr);

}  // namespace quillpad
