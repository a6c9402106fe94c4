#pragma once
// Modal dialogs: the service that shows a dialog built from its template and drives its
// behaviour until it ends. A backend installs its runner with SetDialogRunner; until then
// the headless runner (platform/headless/headless_dialog_runner.h) serves, which runs the
// scripts a test gives it instead of waiting for a user.
//
// Property sheets (several pages with OK, Cancel and Apply) belong here too: a runner
// that shows them gets a RunPropertySheet beside RunModal, with one behaviour per page.

#include "platform/dialog_behaviour.h"
#include "resources/dialog_template.h"

namespace quill {

class Window;

class IDialogRunner {
 public:
  virtual ~IDialogRunner() = default;
  // Builds the dialog of the template over parent (null: the application's active
  // window), runs it modally and returns the id it ended with.
  virtual int RunModal(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
                       Window* pParent) = 0;
};

// Installs a runner (not owned); null goes back to the headless runner.
void SetDialogRunner(IDialogRunner* runner);
IDialogRunner& GetDialogRunner();

// Runs the dialog of template templateId with the installed runner; -1 when there is no
// such template.
int RunModalDialog(unsigned templateId, CDialogBehaviour& behaviour, Window* pParent = nullptr);

}  // namespace quill
