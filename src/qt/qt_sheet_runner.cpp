#include "qt/qt_sheet_runner.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/app_services.h"
#include "platform/window.h"
#include "qt/cp1252.h"

namespace quill::qt {

namespace {

QtSheetRunner*& Installed() {
  static QtSheetRunner* runner = nullptr;
  return runner;
}

}  // namespace

QtSheetDialog::QtSheetDialog(CSheetBehaviour& sheet, QWidget* parent) : QDialog(parent), m_sheet(sheet) {
  setWindowTitle(FromCp1252(sheet.GetSheetCaption()));
  m_tabs = new QTabWidget(this);
  for (int i = 0; i < sheet.GetPageCount(); ++i) {
    const DialogTemplate& pageTemplate = sheet.GetPageTemplate(i);
    auto* page = new QtTemplateDialog(pageTemplate, sheet.GetPageBehaviour(i), m_tabs);
    // A page is a plain child of its tab, not a window of its own.
    page->setWindowFlags(Qt::Widget);
    page->installEventFilter(this);
    m_pages.push_back(page);
    std::string caption = sheet.GetPageCaption(i);
    if (caption.empty() && pageTemplate.caption != nullptr) caption = pageTemplate.caption;
    m_tabs->addTab(page, FromCp1252(caption));
  }
  m_buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  connect(m_buttons, &QDialogButtonBox::accepted, this, &QtSheetDialog::accept);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &QtSheetDialog::reject);
  connect(ApplyButton(), &QPushButton::clicked, this, &QtSheetDialog::Apply);
  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (!m_bRunning || index == m_nShownTab) return;
    if (m_sheet.OnPageChanging(index)) {
      m_nShownTab = index;
    } else {
      const QSignalBlocker block(m_tabs);
      m_tabs->setCurrentIndex(m_nShownTab);
    }
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(m_buttons);
  // The pages' changes arrive through their own controls: follow them lightly.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &QtSheetDialog::UpdateButtons);
  timer->start(100);
}

QtSheetDialog::~QtSheetDialog() = default;

QPushButton* QtSheetDialog::OKButton() const { return m_buttons->button(QDialogButtonBox::Ok); }
QPushButton* QtSheetDialog::CancelButton() const { return m_buttons->button(QDialogButtonBox::Cancel); }
QPushButton* QtSheetDialog::ApplyButton() const { return m_buttons->button(QDialogButtonBox::Apply); }

bool QtSheetDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void QtSheetDialog::UpdateButtons() {
  if (m_bRunning) ApplyButton()->setEnabled(m_sheet.IsApplyEnabled());
}

void QtSheetDialog::accept() {
  if (m_bRunning && m_sheet.OnSheetOK()) QDialog::accept();
  UpdateButtons();
}

void QtSheetDialog::reject() {
  if (m_bRunning && m_sheet.OnSheetCancel()) QDialog::reject();
}

void QtSheetDialog::Apply() {
  if (m_bRunning && m_sheet.IsApplyEnabled()) m_sheet.OnApplyNow();
  UpdateButtons();
}

int QtSheetDialog::Run() {
  std::vector<IDialogHost*> hosts;
  for (QtTemplateDialog* page : m_pages) hosts.push_back(&page->Host());
  m_sheet.OnInitSheet(hosts);
  for (QtTemplateDialog* page : m_pages) page->StartNotifying();
  m_nShownTab = m_sheet.GetActivePage();
  m_tabs->setCurrentIndex(m_nShownTab);
  m_bRunning = true;
  UpdateButtons();
  const int result = exec() == QDialog::Accepted ? IDOK : IDCANCEL;
  m_bRunning = false;
  m_sheet.OnDestroySheet();
  return result;
}

int QtSheetRunner::RunSheet(CSheetBehaviour& sheet, Window* pParent) {
  QWidget* parent = dynamic_cast<QWidget*>(pParent);
  if (parent == nullptr) parent = QApplication::activeWindow();
  QtSheetDialog dialog(sheet, parent);
  if (m_hook) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (m_hook) m_hook(dialog);
    });
  }
  return dialog.Run();
}

QtSheetRunner* GetQtSheetRunner() { return Installed(); }

void SetQtSheetRunner(QtSheetRunner* runner) { Installed() = runner; }

}  // namespace quill::qt
