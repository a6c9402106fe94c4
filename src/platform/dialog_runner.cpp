#include "platform/dialog_runner.h"

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {
void RouteDialogCommand(CDialogBehaviour& behaviour, IDialogHost& host, int nID,
                        int nNotification) {
  if (nNotification == BN_CLICKED && nID == IDOK) {
    if (behaviour.OnOK(host)) host.EndDialog(IDOK);
  } else if (nNotification == BN_CLICKED && nID == IDCANCEL) {
    if (behaviour.OnCancel(host)) host.EndDialog(IDCANCEL);
  } else {
    behaviour.OnCommand(host, nID, nNotification);
  }
}

void SetDialogRunner(IDialogRunner* runner) {
  InstalledPlatformServices().pDialogRunner = Unowned(runner);
}

IDialogRunner& GetDialogRunner() {
  return InstalledOr(&PlatformServices::pDialogRunner, InertDialogRunner());
}

}  // namespace quill
