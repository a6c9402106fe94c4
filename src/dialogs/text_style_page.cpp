#include "dialogs/text_style_page.h"

#include <cstring>

#include "platform/app_services.h"
#include "platform/ascii.h"
#include "platform/common_dialogs.h"
#include "platform/display.h"
#include "platform/format.h"
#include "platform/window.h"
#include "resources/strings.h"
#include "style/document_style.h"
#include "style/text_style_impl.h"
#include "view/quill_view.h"
#include "view/text_document_mgr.h"

namespace quill {

namespace {

constexpr int kFontSizes[] = {6, 8, 10, 12, 14, 16, 18};

unsigned long AsItemData(int value) { return static_cast<unsigned long>(static_cast<long>(value)); }
int FromItemData(unsigned long data) { return static_cast<int>(static_cast<long>(data)); }

// Sets a flag for the lifetime of the object.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
  ~FlagScope() { m_flag = m_old; }

 private:
  bool& m_flag;
  bool m_old;
};

}  // namespace

TTextStylePage::TTextStylePage(TTextDocumentMgr* pMgr)
    : CPropertyPage(IDD_TEXT_STYLE), m_pDocMgr(pMgr) {
  SetCaption("Text Style");
  m_cbFrg.SetOwnerPage(this);
  m_cbBkg.SetOwnerPage(this);
}

TTextStylePage::~TTextStylePage() = default;

void TTextStylePage::FreeStyles() {
  m_pStyle = nullptr;
  m_styles.clear();
}

int TTextStylePage::OnInitDialog() {
  FlagScope filling(m_bFilling);
  FreeStyles();
  IDialogHost* host = GetHost();
  m_cbDocType.Attach(host, IDC_DOC_TYPE);
  m_cbFonts.Attach(host, IDC_FONT_NAME);
  m_cbFontSize.Attach(host, IDC_FONT_SIZE);
  m_lbTextEntities.Attach(host, IDC_TEXT_ENTITIES);
  m_cbFrg.SubclassDlgItem(host, IDC_FOREGROUND);
  m_cbBkg.SubclassDlgItem(host, IDC_BACKGROUND);
  CPropertyPage::OnInitDialog();

  m_cbDocType.ResetContent();
  if (m_pDocMgr != nullptr) {
    for (unsigned i = 0; i < m_pDocMgr->GetCount(); ++i) {
      const int index = m_cbDocType.AddString(m_pDocMgr->GetDocTypeName(i));
      m_styles.emplace_back(m_pDocMgr->GetDocStyle(i));
      m_cbDocType.SetItemData(index, reinterpret_cast<unsigned long>(m_styles.back().get()));
    }
  }
  m_cbDocType.SetCurSel(0);
  m_pStyle = m_styles.empty() ? nullptr : m_styles.front().get();
  InitControls();
  InitStyle(FromItemData(m_lbTextEntities.GetItemData(0)));
  return 1;
}

void TTextStylePage::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_TAB_SIZE, m_nTabSize);
  DDV_MinMaxUInt(pDX, m_nTabSize, kMinTabSize, kMaxTabSize);
  if (pDX->Failed()) return;
  if (pDX->m_bSaveAndValidate) {
    m_strFrgColor = m_cbFrg.GetSelectedColorName();
    m_strBkgColor = m_cbBkg.GetSelectedColorName();
  } else {
    m_cbFrg.SetSelectedColorName(m_strFrgColor.c_str());
    m_cbBkg.SetSelectedColorName(m_strBkgColor.c_str());
  }
}

void TTextStylePage::OnCommand(IDialogHost& host, int nID, int nCode) {
  if (m_bFilling) return;
  switch (nID) {
    case IDC_TEXT_ENTITIES:
      if (nCode == LBN_SELCHANGE) OnSelchangeTextEntities();
      return;
    case IDC_DOC_TYPE:
      if (nCode == CBN_SELCHANGE) OnSelchangeDocType();
      return;
    case IDC_FONT_SIZE:
      if (nCode == CBN_SELCHANGE) OnSelchangeFontSize();
      return;
    case IDC_FONT_NAME:
      if (nCode == CBN_SELCHANGE) OnSelchangeFonts();
      return;
    case IDC_FOREGROUND:
    case IDC_BACKGROUND:
      // The picker handles its own selection change and then updates this page.
      if (nCode == CBN_SELCHANGE) (nID == IDC_FOREGROUND ? static_cast<TColorPicker&>(m_cbFrg) : m_cbBkg).OnSelchange();
      return;
    case IDC_TAB_SIZE:
      if (nCode == EN_CHANGE) OnChangeTabsize();
      return;
    case IDC_ADD_SECTION:
      if (nCode == BN_CLICKED) OnAddKeywordSection();
      return;
    case IDC_EDIT_SECTION:
      if (nCode == BN_CLICKED) OnEditKeywordSection();
      return;
    case IDC_REMOVE_SECTION:
      if (nCode == BN_CLICKED) OnRemoveKeywordSection();
      return;
    case IDC_CHOOSE_FONT:
      if (nCode == BN_CLICKED) OnChooseFont();
      return;
    default: CPropertyPage::OnCommand(host, nID, nCode);
  }
}

void TTextStylePage::OnDestroy(IDialogHost& host) {
  FreeStyles();
  CPropertyPage::OnDestroy(host);
}

void TTextStylePage::OnDrawItem(IDialogHost& host, int nID, int nIndex, CDC& dc,
                                const CRect& rect, unsigned nState) {
  TColorPicker* picker = nID == IDC_FOREGROUND ? static_cast<TColorPicker*>(&m_cbFrg)
                         : nID == IDC_BACKGROUND ? &m_cbBkg : nullptr;
  if (picker == nullptr) return;
  DRAWITEMSTRUCT dis;
  dis.CtlID = nID;
  dis.itemID = nIndex;
  dis.itemState = nState;
  dis.pDC = &dc;
  dis.rcItem = rect;
  dis.itemData = nIndex >= 0 ? host.GetItemData(nID, nIndex) : 0;
  picker->DrawItem(&dis);
}

void TTextStylePage::InitControls() {
  if (m_pStyle == nullptr) return;
  FlagScope filling(m_bFilling);
  m_cbFonts.FillFonts();

  m_lbTextEntities.ResetContent();
  auto addGroup = [this](const std::string& text, int data) {
    const int index = m_lbTextEntities.AddString(text);
    m_lbTextEntities.SetItemData(index, AsItemData(data));
  };
  addGroup(LoadString(IDS_STYLE_NORMAL_TEXT), GROUP_NORMAL);
  for (int k = 0; k < m_pStyle->GetSectionCount(); ++k) addGroup(m_pStyle->GetSectionName(k), k);
  const DocumentType type = m_pStyle->GetDocumentType();
  if (type != DOCTYPE_NONE && type != DOCTYPE_LOGS && type != DOCTYPE_TEXT) {
    addGroup(LoadString(IDS_STYLE_PREPROCESSOR), GROUP_PREPROCESSOR);
    addGroup(LoadString(IDS_STYLE_STRING_CONSTANTS), GROUP_STRINGS);
    addGroup(LoadString(IDS_STYLE_NUMBERS), GROUP_NUMBERS);
    addGroup(LoadString(IDS_STYLE_COMMENTS), GROUP_COMMENTS);
  }

  m_cbFontSize.ResetContent();
  const int logPixelsY = GetScreenLogPixelsY();
  for (int size : kFontSizes) {
    const int index = m_cbFontSize.AddString(Format("%d", size));
    m_cbFontSize.SetItemData(index, AsItemData(-MulDiv(size, logPixelsY, 72)));
  }

  m_nTabSize = static_cast<unsigned>(m_pStyle->GetTabSize());
  m_cbFontSize.SetCurSel(2);
  m_cbFonts.SetCurSel(0);
  m_lbTextEntities.SetCurSel(0);
}

void TTextStylePage::InitStyle(int group) {
  if (m_pStyle == nullptr || GetHost() == nullptr) return;
  FlagScope filling(m_bFilling);
  COLORREF fg = 0, bg = 0;
  switch (group) {
    case GROUP_STRINGS:
      fg = m_pStyle->GetStringColor(1, 0);
      bg = m_pStyle->GetStringColor(0, 0);
      break;
    case GROUP_NUMBERS:
      fg = m_pStyle->GetNumbersColor(1, 0);
      bg = m_pStyle->GetNumbersColor(0, 0);
      break;
    case GROUP_COMMENTS:
      fg = m_pStyle->GetCommentsColor(1, 0);
      bg = m_pStyle->GetCommentsColor(0, 0);
      break;
    case GROUP_PREPROCESSOR:
      fg = m_pStyle->GetPreprocessorColor(1, 0);
      bg = m_pStyle->GetPreprocessorColor(0, 0);
      break;
    case GROUP_NORMAL:
      fg = m_pStyle->GetDefaultColor(1, 0);
      bg = m_pStyle->GetDefaultColor(0, 0);
      break;
    default:
      fg = m_pStyle->GetKeywordColor(TDocumentStyle::COLORINDEX_KEYWORD + group, 1, 0);
      bg = m_pStyle->GetKeywordColor(TDocumentStyle::COLORINDEX_KEYWORD_BKGND + group, 0, 0);
      break;
  }
  SelectFace(m_pStyle->GetFontName());
  SelectSize(m_pStyle->GetFontSize());
  m_cbFrg.SetCurColor(fg);
  m_cbBkg.SetCurColor(bg);
  m_nTabSize = static_cast<unsigned>(m_pStyle->GetTabSize());
  GetHost()->SetDlgItemText(IDC_TAB_SIZE, Format("%u", m_nTabSize));
}

void TTextStylePage::SelectFace(const std::string& face) {
  for (int i = 0, n = m_cbFonts.GetCount(); i < n; ++i) {
    if (StartsWithNoCase(m_cbFonts.GetText(i), face)) {
      m_cbFonts.SetCurSel(i);
      return;
    }
  }
  // A face this desktop does not have (the desktop substitutes another when it draws) is
  // listed first, so the list shows what the style holds.
  if (face.empty()) return;
  const int index = m_cbFonts.InsertString(0, face);
  if (index >= 0) m_cbFonts.SetCurSel(index);
}

void TTextStylePage::SelectSize(int height) {
  for (int i = 0, n = m_cbFontSize.GetCount(); i < n; ++i) {
    if (FromItemData(m_cbFontSize.GetItemData(i)) == height) {
      m_cbFontSize.SetCurSel(i);
      return;
    }
  }
}

int TTextStylePage::SelectedGroup() const {
  const int sel = m_lbTextEntities.GetCurSel();
  return sel == LB_ERR ? -1 : FromItemData(m_lbTextEntities.GetItemData(sel));
}

void TTextStylePage::UpdateStyle() {
  if (m_pStyle == nullptr) return;
  SetModified(true);
  m_pStyle->SetModified(true);
  const COLORREF fg = static_cast<COLORREF>(m_cbFrg.GetSelectedColorValue());
  const COLORREF bg = static_cast<COLORREF>(m_cbBkg.GetSelectedColorValue());
  const int group = SelectedGroup();
  switch (group) {
    case -1: break;
    case GROUP_STRINGS:
      m_pStyle->SetStringColor(fg, 1, 0);
      m_pStyle->SetStringColor(bg, 0, 0);
      break;
    case GROUP_NUMBERS:
      m_pStyle->SetNumbersColor(fg, 1, 0);
      m_pStyle->SetNumbersColor(bg, 0, 0);
      break;
    case GROUP_COMMENTS:
      m_pStyle->SetCommentsColor(fg, 1, 0);
      m_pStyle->SetCommentsColor(bg, 0, 0);
      break;
    case GROUP_PREPROCESSOR:
      m_pStyle->SetPreprocessorColor(fg, 1, 0);
      m_pStyle->SetPreprocessorColor(bg, 0, 0);
      break;
    case GROUP_NORMAL:
      m_pStyle->SetDefaultColor(fg, 1, 0);
      m_pStyle->SetDefaultColor(bg, 0, 0);
      break;
    default:
      m_pStyle->SetKeywordColor(fg, TDocumentStyle::COLORINDEX_KEYWORD + group, 1, 0);
      m_pStyle->SetKeywordColor(bg, TDocumentStyle::COLORINDEX_KEYWORD_BKGND + group, 0, 0);
      break;
  }
}

void TTextStylePage::OnSelchangeTextEntities() {
  const int group = SelectedGroup();
  if (group != -1) InitStyle(group);
}

void TTextStylePage::OnSelchangeDocType() {
  const int sel = m_cbDocType.GetCurSel();
  if (sel == CB_ERR) return;
  m_pStyle = reinterpret_cast<TDocumentStyle*>(m_cbDocType.GetItemData(sel));
  InitControls();
  InitStyle(FromItemData(m_lbTextEntities.GetItemData(0)));
}

void TTextStylePage::OnSelchangeFontSize() {
  const int sel = m_cbFontSize.GetCurSel();
  if (m_pStyle == nullptr || sel == CB_ERR) return;
  SetModified(true);
  m_pStyle->SetFontSize(FromItemData(m_cbFontSize.GetItemData(sel)));
  m_pStyle->SetModified(true);
}

void TTextStylePage::OnSelchangeFonts() {
  if (m_pStyle == nullptr) return;
  SetModified(true);
  m_pStyle->SetFontName(m_cbFonts.GetSelectedFont().c_str());
  m_pStyle->SetModified(true);
}

void TTextStylePage::OnChangeTabsize() {
  if (m_pStyle == nullptr) return;
  SetModified(true);
  m_pStyle->SetModified(true);
  // The tab size goes into the style as soon as it is valid, so that it survives a switch
  // to another document type before Apply.
  const std::string text = GetHost()->GetDlgItemText(IDC_TAB_SIZE);
  const std::optional<unsigned long> value = ParseWholeNumber<unsigned long>(TrimLeft(text));
  if (value && *value >= static_cast<unsigned long>(kMinTabSize) &&
      *value <= static_cast<unsigned long>(kMaxTabSize))
    m_pStyle->SetTabSize(static_cast<int>(*value));
}

void TTextStylePage::OnChooseFont() {
  if (m_pStyle == nullptr) return;
  LOGFONT lf;
  m_pStyle->GetFont(lf);
  CFontDialog dlg(&lf, CF_SCREENFONTS | CF_FIXEDPITCHONLY);
  if (dlg.DoModal() != IDOK) return;
  const LOGFONT& chosen = dlg.GetLogFont();
  SetModified(true);
  m_pStyle->SetFontName(chosen.lfFaceName);
  if (chosen.lfHeight != 0) m_pStyle->SetFontSize(chosen.lfHeight);
  m_pStyle->SetModified(true);
  FlagScope filling(m_bFilling);
  SelectFace(m_pStyle->GetFontName());
  SelectSize(m_pStyle->GetFontSize());
}

void TTextStylePage::OnAddKeywordSection() {
  if (m_pStyle == nullptr) return;
  CKeywordSectionDlg dlg;
  dlg.m_strName.clear();
  if (dlg.DoModal() != IDOK || dlg.m_strName.empty()) return;
  if (m_pStyle->InitKeywordSection(dlg.m_strName.c_str(), nullptr, nullptr, true) < 0) return;
  InitControls();
  const int index = m_lbTextEntities.FindStringExact(-1, dlg.m_strName);
  {
    FlagScope filling(m_bFilling);
    m_lbTextEntities.SetCurSel(index);
  }
  OnSelchangeTextEntities();
}

void TTextStylePage::OnEditKeywordSection() {
  if (m_pStyle == nullptr) return;
  const std::string name = m_lbTextEntities.GetText(m_lbTextEntities.GetCurSel());
  if (!m_pStyle->IsCustom(name.c_str())) {
    AfxMessageBox("Predefined style cannot be changed.", MB_OK | MB_ICONINFORMATION);
    return;
  }
  CKeywordsPage dlg(m_pStyle->GetIndexByName(name.c_str()), m_pStyle);
  if (dlg.DoModal() == IDOK && m_pStyle->IsModified()) SetModified(true);
}

void TTextStylePage::OnRemoveKeywordSection() {
  if (m_pStyle == nullptr) return;
  const int sel = m_lbTextEntities.GetCurSel();
  const std::string name = m_lbTextEntities.GetText(sel);
  if (name.empty()) return;
  if (!m_pStyle->IsCustom(name.c_str())) {
    AfxMessageBox("Predefined style cannot be removed.", MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!m_pStyle->RemoveKeywordSection(name.c_str())) return;
  InitControls();
  {
    FlagScope filling(m_bFilling);
    m_lbTextEntities.SetCurSel(sel);
  }
  OnSelchangeTextEntities();
}

int TTextStylePage::ApplyChanges() {
  if (m_pStyle != nullptr) {
    UpdateData(1);
    m_pStyle->SetTabSize(static_cast<int>(m_nTabSize));
    SetModified(true);
    m_pStyle->SetModified(true);
  }
  for (const std::unique_ptr<TDocumentStyle>& copy : m_styles) {
    if (copy == nullptr || !copy->IsModified()) continue;
    copy->SaveSettings(nullptr);
    ApplyStyleToOpenViews(*copy);
  }
  return 1;
}

// ---- CKeywordSectionDlg ----

namespace {

std::string Trimmed(std::string_view text) { return std::string(Trim(text)); }

}  // namespace

int CKeywordSectionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  EnableOK();
  return 1;
}

void CKeywordSectionDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_SECTION_NAME, m_strName); }

void CKeywordSectionDlg::EnableOK() {
  GetHost()->EnableDlgItem(IDOK, !Trimmed(GetHost()->GetDlgItemText(IDC_SECTION_NAME)).empty());
}

void CKeywordSectionDlg::OnCommand(IDialogHost&, int nID, int nCode) {
  if (nID == IDC_SECTION_NAME && nCode == EN_CHANGE) EnableOK();
}

bool CKeywordSectionDlg::OnOK() {
  if (!GetHost()->IsDlgItemEnabled(IDOK) || !UpdateData(1)) return false;
  m_strName = Trimmed(m_strName);
  return true;
}

// ---- CKeywordsPage ----

CKeywordsPage::CKeywordsPage(int nSection, TDocumentStyle* pStyle, Window* pParent)
    : CDialog(IDD_KEYWORDS, pParent),
      m_nSection(nSection),
      m_pStyle(pStyle),
      m_pCopy(pStyle != nullptr ? std::make_unique<TDocumentStyle>(*pStyle) : nullptr) {}

CKeywordsPage::~CKeywordsPage() = default;

int CKeywordsPage::OnInitDialog() {
  if (m_pCopy != nullptr) {
    m_strKeywords.clear();
    for (std::string keyword = m_pCopy->GetFirstKeyword(m_nSection); !keyword.empty();
         keyword = m_pCopy->GetNextKeyword(m_nSection)) {
      if (!m_strKeywords.empty()) m_strKeywords += ", ";
      m_strKeywords += keyword;
    }
    m_bCaseSensitive = m_pCopy->IgnoreCase(m_nSection) == 0 ? 1 : 0;
    m_strAllowedChars = m_pCopy->AllowedChars(m_nSection);
  }
  return CDialog::OnInitDialog();
}

void CKeywordsPage::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_KEYWORDS, m_strKeywords);
  DDX_Check(pDX, IDC_CASE_SENSITIVE, m_bCaseSensitive);
}

void CKeywordsPage::OnCommand(IDialogHost&, int nID, int nCode) {
  if ((nID == IDC_KEYWORDS && nCode == EN_CHANGE) || (nID == IDC_CASE_SENSITIVE && nCode == BN_CLICKED)) {
    if (m_pCopy != nullptr) m_pCopy->SetModified(true);
  }
}

bool CKeywordsPage::OnOK() {
  if (!UpdateData(1)) return false;
  if (m_pCopy == nullptr || m_strKeywords.empty()) return true;
  const int ignoreCase = m_bCaseSensitive == BST_CHECKED ? 0 : 1;
  m_pCopy->RemoveKeywords(m_nSection);
  m_pCopy->IgnoreCase(m_nSection, ignoreCase);

  // Identifier characters a keyword brings along: printable, but neither a letter, a
  // digit nor punctuation (the blank), in ascending order.
  bool noted[256] = {};
  std::string text = m_strKeywords;
  std::string token = Trimmed(text.substr(0, text.find(',')));
  while (!token.empty()) {
    m_pCopy->AddKeyword(token.c_str(), m_nSection);
    for (unsigned char c : token)
      if (std::isprint(c) && !std::isalnum(c) && !std::ispunct(c)) noted[c] = true;
    text = std::string(TrimLeft(text));
    text = token.size() + 1 < text.size() ? text.substr(token.size() + 1) : std::string();
    token = Trimmed(text.substr(0, text.find(',')));
  }
  std::string allowed;
  for (int c = 0; c < 256; ++c)
    if (noted[c]) allowed += static_cast<char>(c);
  m_pCopy->AllowedChars(m_nSection, allowed);
  m_pCopy->IgnoreCase(m_nSection, ignoreCase);
  *m_pStyle = *m_pCopy;
  return true;
}

}  // namespace quill
