#pragma once
// CPropertyPage and CPropertySheet: pages of settings shown together in one modal sheet
// with OK, Cancel and Apply. Each page is a dialog on its own template with its own host;
// a page marks itself modified, which enables Apply. Apply and OK first let the active page
// validate its controls, then every page applies; the host's apply action runs after them.

#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialog.h"

namespace quill {

class CPropertySheet;

// Sheet buttons.
constexpr int ID_APPLY_NOW = 0x3021;

class CPropertyPage : public CDialog {
 public:
  explicit CPropertyPage(unsigned nIDTemplate) : CDialog(nIDTemplate) {}

  // The page's tab caption (its template's caption unless set).
  void SetCaption(const std::string& caption) { m_strCaption = caption; }
  const std::string& GetCaption() const { return m_strCaption; }

  // Marks the page as holding unapplied changes; the sheet enables Apply.
  void SetModified(bool bChanged = true) { m_bModified = bChanged; }
  bool IsModified() const { return m_bModified; }

  // The page becomes active / stops being active; 0 from OnKillActive keeps it active
  // (its controls failed validation).
  virtual int OnSetActive() { return 1; }
  virtual int OnKillActive() { return UpdateData(1); }
  // Apply or OK: 1 when the page took its changes.
  virtual int OnApply() {
    OnOK();
    return 1;
  }
  // A page does not end the sheet: OK and Cancel are the sheet's.
  void OnOK() override {}
  void OnCancel() override {}

  CPropertySheet* GetSheet() const { return m_pSheet; }

 private:
  friend class CPropertySheet;
  std::string m_strCaption;
  bool m_bModified = false;
  CPropertySheet* m_pSheet = nullptr;
};

class CPropertySheet {
 public:
  explicit CPropertySheet(std::string caption) : m_strCaption(std::move(caption)) {}
  virtual ~CPropertySheet() = default;

  const std::string& GetCaption() const { return m_strCaption; }
  // Pages are not owned; they are shown in the order added.
  void AddPage(CPropertyPage* pPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const { return m_pages[static_cast<std::size_t>(nPage)]; }
  int GetActiveIndex() const { return m_nActive; }
  // Switches pages: false when the active page keeps the focus.
  bool SetActivePage(int nPage);

  // The host's action after the pages applied (Apply and OK).
  void SetApplyAction(std::function<void()> action) { m_applyAction = std::move(action); }

  // Shows the sheet through the installed runner; IDOK or IDCANCEL.
  int DoModal();

  // The runner's side: the sheet's window was created (every page has its host) or is
  // going away, and its buttons.
  void OnInitSheet();
  void OnDestroySheet();
  // Apply button state: some page holds unapplied changes.
  bool IsApplyEnabled() const;
  // Validates the active page, applies every page and runs the host's action; false when
  // the active page refused.
  bool Apply();
  // OK: Apply, then the sheet ends with IDOK (nothing when the active page refused).
  void OnOK();
  // Cancel: every page hears it, then the sheet ends with IDCANCEL.
  void OnCancel();
  bool IsEnded() const { return m_nResult != 0; }
  int GetResult() const { return m_nResult; }
  // Called by the runner when the sheet's window must close with the result.
  std::function<void(int)> m_endSheet;

 private:
  std::string m_strCaption;
  std::vector<CPropertyPage*> m_pages;
  std::function<void()> m_applyAction;
  int m_nActive = 0;
  int m_nResult = 0;
};

}  // namespace quill
