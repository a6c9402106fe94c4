#pragma once
// Modal dialogs: the service that shows a dialog built from its template and drives its
// behaviour until it ends. A backend installs its runner with SetDialogRunner; until then
// the fallback serves (platform/platform_services.h; in tests the headless runner, which
// runs the scripts a test gives it instead of waiting for a user).
//
// Property sheets (several pages with OK, Cancel and Apply) belong here too: a runner
// that shows them gets a RunPropertySheet beside RunModal, with one behaviour per page.

#include "platform/dialog_behaviour.h"
#include "platform/dialog_template.h"

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

// Installs a runner (not owned); null goes back to the fallback.
void SetDialogRunner(IDialogRunner* runner);
IDialogRunner& GetDialogRunner();

// RunModalDialog, which runs a dialog of the component by its template id, is in
// resources/dialog_template.h beside the templates.

}  // namespace quill
