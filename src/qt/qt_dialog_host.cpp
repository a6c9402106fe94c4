#include "qt/qt_dialog_host.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>

#include "platform/text_encoding.h"
#include "qt/cp1252.h"

namespace quill::qt {

namespace {

constexpr int kDataRole = Qt::UserRole + 1;

CRect ToCRect(const QRect& r) { return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

bool ValidIndex(int index, int count) { return index >= 0 && index < count; }

}  // namespace

QtDialogHost::QtDialogHost(QDialog* dialog) : m_dialog(dialog) {}

void QtDialogHost::SetTextEncoding(int nEncoding) { m_nTextEncoding = nEncoding; }

QString QtDialogHost::Decode(std::string_view bytes) const {
  if (m_nTextEncoding == ENCODING_UTF8)
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return FromCp1252(bytes);
}

std::string QtDialogHost::Encode(const QString& text) const {
  if (m_nTextEncoding == ENCODING_UTF8) return text.toUtf8().toStdString();
  return ToCp1252(text);
}

void QtDialogHost::Bind(int nID, QWidget* control) { m_controls[nID] = control; }

QWidget* QtDialogHost::Control(int nID) const {
  auto it = m_controls.find(nID);
  return it != m_controls.end() ? it->second.data() : nullptr;
}

std::string QtDialogHost::GetDlgItemText(int nID) const {
  QWidget* w = Control(nID);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return Encode(edit->text());
  if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return Encode(text->toPlainText());
  if (auto* label = qobject_cast<QLabel*>(w)) return Encode(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return Encode(button->text());
  if (auto* combo = qobject_cast<QComboBox*>(w)) return Encode(combo->currentText());
  if (w != nullptr) return Encode(w->windowTitle());
  return std::string();
}

void QtDialogHost::SetDlgItemText(int nID, const std::string& text) {
  QWidget* w = Control(nID);
  const QString value = Decode(text);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(value);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
    plain->setPlainText(value);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(value);
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (combo->isEditable()) {
      combo->setEditText(value);
    } else {
      combo->setCurrentIndex(combo->findText(value));
    }
  } else if (w != nullptr) {
    w->setWindowTitle(value);
  }
}

int QtDialogHost::IsDlgButtonChecked(int nID) const {
  QWidget* w = Control(nID);
  if (auto* box = qobject_cast<QCheckBox*>(w)) {
    switch (box->checkState()) {
      case Qt::Checked: return BST_CHECKED;
      case Qt::PartiallyChecked: return BST_INDETERMINATE;
      default: return BST_UNCHECKED;
    }
  }
  auto* button = qobject_cast<QAbstractButton*>(w);
  return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void QtDialogHost::CheckDlgButton(int nID, int nCheck) {
  QWidget* w = Control(nID);
  if (auto* box = qobject_cast<QCheckBox*>(w)) {
    if (nCheck == BST_INDETERMINATE) box->setTristate(true);
    box->setCheckState(nCheck == BST_CHECKED ? Qt::Checked
                       : nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setCheckable(true);
    button->setChecked(nCheck == BST_CHECKED);
  }
}

bool QtDialogHost::IsDlgItemEnabled(int nID) const {
  QWidget* w = Control(nID);
  return w != nullptr && w->isEnabled();
}

void QtDialogHost::EnableDlgItem(int nID, bool bEnable) {
  if (QWidget* w = Control(nID)) w->setEnabled(bEnable);
}

bool QtDialogHost::IsDlgItemVisible(int nID) const {
  QWidget* w = Control(nID);
  return w != nullptr && !w->isHidden();
}

void QtDialogHost::ShowDlgItem(int nID, bool bShow) {
  if (QWidget* w = Control(nID)) w->setVisible(bShow);
}

std::string QtDialogHost::GetWindowText() const {
  return m_dialog ? Encode(m_dialog->windowTitle()) : std::string();
}

void QtDialogHost::SetWindowText(const std::string& text) {
  if (m_dialog) m_dialog->setWindowTitle(Decode(text));
}

int QtDialogHost::AddString(int nID, const std::string& text) {
  return InsertString(nID, -1, text);
}

int QtDialogHost::InsertString(int nID, int nIndex, const std::string& text) {
  QWidget* w = Control(nID);
  const QString value = Decode(text);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    const int count = list->count();
    if (nIndex < 0) nIndex = count;
    if (nIndex > count) return LB_ERR;
    list->insertItem(nIndex, value);
    list->item(nIndex)->setToolTip(value);  // the full text of an entry wider than the list
    if (list->property(kCheckListProperty).toBool()) {
      QListWidgetItem* item = list->item(nIndex);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
    return nIndex;
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    const int count = combo->count();
    if (nIndex < 0) nIndex = count;
    if (nIndex > count) return CB_ERR;
    combo->insertItem(nIndex, value);
    return nIndex;
  }
  return LB_ERR;
}

int QtDialogHost::DeleteString(int nID, int nIndex) {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (!ValidIndex(nIndex, list->count())) return LB_ERR;
    delete list->takeItem(nIndex);
    return list->count();
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (!ValidIndex(nIndex, combo->count())) return CB_ERR;
    combo->removeItem(nIndex);
    return combo->count();
  }
  return LB_ERR;
}

void QtDialogHost::ResetContent(int nID) {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) list->clear();
  if (auto* combo = qobject_cast<QComboBox*>(w)) combo->clear();
}

int QtDialogHost::GetCount(int nID) const {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) return list->count();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->count();
  return LB_ERR;
}

std::string QtDialogHost::GetItemText(int nID, int nIndex) const {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (ValidIndex(nIndex, list->count())) return Encode(list->item(nIndex)->text());
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (ValidIndex(nIndex, combo->count())) return Encode(combo->itemText(nIndex));
  }
  return std::string();
}

int QtDialogHost::GetCurSel(int nID) const {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) return list->currentRow() < 0 ? LB_ERR : list->currentRow();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
  return LB_ERR;
}

int QtDialogHost::SetCurSel(int nID, int nIndex) {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (!ValidIndex(nIndex, list->count())) {
      list->setCurrentRow(-1);
      return LB_ERR;
    }
    list->setCurrentRow(nIndex);
    return nIndex;
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (!ValidIndex(nIndex, combo->count())) {
      combo->setCurrentIndex(-1);
      return CB_ERR;
    }
    combo->setCurrentIndex(nIndex);
    return nIndex;
  }
  return LB_ERR;
}

unsigned long QtDialogHost::GetItemData(int nID, int nIndex) const {
  QWidget* w = Control(nID);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (ValidIndex(nIndex, list->count())) return list->item(nIndex)->data(kDataRole).toULongLong();
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (ValidIndex(nIndex, combo->count())) return combo->itemData(nIndex, kDataRole).toULongLong();
  }
  return static_cast<unsigned long>(LB_ERR);
}

int QtDialogHost::SetItemData(int nID, int nIndex, unsigned long data) {
  QWidget* w = Control(nID);
  const QVariant value = QVariant::fromValue<qulonglong>(data);
  if (auto* list = qobject_cast<QListWidget*>(w)) {
    if (!ValidIndex(nIndex, list->count())) return LB_ERR;
    list->item(nIndex)->setData(kDataRole, value);
    return 0;
  }
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    if (!ValidIndex(nIndex, combo->count())) return CB_ERR;
    combo->setItemData(nIndex, value, kDataRole);
    return 0;
  }
  return LB_ERR;
}

int QtDialogHost::GetItemCheck(int nID, int nIndex) const {
  auto* list = qobject_cast<QListWidget*>(Control(nID));
  if (list == nullptr || !ValidIndex(nIndex, list->count())) return BST_UNCHECKED;
  const QVariant state = list->item(nIndex)->data(Qt::CheckStateRole);
  if (!state.isValid()) return BST_UNCHECKED;
  switch (state.value<Qt::CheckState>()) {
    case Qt::Checked: return BST_CHECKED;
    case Qt::PartiallyChecked: return BST_INDETERMINATE;
    default: return BST_UNCHECKED;
  }
}

void QtDialogHost::SetItemCheck(int nID, int nIndex, int nCheck) {
  auto* list = qobject_cast<QListWidget*>(Control(nID));
  if (list == nullptr || !ValidIndex(nIndex, list->count())) return;
  QListWidgetItem* item = list->item(nIndex);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(nCheck == BST_CHECKED ? Qt::Checked
                      : nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
}

bool QtDialogHost::GetListItemRect(int nID, int nIndex, CRect& rect) const {
  auto* list = qobject_cast<QListWidget*>(Control(nID));
  if (list == nullptr || !ValidIndex(nIndex, list->count())) return false;
  rect = ToCRect(list->visualItemRect(list->item(nIndex)));
  return true;
}

int QtDialogHost::GetTextWidth(int nID, const std::string& text) const {
  QWidget* w = Control(nID);
  const QFontMetrics metrics = w != nullptr ? w->fontMetrics() : QFontMetrics(QApplication::font());
  return metrics.horizontalAdvance(Decode(text));
}

void QtDialogHost::SetFocus(int nID) {
  if (QWidget* w = Control(nID)) w->setFocus(Qt::OtherFocusReason);
}

int QtDialogHost::GetFocus() const {
  const QWidget* focus = QApplication::focusWidget();
  for (const auto& [id, control] : m_controls) {
    if (control && (control == focus || control->isAncestorOf(focus))) return id;
  }
  return 0;
}

CRect QtDialogHost::GetClientRect() const {
  return m_dialog ? ToCRect(m_dialog->rect()) : CRect();
}

CRect QtDialogHost::GetDlgItemRect(int nID) const {
  QWidget* w = Control(nID);
  if (w == nullptr || !m_dialog) return CRect();
  const QPoint topLeft = w->mapTo(m_dialog.data(), QPoint(0, 0));
  return ToCRect(QRect(topLeft, w->size()));
}

void QtDialogHost::MoveDlgItem(int nID, const CRect& rect) {
  QWidget* w = Control(nID);
  if (w == nullptr || !m_dialog) return;
  // The rectangle is in the dialog's coordinates; the widget is placed in its parent's.
  QPoint topLeft(rect.left, rect.top);
  if (QWidget* parent = w->parentWidget(); parent != nullptr && parent != m_dialog) {
    topLeft = parent->mapFrom(m_dialog.data(), topLeft);
  }
  w->setGeometry(QRect(topLeft, QSize(std::max(rect.Width(), 0), std::max(rect.Height(), 0))));
}

void QtDialogHost::EndDialog(int nResult) {
  if (m_dialog) m_dialog->done(nResult);
}

namespace {

// The line edit of an edit control or of a combo box with an edit field.
QLineEdit* LineEditOf(QWidget* w) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit;
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
  return nullptr;
}

}  // namespace

void QtDialogHost::GetEditSel(int nID, int& nStart, int& nEnd) const {
  nStart = nEnd = -1;
  QLineEdit* edit = LineEditOf(Control(nID));
  if (edit == nullptr) return;
  if (edit->hasSelectedText()) {
    nStart = edit->selectionStart();
    nEnd = nStart + static_cast<int>(edit->selectedText().size());
  } else {
    nStart = nEnd = edit->cursorPosition();
  }
}

void QtDialogHost::SetEditSel(int nID, int nStart, int nEnd) {
  QLineEdit* edit = LineEditOf(Control(nID));
  if (edit == nullptr) return;
  const int nLength = static_cast<int>(edit->text().size());
  if (nEnd < 0) nEnd = nLength;
  nStart = std::clamp(nStart, 0, nLength);
  nEnd = std::clamp(nEnd, nStart, nLength);
  if (nStart == nEnd) {
    edit->setCursorPosition(nEnd);
  } else {
    edit->setSelection(nStart, nEnd - nStart);
  }
}

unsigned QtDialogHost::TrackPopupMenu(const CMenu& menu, int nID) {
  QWidget* anchor = Control(nID);
  QMenu popup(anchor != nullptr ? anchor : m_dialog.data());
  for (const CMenu::Item& item : menu.Items()) {
    if (item.separator) {
      popup.addSeparator();
      continue;
    }
    QAction* action = popup.addAction(Decode(item.text));
    action->setData(item.id);
    action->setEnabled(item.enabled);
  }
  const QPoint at = anchor != nullptr ? anchor->mapToGlobal(QPoint(anchor->width(), 0)) : QPoint();
  QAction* chosen = popup.exec(at);
  return chosen != nullptr ? chosen->data().toUInt() : 0u;
}

}  // namespace quill::qt
