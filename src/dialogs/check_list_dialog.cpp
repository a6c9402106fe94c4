#include "dialogs/check_list_dialog.h"

#include <algorithm>

#include "platform/app_services.h"
#include "platform/display.h"
#include "platform/document.h"
#include "resources/dlg_checklist.h"
#include "view/quill_view.h"

namespace quill {
namespace {

constexpr char kContinue[] = "Continue";
constexpr char kDoNotPrefix[] = "Do Not ";

std::string OKTextOf(int nType) {
  switch (nType) {
    case TCheckListDialog::DLG_RELOAD: return "Reload";
    case TCheckListDialog::DLG_SAVE: return "Save";
    default: return std::string();
  }
}

}  // namespace

int TCheckListDialog::TListTipHandler::GetItemInfo(CPoint point, CRect& rect, std::string& text) {
  if (m_pHost == nullptr) return -1;
  for (int i = 0, n = m_pHost->GetCount(m_nListID); i < n; ++i) {
    CRect item;
    if (!m_pHost->GetListItemRect(m_nListID, i, item) || !item.PtInRect(point)) continue;
    text = m_pHost->GetItemText(m_nListID, i);
    if (text.empty()) return -1;
    // The text's own rectangle, 2 pixels taller at each end, just below the entry.
    CRect tip(item.left, item.top, item.left + m_pHost->GetTextWidth(m_nListID, text), item.bottom);
    tip.top -= 2;
    tip.bottom += 2;
    const int nHeight = tip.Height();
    tip.top = item.bottom + 4;
    tip.bottom = tip.top + nHeight;
    rect = tip;
    return i;
  }
  return -1;
}

TCheckListDialog::TCheckListDialog(int nType, const std::string& strTitle,
                                   const std::string& strMessage, Window* pParent)
    : TResizableDialog(IDD_CHECKLIST_DIALOG, pParent),
      m_nType(nType),
      m_strOKText(OKTextOf(nType)),
      m_strTitle(strTitle),
      m_strMessage(strMessage) {}

int TCheckListDialog::AddString(const CDocument* pDoc, int bCheck) {
  if (pDoc == nullptr) return -1;
  const std::string& text = pDoc->GetPathName().empty() ? pDoc->GetTitle() : pDoc->GetPathName();
  if (text.empty()) return -1;
  return AddString(text, bCheck);
}

int TCheckListDialog::AddString(const std::string& strText, int bCheck) {
  m_items.push_back(Item{strText, GetSysColor(COLOR_WINDOWTEXT), bCheck != 0});
  if (GetHost() != nullptr) {
    const int nEntry = m_list.AddString(strText);
    m_list.SetCheck(nEntry, bCheck ? BST_CHECKED : BST_UNCHECKED);
  }
  return GetCount() - 1;
}

int TCheckListDialog::GetString(int nIndex, std::string* pText) const {
  if (nIndex < 0 || nIndex >= GetCount()) return -1;
  const Item& item = m_items[static_cast<std::size_t>(nIndex)];
  if (pText != nullptr) *pText = item.text;
  return item.checked ? 1 : 0;
}

void TCheckListDialog::CheckItem(int nIndex, int bCheck) {
  if (GetHost() != nullptr) m_list.SetCheck(nIndex, bCheck ? BST_CHECKED : BST_UNCHECKED);
}

int TCheckListDialog::CheckItem(int nIndex) const {
  return GetHost() != nullptr && m_list.GetCheck(nIndex) == BST_CHECKED ? 1 : 0;
}

void TCheckListDialog::SetItemColor(int, COLORREF) {}

int TCheckListDialog::OnInitDialog() {
  TResizableDialog::OnInitDialog();
  IDialogHost& host = *GetHost();
  m_list.Attach(&host, IDC_CHECKLIST_LIST);
  AddAnchor(IDC_CHECKLIST_LIST, TOP_LEFT, BOTTOM_RIGHT);
  AddAnchor(IDC_CHECKLIST_MESSAGE, BOTTOM_LEFT);
  AddAnchor(IDC_CHECKLIST_UNCHECKALL, BOTTOM_RIGHT);
  AddAnchor(IDC_CHECKLIST_CHECKALL, BOTTOM_RIGHT);
  AddAnchor(IDOK, BOTTOM_LEFT);
  AddAnchor(IDC_CHECKLIST_DONOT, BOTTOM_LEFT);
  AddAnchor(IDCANCEL, BOTTOM_LEFT);
  host.SetWindowText(m_strTitle);
  host.SetDlgItemText(IDC_CHECKLIST_MESSAGE, m_strMessage);
  m_tip.Init(m_list);
  UpdateContent();
  const bool bAny = m_list.GetCount() > 0;
  host.EnableDlgItem(IDC_CHECKLIST_CHECKALL, bAny);
  host.EnableDlgItem(IDC_CHECKLIST_UNCHECKALL, bAny);
  return 1;
}

void TCheckListDialog::OnCommand(IDialogHost& host, int nID, int nNotification) {
  SetHost(&host);
  if (nID == IDC_CHECKLIST_LIST) {
    if (nNotification == CLBN_CHKCHANGE) OnChkChange();
  } else if (nNotification == BN_CLICKED) {
    if (nID == IDC_CHECKLIST_CHECKALL) CheckAllStrings();
    else if (nID == IDC_CHECKLIST_UNCHECKALL) UncheckAllStrings();
    else if (nID == IDC_CHECKLIST_DONOT) DoNot();
  }
}

void TCheckListDialog::UpdateContent() {
  if (GetHost() == nullptr) return;
  m_list.ResetContent();
  for (const Item& item : m_items) {
    const int nEntry = m_list.AddString(item.text);
    m_list.SetCheck(nEntry, item.checked ? BST_CHECKED : BST_UNCHECKED);
  }
  UpdateButtons();
}

void TCheckListDialog::UpdateButtons() {
  IDialogHost* pHost = GetHost();
  if (pHost == nullptr) return;
  const bool bAnyChecked = m_list.GetCheckedCount() > 0;
  if (bAnyChecked) {
    pHost->SetDlgItemText(IDOK, m_strOKText);
    pHost->SetDlgItemText(IDC_CHECKLIST_DONOT, kDoNotPrefix + m_strOKText);
  } else {
    pHost->SetDlgItemText(IDOK, kContinue);
  }
  pHost->EnableDlgItem(IDC_CHECKLIST_DONOT, bAnyChecked);
}

void TCheckListDialog::OnChkChange() {
  const int nCaret = m_list.GetCurSel();
  if (nCaret >= 0 && nCaret < GetCount())
    m_items[static_cast<std::size_t>(nCaret)].checked = m_list.GetCheck(nCaret) == BST_CHECKED;
  UpdateButtons();
}

void TCheckListDialog::CheckAll(bool bUncheck) {
  for (Item& item : m_items) item.checked = !bUncheck;
  UpdateContent();
}

void TCheckListDialog::DoNot() {
  CheckAll(true);
  if (OnOK()) GetHost()->EndDialog(IDOK);
}

void TCheckListDialog::DoDataExchange() {
  if (GetHost() == nullptr) return;
  const int nEntries = std::min(m_list.GetCount(), GetCount());
  for (int i = 0; i < nEntries; ++i)
    m_items[static_cast<std::size_t>(i)].checked = m_list.GetCheck(i) == BST_CHECKED;
}

void TCheckListDialog::ApplyToDocuments(bool bReload) {
  for (const Item& item : m_items) {
    for (QuillView* pView : QuillView::GetDocumentViews(item.text)) {
      pView->UpdateLastWrittenTime();
      if (bReload && item.checked) pView->ReloadFromFile();
    }
  }
}

bool TCheckListDialog::OnOK() {
  DoDataExchange();
  if (m_nType == DLG_RELOAD) ApplyToDocuments(true);
  return true;
}

bool TCheckListDialog::OnCancel() {
  if (m_nType == DLG_RELOAD) ApplyToDocuments(false);
  return true;
}

void TCheckListDialog::OnDestroy(IDialogHost& host) {
  TResizableDialog::OnDestroy(host);
  m_list.Attach(nullptr, IDC_CHECKLIST_LIST);
  m_tip.Init(m_list);
  RemoveAllAnchors();
}

}  // namespace quill
