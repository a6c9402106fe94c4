#include "platform/headless/headless_dialog_host.h"

namespace quill {

const HeadlessDialogHost::Control* HeadlessDialogHost::Find(int nID) const {
  auto it = m_controls.find(nID);
  return it == m_controls.end() ? nullptr : &it->second;
}

const HeadlessDialogHost::Item* HeadlessDialogHost::ItemAt(int nID, int nIndex) const {
  const Control* control = Find(nID);
  if (control == nullptr || nIndex < 0 || nIndex >= static_cast<int>(control->items.size()))
    return nullptr;
  return &control->items[static_cast<std::size_t>(nIndex)];
}

HeadlessDialogHost::Item* HeadlessDialogHost::ItemAt(int nID, int nIndex) {
  return const_cast<Item*>(static_cast<const HeadlessDialogHost*>(this)->ItemAt(nID, nIndex));
}

std::string HeadlessDialogHost::GetDlgItemText(int nID) const {
  const Control* control = Find(nID);
  return control ? control->text : std::string();
}

int HeadlessDialogHost::IsDlgButtonChecked(int nID) const {
  const Control* control = Find(nID);
  return control ? control->check : BST_UNCHECKED;
}

bool HeadlessDialogHost::IsDlgItemEnabled(int nID) const {
  const Control* control = Find(nID);
  return control == nullptr || control->enabled;
}

bool HeadlessDialogHost::IsDlgItemVisible(int nID) const {
  const Control* control = Find(nID);
  return control == nullptr || control->visible;
}

int HeadlessDialogHost::AddString(int nID, const std::string& text) {
  std::vector<Item>& items = At(nID).items;
  items.push_back(Item{text});
  return static_cast<int>(items.size()) - 1;
}

int HeadlessDialogHost::InsertString(int nID, int nIndex, const std::string& text) {
  std::vector<Item>& items = At(nID).items;
  if (nIndex == -1) return AddString(nID, text);
  if (nIndex < 0 || nIndex > static_cast<int>(items.size())) return LB_ERR;
  items.insert(items.begin() + nIndex, Item{text});
  return nIndex;
}

int HeadlessDialogHost::DeleteString(int nID, int nIndex) {
  if (ItemAt(nID, nIndex) == nullptr) return LB_ERR;
  Control& control = At(nID);
  control.items.erase(control.items.begin() + nIndex);
  if (control.curSel == nIndex) control.curSel = LB_ERR;
  else if (control.curSel > nIndex) --control.curSel;
  return static_cast<int>(control.items.size());
}

void HeadlessDialogHost::ResetContent(int nID) {
  Control& control = At(nID);
  control.items.clear();
  control.curSel = LB_ERR;
}

int HeadlessDialogHost::GetCount(int nID) const {
  const Control* control = Find(nID);
  return control ? static_cast<int>(control->items.size()) : 0;
}

std::string HeadlessDialogHost::GetItemText(int nID, int nIndex) const {
  const Item* item = ItemAt(nID, nIndex);
  return item ? item->text : std::string();
}

int HeadlessDialogHost::GetCurSel(int nID) const {
  const Control* control = Find(nID);
  return control ? control->curSel : LB_ERR;
}

int HeadlessDialogHost::SetCurSel(int nID, int nIndex) {
  Control& control = At(nID);
  const Item* item = ItemAt(nID, nIndex);
  control.curSel = item ? nIndex : LB_ERR;
  if (item) control.text = item->text;
  return item ? nIndex : LB_ERR;
}

unsigned long HeadlessDialogHost::GetItemData(int nID, int nIndex) const {
  const Item* item = ItemAt(nID, nIndex);
  return item ? item->data : 0;
}

int HeadlessDialogHost::SetItemData(int nID, int nIndex, unsigned long data) {
  Item* item = ItemAt(nID, nIndex);
  if (item == nullptr) return LB_ERR;
  item->data = data;
  return 0;
}

int HeadlessDialogHost::GetItemCheck(int nID, int nIndex) const {
  const Item* item = ItemAt(nID, nIndex);
  return item ? item->check : BST_UNCHECKED;
}

void HeadlessDialogHost::SetItemCheck(int nID, int nIndex, int nCheck) {
  if (Item* item = ItemAt(nID, nIndex)) item->check = nCheck;
}

bool HeadlessDialogHost::GetListItemRect(int nID, int nIndex, CRect& rect) const {
  if (ItemAt(nID, nIndex) == nullptr) return false;
  const CRect list = GetDlgItemRect(nID);
  rect = CRect(0, nIndex * m_nItemHeight, list.Width(), (nIndex + 1) * m_nItemHeight);
  return true;
}

int HeadlessDialogHost::GetTextWidth(int, const std::string& text) const {
  return static_cast<int>(text.size()) * m_nCharWidth;
}

CRect HeadlessDialogHost::GetDlgItemRect(int nID) const {
  const Control* control = Find(nID);
  return control ? control->rect : CRect();
}

void HeadlessDialogHost::GetEditSel(int nID, int& nStart, int& nEnd) const {
  const Control* control = Find(nID);
  nStart = control != nullptr ? control->selStart : -1;
  nEnd = control != nullptr ? control->selEnd : -1;
}

void HeadlessDialogHost::SetEditSel(int nID, int nStart, int nEnd) {
  At(nID).selStart = nStart;
  At(nID).selEnd = nEnd;
}

unsigned HeadlessDialogHost::TrackPopupMenu(const CMenu& menu, int) {
  m_lastPopup = menu;
  const unsigned nChoice = m_nPopupChoice;
  m_nPopupChoice = 0;
  return nChoice;
}

}  // namespace quill
