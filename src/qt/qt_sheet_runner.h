#pragma once
// Property sheets on Qt widgets: a dialog with one tab per page, each page built from its
// template by the generic builder, and OK, Cancel and Apply buttons. Apply is enabled
// while some page holds changes not yet applied. QtSheetRunner is the sheet-run service
// the Qt platform installs; a hook, when set, gets each sheet once it is on the screen.

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

#include "platform/sheet_runner.h"
#include "qt/qt_dialog_builder.h"

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace quill::qt {

class QtSheetDialog : public QDialog {
  Q_OBJECT

 public:
  QtSheetDialog(CSheetBehaviour& sheet, QWidget* parent = nullptr);
  ~QtSheetDialog() override;

  QtTemplateDialog& Page(int nPage) { return *m_pages[static_cast<std::size_t>(nPage)]; }
  QTabWidget* Tabs() const { return m_tabs; }
  QPushButton* OKButton() const;
  QPushButton* CancelButton() const;
  QPushButton* ApplyButton() const;

  int Run();

 public slots:
  void accept() override;
  void reject() override;
  void Apply();
  // Enables Apply as the pages' state asks.
  void UpdateButtons();

 protected:
  // Escape inside a page cancels the sheet.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CSheetBehaviour& m_sheet;
  QTabWidget* m_tabs = nullptr;
  QDialogButtonBox* m_buttons = nullptr;
  std::vector<QtTemplateDialog*> m_pages;
  int m_nShownTab = 0;
  bool m_bRunning = false;
};

class QtSheetRunner : public ISheetRunner {
 public:
  int RunSheet(CSheetBehaviour& sheet, Window* pParent) override;
  void SetSheetHook(std::function<void(QtSheetDialog&)> hook) { m_hook = std::move(hook); }

 private:
  std::function<void(QtSheetDialog&)> m_hook;
};

// The runner InstallPlatform installed, or null.
QtSheetRunner* GetQtSheetRunner();
void SetQtSheetRunner(QtSheetRunner* runner);

}  // namespace quill::qt
