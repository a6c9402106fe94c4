#include "dialogs/list_box_tip.h"

namespace quill {

void CListBoxTipHandler::Init(const TDialogControl& listBox) {
  m_pHost = listBox.GetHost();
  m_nListID = listBox.GetDlgCtrlID();
  Hide();
}

int CListBoxTipHandler::GetItemInfo(CPoint point, CRect& rect, std::string& text) {
  if (m_pHost == nullptr) return -1;
  for (int i = 0, n = m_pHost->GetCount(m_nListID); i < n; ++i) {
    CRect item;
    if (!m_pHost->GetListItemRect(m_nListID, i, item) || !item.PtInRect(point)) continue;
    text = m_pHost->GetItemText(m_nListID, i);
    rect = CRect(item.left, item.top, item.left + m_pHost->GetTextWidth(m_nListID, text), item.bottom);
    return i;
  }
  return -1;
}

void CListBoxTipHandler::OnMouseMove(CPoint point) {
  if (m_pHost == nullptr) return;
  CRect rect;
  std::string text;
  const int nItem = GetItemInfo(point, rect, text);
  const int nListWidth = m_pHost->GetDlgItemRect(m_nListID).Width();
  if (nItem < 0 || text.empty() || m_pHost->GetTextWidth(m_nListID, text) <= nListWidth) {
    Hide();
    return;
  }
  m_bVisible = true;
  m_nItem = nItem;
  m_strTip = text;
  m_rcTip = rect;
}

void CListBoxTipHandler::Hide() {
  m_bVisible = false;
  m_nItem = -1;
  m_strTip.clear();
  m_rcTip = CRect();
}

}  // namespace quill
