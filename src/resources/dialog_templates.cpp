#include "resources/dialog_template.h"

#include "platform/dialog_runner.h"

namespace quill {

// Every dialog template of the component, one line each: the object defined in the
// dialog's resources/dlg_<name>.cpp.
#define QUILL_DIALOG_TEMPLATES(X) \
  X(g_dlgCheckList)                \
  X(g_dlgTextStyle)                \
  X(g_dlgKeywordSection)           \
  X(g_dlgKeywords)                 \
  X(g_dlgTextOptions)              \
  X(g_dlgStatistics)               \
  X(g_dlgFind)                     \
  X(g_dlgReplace)                  \
  X(g_dlgGoTo)

#define QUILL_DECLARE_TEMPLATE(name) extern const DialogTemplate name;
#define QUILL_TEMPLATE_ADDRESS(name) &name,
QUILL_DIALOG_TEMPLATES(QUILL_DECLARE_TEMPLATE)

namespace {
const DialogTemplate* const kTemplates[] = {QUILL_DIALOG_TEMPLATES(QUILL_TEMPLATE_ADDRESS)};
}  // namespace

const DialogTemplate* FindDialogTemplate(unsigned id) {
  for (const DialogTemplate* t : kTemplates)
    if (t->id == id) return t;
  return nullptr;
}

const DialogTemplate& PageTemplate(unsigned id) {
  static const DialogTemplate kEmpty{0, "", {0, 0, 200, 100}, "MS Shell Dlg", 8, false, {}};
  const DialogTemplate* found = FindDialogTemplate(id);
  return found != nullptr ? *found : kEmpty;
}

int RunModalDialog(unsigned templateId, CDialogBehaviour& behaviour, Window* pParent) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
  if (dialogTemplate == nullptr) return -1;
  return GetDialogRunner().RunModal(*dialogTemplate, behaviour, pParent);
}

}  // namespace quill
