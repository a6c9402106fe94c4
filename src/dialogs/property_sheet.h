#pragma once
// CPropertyPage and CPropertySheet: pages of settings shown together in one modal sheet
// with OK, Cancel and Apply. Each page is a dialog on its own template; a page marks
// itself modified, which enables Apply. Apply and OK first let the active page validate
// its controls, then every page applies and the host's apply action runs.

#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialog.h"
#include "platform/sheet_runner.h"

namespace quill {

class CPropertySheet;

class CPropertyPage : public CDialog {
 public:
  explicit CPropertyPage(unsigned nIDTemplate) : CDialog(nIDTemplate) {}

  // The page's tab caption; empty: its template's caption.
  void SetCaption(const std::string& caption) { m_strCaption = caption; }
  const std::string& GetCaption() const { return m_strCaption; }

  // Marks the page as holding changes not yet applied; the sheet enables Apply.
  void SetModified(bool bChanged = true) { m_bModified = bChanged; }
  bool IsModified() const { return m_bModified; }
  CPropertySheet* GetSheet() const { return m_pSheet; }

  // The page becomes active / is left; 0 from OnKillActive keeps it active (its controls
  // failed validation).
  virtual int OnSetActive() { return 1; }
  virtual int OnKillActive() { return UpdateData(1); }
  // Apply or OK: 1 when the page took its changes.
  virtual int OnApply() { return 1; }
  // Cancel.
  virtual void OnReset() {}

 protected:
  // A page never closes by itself: OK and Cancel are the sheet's.
  bool OnOK() override { return false; }
  bool OnCancel() override { return false; }

 private:
  friend class CPropertySheet;
  std::string m_strCaption;
  bool m_bModified = false;
  CPropertySheet* m_pSheet = nullptr;
};

class CPropertySheet : public CSheetBehaviour {
 public:
  explicit CPropertySheet(std::string caption, Window* pParent = nullptr)
      : m_strCaption(std::move(caption)), m_pParent(pParent) {}

  // Pages are not owned; they are shown in the order added.
  void AddPage(CPropertyPage* pPage);
  CPropertyPage* GetPage(int nPage) const { return m_pages[static_cast<std::size_t>(nPage)]; }
  int GetActiveIndex() const { return m_nActive; }
  // Shows page nPage (before the sheet runs: the page it opens on).
  bool SetActivePage(int nPage) { return OnPageChanging(nPage); }

  // What the host does once the pages applied (Apply and OK).
  void SetApplyAction(std::function<void()> action) { m_applyAction = std::move(action); }

  // Shows the sheet through the installed runner; IDOK or IDCANCEL.
  int DoModal();

  std::string GetSheetCaption() const override { return m_strCaption; }
  int GetPageCount() const override { return static_cast<int>(m_pages.size()); }
  unsigned GetPageTemplateID(int nPage) const override { return GetPage(nPage)->GetTemplateID(); }
  const DialogTemplate& GetPageTemplate(int nPage) const override;
  std::string GetPageCaption(int nPage) const override { return GetPage(nPage)->GetCaption(); }
  CDialogBehaviour& GetPageBehaviour(int nPage) override { return *GetPage(nPage); }
  int GetActivePage() const override { return m_nActive; }
  void OnInitSheet(const std::vector<IDialogHost*>& hosts) override;
  bool OnPageChanging(int nPage) override;
  bool IsApplyEnabled() const override;
  bool OnApplyNow() override;
  bool OnSheetOK() override { return OnApplyNow(); }
  bool OnSheetCancel() override;
  void OnDestroySheet() override;

 private:
  std::string m_strCaption;
  Window* m_pParent;
  std::vector<CPropertyPage*> m_pages;
  std::function<void()> m_applyAction;
  int m_nActive = 0;
  bool m_bRunning = false;
};

}  // namespace quill
