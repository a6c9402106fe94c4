#pragma once
// Property sheets: several pages, each a dialog template with its behaviour, shown in one
// modal window with OK, Cancel and Apply. The sheet's behaviour decides what the buttons
// do and whether the active page may be left; a runner shows the pages and routes the
// pages' notifications to their behaviours as a modal dialog's runner does. A backend
// installs its runner with SetSheetRunner; until then the fallback serves.

#include <string>
#include <vector>

#include "platform/dialog_behaviour.h"
#include "platform/dialog_template.h"

namespace quill {

class Window;

class CSheetBehaviour {
 public:
  virtual ~CSheetBehaviour() = default;

  virtual std::string GetSheetCaption() const = 0;
  virtual int GetPageCount() const = 0;
  virtual unsigned GetPageTemplateID(int nPage) const = 0;
  // The template the page is built from.
  virtual const DialogTemplate& GetPageTemplate(int nPage) const = 0;
  // The tab's caption; empty: the template's caption.
  virtual std::string GetPageCaption(int nPage) const = 0;
  virtual CDialogBehaviour& GetPageBehaviour(int nPage) = 0;
  virtual int GetActivePage() const = 0;

  // Every page's controls exist (hosts in page order): the pages initialise.
  virtual void OnInitSheet(const std::vector<IDialogHost*>& hosts) = 0;
  // The user picks another page: false keeps the active page.
  virtual bool OnPageChanging(int nPage) = 0;
  // Some page holds changes not yet applied.
  virtual bool IsApplyEnabled() const = 0;
  // Apply: false when the active page refused its values.
  virtual bool OnApplyNow() = 0;
  // OK and Cancel: true closes the sheet with IDOK or IDCANCEL.
  virtual bool OnSheetOK() = 0;
  virtual bool OnSheetCancel() = 0;
  // The window is about to go away.
  virtual void OnDestroySheet() = 0;
};

class ISheetRunner {
 public:
  virtual ~ISheetRunner() = default;
  // Shows the sheet modally over parent (null: the active window); IDOK or IDCANCEL.
  virtual int RunSheet(CSheetBehaviour& sheet, Window* pParent) = 0;
};

// Installs a runner (not owned); null goes back to the fallback.
void SetSheetRunner(ISheetRunner* runner);
ISheetRunner& GetSheetRunner();

}  // namespace quill
