#pragma once
// The dialog host on real Qt widgets: a dialog's controls are bound to their ids, and the
// behaviour of a dialog reads and drives them by id. Edits (QLineEdit), static texts
// (QLabel), multi-line edits (QPlainTextEdit), buttons and check boxes (QAbstractButton), combo boxes (QComboBox) and list
// boxes with or without check boxes (QListWidget) are understood; texts are Windows-1252
// bytes on the host's side.

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <map>
#include <string>
#include <string_view>

#include "platform/dialog_host.h"
#include "platform/text_encoding.h"

namespace quill::qt {

class QtDialogHost : public IDialogHost {
 public:
  explicit QtDialogHost(QDialog* dialog);

  // A QListWidget with this property set true is a check-list box: its new items get a
  // check box.
  static constexpr const char* kCheckListProperty = "quillCheckList";

  // Binds a control of the dialog to an id (a later bind of the id replaces it).
  void Bind(int nID, QWidget* control);
  QWidget* Control(int nID) const;
  QDialog* Dialog() const { return m_dialog; }
  void SetTextEncoding(int nEncoding) override;

  std::string GetDlgItemText(int nID) const override;
  void SetDlgItemText(int nID, const std::string& text) override;
  int IsDlgButtonChecked(int nID) const override;
  void CheckDlgButton(int nID, int nCheck) override;
  bool IsDlgItemEnabled(int nID) const override;
  void EnableDlgItem(int nID, bool bEnable) override;
  bool IsDlgItemVisible(int nID) const override;
  void ShowDlgItem(int nID, bool bShow) override;
  std::string GetWindowText() const override;
  void SetWindowText(const std::string& text) override;
  int AddString(int nID, const std::string& text) override;
  int InsertString(int nID, int nIndex, const std::string& text) override;
  int DeleteString(int nID, int nIndex) override;
  void ResetContent(int nID) override;
  int GetCount(int nID) const override;
  std::string GetItemText(int nID, int nIndex) const override;
  int GetCurSel(int nID) const override;
  int SetCurSel(int nID, int nIndex) override;
  unsigned long GetItemData(int nID, int nIndex) const override;
  int SetItemData(int nID, int nIndex, unsigned long data) override;
  int GetItemCheck(int nID, int nIndex) const override;
  void SetItemCheck(int nID, int nIndex, int nCheck) override;
  bool GetListItemRect(int nID, int nIndex, CRect& rect) const override;
  int GetTextWidth(int nID, const std::string& text) const override;
  void SetFocus(int nID) override;
  int GetFocus() const override;
  CRect GetClientRect() const override;
  CRect GetDlgItemRect(int nID) const override;
  void MoveDlgItem(int nID, const CRect& rect) override;
  void EndDialog(int nResult) override;
  void GetEditSel(int nID, int& nStart, int& nEnd) const override;
  void SetEditSel(int nID, int nStart, int nEnd) override;
  unsigned TrackPopupMenu(const CMenu& menu, int nID) override;

 private:
  QString Decode(std::string_view bytes) const;
  std::string Encode(const QString& text) const;

  QPointer<QDialog> m_dialog;
  int m_nTextEncoding = ENCODING_WINDOWS_1252;
  std::map<int, QPointer<QWidget>> m_controls;
};

}  // namespace quill::qt
