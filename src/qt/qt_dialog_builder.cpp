#include "qt/qt_dialog_builder.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QTimer>

#include "platform/app_services.h"
#include "platform/window.h"
#include "qt/cp1252.h"
#include "qt/qt_dc.h"

namespace quill::qt {

namespace {

QString Caption(const DialogItem& item) { return FromCp1252(item.caption ? item.caption : ""); }

CRect ToCRect(const QRect& r) { return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

bool TakesFocus(DialogItemKind kind) {
  switch (kind) {
    case DialogItemKind::Edit:
    case DialogItemKind::ComboBox:
    case DialogItemKind::ListBox:
    case DialogItemKind::CheckListBox:
    case DialogItemKind::ColorCombo: return true;
    default: return false;
  }
}

// Items of an owner-drawn combo box, drawn by the dialog's behaviour.
class OwnerDrawDelegate : public QStyledItemDelegate {
 public:
  OwnerDrawDelegate(QtTemplateDialog& dialog, CDialogBehaviour& behaviour, int nID, QObject* parent)
      : QStyledItemDelegate(parent), m_dialog(dialog), m_behaviour(behaviour), m_nID(nID) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QtDC dc(painter, LogFontFromFont(option.font));
    unsigned state = 0;
    if (option.state & QStyle::State_Selected) state |= ODS_SELECTED;
    if (option.state & QStyle::State_HasFocus) state |= ODS_FOCUS;
    if (!(option.state & QStyle::State_Enabled)) state |= ODS_DISABLED;
    painter->save();
    m_behaviour.OnDrawItem(m_dialog.Host(), m_nID, index.row(), dc, ToCRect(option.rect), state);
    painter->restore();
  }

 private:
  QtTemplateDialog& m_dialog;
  CDialogBehaviour& m_behaviour;
  int m_nID;
};

// The closed owner-drawn combo box: the frame by the style, the field by the behaviour.
class OwnerDrawCombo : public QComboBox {
 public:
  OwnerDrawCombo(QtTemplateDialog& dialog, CDialogBehaviour& behaviour, int nID, QWidget* parent)
      : QComboBox(parent), m_dialog(dialog), m_behaviour(behaviour), m_nID(nID) {
    setItemDelegate(new OwnerDrawDelegate(dialog, behaviour, nID, this));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                QStyle::SC_ComboBoxEditField, this);
    QtDC dc(&painter, LogFontFromFont(font()));
    unsigned state = ODS_COMBOBOXEDIT;
    if (hasFocus()) state |= ODS_FOCUS | ODS_SELECTED;
    if (!isEnabled()) state |= ODS_DISABLED;
    painter.save();
    m_behaviour.OnDrawItem(m_dialog.Host(), m_nID, currentIndex(), dc, ToCRect(field), state);
    painter.restore();
  }

 private:
  QtTemplateDialog& m_dialog;
  CDialogBehaviour& m_behaviour;
  int m_nID;
};

// Breaks the button's caption between words so that the button is at most width wide
// (a single word wider than that keeps its own line).
void WrapCaption(QAbstractButton& button, int width) {
  const QString text = button.text();
  const QFontMetrics metrics(button.font());
  // What the button needs beside its text: the indicator and the spacing.
  const int room = width - (button.sizeHint().width() - metrics.horizontalAdvance(text));
  QString wrapped, line;
  for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
    const QString longer = line.isEmpty() ? word : line + ' ' + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(QString(longer).remove('&')) > room) {
      wrapped += line + '\n';
      line = word;
    } else {
      line = longer;
    }
  }
  button.setText(wrapped + line);
}

QtDialogRunner*& InstalledQtRunner() {
  static QtDialogRunner* runner = nullptr;
  return runner;
}

}  // namespace

QtTemplateDialog::QtTemplateDialog(const DialogTemplate& dialogTemplate,
                                   CDialogBehaviour& behaviour, QWidget* parent)
    : QDialog(parent), m_template(dialogTemplate), m_behaviour(behaviour),
      m_host(std::make_unique<QtDialogHost>(this)) {
  Build();
}

QtTemplateDialog::~QtTemplateDialog() = default;

template <typename F>
void QtTemplateDialog::InBehaviour(F&& call) {
  const bool outer = m_inBehaviour;
  m_inBehaviour = true;
  call();
  m_inBehaviour = outer;
}

QRect QtTemplateDialog::ToPixels(const DialogRect& r) const {
  return QRect(r.x * m_base.width() / 4, r.y * m_base.height() / 8, r.cx * m_base.width() / 4,
               r.cy * m_base.height() / 8);
}

void QtTemplateDialog::Build() {
  setWindowTitle(FromCp1252(m_template.caption ? m_template.caption : ""));
  setSizeGripEnabled(m_template.resizable);
  // The dialog font: the application's family at the template's size, never smaller
  // than the application's own.
  QFont font = QApplication::font();
  if (m_template.fontPoints > font.pointSize()) font.setPointSize(m_template.fontPoints);
  setFont(font);
  const QFontMetrics metrics(font);
  const int sample =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_base = QSize((sample / 26 + 1) / 2, metrics.height());

  QButtonGroup* radioGroup = nullptr;
  QLabel* pendingLabel = nullptr;  // a label waiting for the control it names
  for (const DialogItem& item : m_template.items) {
    if (item.style & DIS_GROUP) radioGroup = nullptr;
    QWidget* w = Create(item);
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      if (radioGroup == nullptr) radioGroup = new QButtonGroup(this);
      radioGroup->addButton(radio);
    }
    if (pendingLabel != nullptr && TakesFocus(item.kind)) {
      pendingLabel->setBuddy(w);
      pendingLabel = nullptr;
    } else if (item.kind != DialogItemKind::Static) {
      pendingLabel = nullptr;
    }
    if (item.kind == DialogItemKind::Static && !(item.style & DIS_NOPREFIX) && item.caption &&
        std::string_view(item.caption).find('&') != std::string_view::npos)
      pendingLabel = qobject_cast<QLabel*>(w);
    if (item.style & DIS_DISABLED) w->setEnabled(false);
    if (item.style & DIS_HIDDEN) w->hide();
    if (item.style & DIS_NOTABSTOP) w->setFocusPolicy(Qt::ClickFocus);
    if (item.id != IDC_STATIC) m_host->Bind(item.id, w);
  }
  const QRect client = ToPixels(DialogRect{0, 0, m_template.rect.cx, m_template.rect.cy});
  resize(client.size());
  if (!m_template.resizable) setFixedSize(client.size());
}

QWidget* QtTemplateDialog::Create(const DialogItem& item) {
  const int nID = item.id;
  QWidget* w = nullptr;
  switch (item.kind) {
    case DialogItemKind::Static: {
      auto* label = new QLabel(Caption(item), this);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      Qt::Alignment align = Qt::AlignTop | Qt::AlignLeft;
      if (item.style & DIS_RIGHT) align = Qt::AlignTop | Qt::AlignRight;
      if (item.style & DIS_CENTER) align = Qt::AlignTop | Qt::AlignHCenter;
      label->setAlignment(align);
      w = label;
      break;
    }
    case DialogItemKind::Edit:
      if (item.style & DIS_MULTILINE) {
        auto* edit = new QPlainTextEdit(Caption(item), this);
        edit->setReadOnly(item.style & DIS_READONLY);
        edit->setTabChangesFocus(true);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, nID] { Notify(nID, EN_CHANGE); });
        w = edit;
      } else {
        auto* edit = new QLineEdit(Caption(item), this);
        edit->setReadOnly(item.style & DIS_READONLY);
        connect(edit, &QLineEdit::textChanged, this, [this, nID] { Notify(nID, EN_CHANGE); });
        w = edit;
      }
      break;
    case DialogItemKind::PushButton:
    case DialogItemKind::DefPushButton: {
      auto* button = new QPushButton(Caption(item), this);
      button->setAutoDefault(false);
      if (item.kind == DialogItemKind::DefPushButton) button->setDefault(true);
      connect(button, &QPushButton::clicked, this, [this, nID] { Notify(nID, BN_CLICKED); });
      w = button;
      break;
    }
    case DialogItemKind::CheckBox: {
      auto* box = new QCheckBox(Caption(item), this);
      box->setTristate(item.style & DIS_TRISTATE);
      connect(box, &QCheckBox::clicked, this, [this, nID] { Notify(nID, BN_CLICKED); });
      w = box;
      break;
    }
    case DialogItemKind::RadioButton: {
      auto* radio = new QRadioButton(Caption(item), this);
      radio->setAutoExclusive(false);
      connect(radio, &QRadioButton::clicked, this, [this, nID] { Notify(nID, BN_CLICKED); });
      w = radio;
      break;
    }
    case DialogItemKind::GroupBox:
      w = new QGroupBox(Caption(item), this);
      break;
    case DialogItemKind::ComboBox:
    case DialogItemKind::ColorCombo: {
      QComboBox* combo = item.kind == DialogItemKind::ColorCombo
                             ? new OwnerDrawCombo(*this, m_behaviour, nID, this)
                             : new QComboBox(this);
      if (item.kind == DialogItemKind::ComboBox && (item.style & DIS_DROPDOWN)) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(Caption(item));
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, nID] { Notify(nID, CBN_EDITCHANGE); });
      }
      connect(combo, &QComboBox::activated, this, [this, nID] { Notify(nID, CBN_SELCHANGE); });
      w = combo;
      break;
    }
    case DialogItemKind::ListBox:
    case DialogItemKind::CheckListBox: {
      auto* list = new QListWidget(this);
      if (item.style & DIS_EXTENDEDSEL) list->setSelectionMode(QAbstractItemView::ExtendedSelection);
      connect(list, &QListWidget::currentRowChanged, this, [this, nID] { Notify(nID, LBN_SELCHANGE); });
      connect(list, &QListWidget::itemDoubleClicked, this, [this, nID] { Notify(nID, LBN_DBLCLK); });
      if (item.kind == DialogItemKind::CheckListBox) {
        list->setProperty(QtDialogHost::kCheckListProperty, true);
        connect(list, &QListWidget::itemChanged, this, [this, list, nID](QListWidgetItem* changed) {
          if (m_inBehaviour) return;
          InBehaviour([&] { list->setCurrentItem(changed); });
          Notify(nID, CLBN_CHKCHANGE);
        });
      }
      w = list;
      break;
    }
  }
  QRect rect = ToPixels(item.rect);
  // A combo box's template height includes its drop-down list.
  if (qobject_cast<QComboBox*>(w) != nullptr) rect.setHeight(w->sizeHint().height());
  // A check box or radio button with a caption wider than it: with room for more than
  // one line the caption wraps and the button grows to the lines' height; on one line the
  // button grows to the right, within the dialog.
  if (auto* button = qobject_cast<QAbstractButton*>(w);
      button != nullptr && qobject_cast<QPushButton*>(w) == nullptr &&
      button->sizeHint().width() > rect.width()) {
    if (rect.height() >= 2 * m_base.height()) {
      WrapCaption(*button, rect.width());
      rect.setHeight(std::max(rect.height(), button->sizeHint().height()));
    } else {
      const int right = ToPixels(DialogRect{0, 0, m_template.rect.cx, m_template.rect.cy}).right();
      rect.setWidth(std::max(rect.width(), std::min(button->sizeHint().width(), right - rect.x())));
    }
  }
  w->setGeometry(rect);
  if (item.kind == DialogItemKind::GroupBox) w->lower();
  return w;
}

void QtTemplateDialog::Notify(int nID, int nNotification) {
  if (m_inBehaviour || !m_initialised) return;
  InBehaviour([&] { RouteDialogCommand(m_behaviour, *m_host, nID, nNotification); });
}

void QtTemplateDialog::reject() {
  if (m_inBehaviour || !m_initialised) return;
  InBehaviour([&] { RouteDialogCommand(m_behaviour, *m_host, IDCANCEL, BN_CLICKED); });
}

void QtTemplateDialog::done(int result) {
  m_ended = true;
  QDialog::done(result);
}

void QtTemplateDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!m_initialised || !m_template.resizable) return;
  InBehaviour([&] { m_behaviour.OnSize(*m_host, event->size().width(), event->size().height()); });
}

int QtTemplateDialog::Run() {
  int nFocus = 1;
  InBehaviour([&] { nFocus = m_behaviour.OnInitDialog(*m_host); });
  if (nFocus != 0) {
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (w->isEnabled() && !w->isHidden() && (w->focusPolicy() & Qt::TabFocus)) {
        w->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  }
  if (m_template.resizable) setMinimumSize(size());
  m_initialised = true;
  const int result = m_ended ? this->result() : exec();
  InBehaviour([&] { m_behaviour.OnDestroy(*m_host); });
  return result;
}

int QtDialogRunner::RunModal(const DialogTemplate& dialogTemplate, CDialogBehaviour& behaviour,
                             Window* pParent) {
  QWidget* parent = dynamic_cast<QWidget*>(pParent);
  if (parent == nullptr) parent = QApplication::activeWindow();
  QtTemplateDialog dialog(dialogTemplate, behaviour, parent);
  ++m_nDialogs;
  if (m_hook) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (m_hook) m_hook(dialog);
    });
  }
  return dialog.Run();
}

QtDialogRunner* GetQtDialogRunner() { return InstalledQtRunner(); }

void SetQtDialogRunner(QtDialogRunner* runner) { InstalledQtRunner() = runner; }

}  // namespace quill::qt
