#pragma once
// The component's dialog templates (the types are platform/dialog_template.h). Each
// dialog's template lives in its own file, resources/dlg_<name>.cpp, and is listed once in
// resources/dialog_templates.cpp.

#include "platform/dialog_template.h"

namespace quill {

class CDialogBehaviour;
class Window;

// The template of the dialog with that id, or null.
const DialogTemplate* FindDialogTemplate(unsigned id);
// The template of a property page; a page without one of its own is shown on an empty one.
const DialogTemplate& PageTemplate(unsigned id);

// Runs the dialog of template templateId with the installed dialog runner; -1 when there
// is no such template.
int RunModalDialog(unsigned templateId, CDialogBehaviour& behaviour, Window* pParent = nullptr);

}  // namespace quill
