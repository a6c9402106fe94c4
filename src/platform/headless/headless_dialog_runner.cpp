#include "platform/headless/headless_dialog_runner.h"

#include "platform/app_services.h"

namespace quill {
namespace {

constexpr int kBaseUnitX = 6;   // average character width of the headless dialog font
constexpr int kBaseUnitY = 13;  // its height

bool IsList(DialogItemKind kind) {
  return kind == DialogItemKind::ListBox || kind == DialogItemKind::CheckListBox ||
         kind == DialogItemKind::ComboBox || kind == DialogItemKind::ColorCombo;
}

bool IsCombo(DialogItemKind kind) {
  return kind == DialogItemKind::ComboBox || kind == DialogItemKind::ColorCombo;
}

}  // namespace

CRect HeadlessDialogSession::ToPixels(const DialogRect& r) {
  const int left = r.x * kBaseUnitX / 4;
  const int top = r.y * kBaseUnitY / 8;
  return CRect(left, top, left + r.cx * kBaseUnitX / 4, top + r.cy * kBaseUnitY / 8);
}

HeadlessDialogSession::HeadlessDialogSession(const DialogTemplate& dialogTemplate,
                                             CDialogBehaviour& behaviour, Window* pParent)
    : m_template(dialogTemplate), m_behaviour(behaviour), m_pParent(pParent) {
  const CRect client = ToPixels(DialogRect{0, 0, dialogTemplate.rect.cx, dialogTemplate.rect.cy});
  m_host.SetClientSize(client.Width(), client.Height());
  m_host.SetWindowText(dialogTemplate.caption ? dialogTemplate.caption : "");
  for (const DialogItem& item : dialogTemplate.items) {
    if (item.id == IDC_STATIC) continue;
    HeadlessDialogHost::Control& control = m_host.At(item.id);
    if (!IsList(item.kind) || item.kind == DialogItemKind::ComboBox)
      control.text = item.caption ? item.caption : "";
    control.rect = ToPixels(item.rect);
    control.enabled = (item.style & DIS_DISABLED) == 0;
    control.visible = (item.style & DIS_HIDDEN) == 0;
  }
}

bool HeadlessDialogSession::Usable(int nID) const {
  return !Ended() && m_template.FindItem(nID) != nullptr && m_host.IsDlgItemEnabled(nID) &&
         m_host.IsDlgItemVisible(nID);
}

bool HeadlessDialogSession::Press(int nID) {
  if (!Usable(nID)) return false;
  const DialogItem& item = *m_template.FindItem(nID);
  if (item.kind == DialogItemKind::CheckBox) {
    const int check = m_host.IsDlgButtonChecked(nID);
    const bool tri = (item.style & DIS_TRISTATE) != 0;
    m_host.CheckDlgButton(nID, check == BST_UNCHECKED ? BST_CHECKED
                               : check == BST_CHECKED && tri ? BST_INDETERMINATE
                                                             : BST_UNCHECKED);
  } else if (item.kind == DialogItemKind::RadioButton) {
    // The group runs from the last item with DIS_GROUP up to the next one.
    const auto items = m_template.items;
    std::size_t first = static_cast<std::size_t>(&item - items.data());
    while (first > 0 && (items[first].style & DIS_GROUP) == 0) --first;
    for (std::size_t i = first; i < items.size(); ++i) {
      if (i > first && (items[i].style & DIS_GROUP) != 0) break;
      if (items[i].kind == DialogItemKind::RadioButton && items[i].id != IDC_STATIC)
        m_host.CheckDlgButton(items[i].id, items[i].id == nID ? BST_CHECKED : BST_UNCHECKED);
    }
  }
  RouteDialogCommand(m_behaviour, m_host, nID, BN_CLICKED);
  return true;
}

void HeadlessDialogSession::Close() {
  if (!Ended()) RouteDialogCommand(m_behaviour, m_host, IDCANCEL, BN_CLICKED);
}

bool HeadlessDialogSession::Type(int nID, const std::string& text) {
  if (!Usable(nID)) return false;
  m_host.SetDlgItemText(nID, text);
  const bool combo = IsCombo(m_template.FindItem(nID)->kind);
  m_behaviour.OnCommand(m_host, nID, combo ? CBN_EDITCHANGE : EN_CHANGE);
  return true;
}

bool HeadlessDialogSession::Select(int nID, int nIndex) {
  if (!Usable(nID) || nIndex < 0 || nIndex >= m_host.GetCount(nID)) return false;
  m_host.SetCurSel(nID, nIndex);
  const bool combo = IsCombo(m_template.FindItem(nID)->kind);
  m_behaviour.OnCommand(m_host, nID, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  return true;
}

bool HeadlessDialogSession::DoubleClick(int nID, int nIndex) {
  if (!Select(nID, nIndex) || Ended()) return false;
  m_behaviour.OnCommand(m_host, nID, LBN_DBLCLK);
  return true;
}

bool HeadlessDialogSession::ToggleCheck(int nID, int nIndex) {
  if (!Usable(nID) || nIndex < 0 || nIndex >= m_host.GetCount(nID)) return false;
  m_host.SetCurSel(nID, nIndex);
  m_host.SetItemCheck(nID, nIndex,
                      m_host.GetItemCheck(nID, nIndex) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  m_behaviour.OnCommand(m_host, nID, CLBN_CHKCHANGE);
  return true;
}

bool HeadlessDialogSession::Resize(int cx, int cy) {
  if (!m_template.resizable || Ended()) return false;
  m_host.SetClientSize(cx, cy);
  m_behaviour.OnSize(m_host, cx, cy);
  return true;
}

void HeadlessDialogSession::Notify(int nID, int nNotification) {
  if (!Ended()) RouteDialogCommand(m_behaviour, m_host, nID, nNotification);
}

int HeadlessDialogRunner::RunModal(const DialogTemplate& dialogTemplate,
                                   CDialogBehaviour& behaviour, Window* pParent) {
  m_runs.push_back(dialogTemplate.id);
  HeadlessDialogSession session(dialogTemplate, behaviour, pParent);
  behaviour.OnInitDialog(session.Host());
  if (!m_scripts.empty()) {
    DialogScript script = std::move(m_scripts.front());
    m_scripts.pop_front();
    if (script && !session.Ended()) script(session);
  }
  session.Close();
  const int result = session.Host().Result().value_or(IDCANCEL);
  behaviour.OnDestroy(session.Host());
  m_last = std::make_unique<HeadlessDialogHost>(session.Host());
  return result;
}

void HeadlessDialogRunner::Reset() {
  m_scripts.clear();
  m_runs.clear();
  m_last.reset();
}

HeadlessDialogRunner& GetHeadlessDialogRunner() {
  static HeadlessDialogRunner runner;
  return runner;
}

ScopedHeadlessDialogs::ScopedHeadlessDialogs() {
  SetDialogRunner(nullptr);
  GetHeadlessDialogRunner().Reset();
}

ScopedHeadlessDialogs::~ScopedHeadlessDialogs() { GetHeadlessDialogRunner().Reset(); }

}  // namespace quill
