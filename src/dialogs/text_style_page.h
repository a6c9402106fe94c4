#pragma once
// TTextStylePage: the property page on which the user edits, per document type, the font,
// tab size and colours of a style and manages user-defined keyword sections. It works on
// copies of the styles that the document type manager hands out; ApplyChanges saves the
// changed ones and pushes them into every open view of the same document type.
// CKeywordSectionDlg asks for a new section's name; CKeywordsPage edits the keywords of a
// user-defined section.

#include <memory>
#include <string>
#include <vector>

#include "dialogs/color_picker.h"
#include "dialogs/dialog_control.h"
#include "dialogs/font_combo_box.h"
#include "dialogs/property_sheet.h"
#include "resources/dlg_text_style.h"

namespace quill {

class TDocumentStyle;
class TTextDocumentMgr;

class TTextStylePage : public CPropertyPage {
 public:
  class TColorPickerCB_Frg : public TColorPicker {
   public:
    TColorPickerCB_Frg() : TColorPicker(TEXT_COLOR) {}
    ~TColorPickerCB_Frg() override = default;
  };
  class TColorPickerCB_Bkg : public TColorPicker {
   public:
    TColorPickerCB_Bkg() : TColorPicker(BACKGROUND_COLOR) {}
    ~TColorPickerCB_Bkg() override = default;
  };

  // Group item data of the fixed kinds of text (the others are section numbers).
  static constexpr int GROUP_STRINGS = 38009;
  static constexpr int GROUP_NUMBERS = 38010;
  static constexpr int GROUP_COMMENTS = 38011;
  static constexpr int GROUP_PREPROCESSOR = 38012;
  static constexpr int GROUP_NORMAL = 38013;

  explicit TTextStylePage(TTextDocumentMgr* pMgr);
  ~TTextStylePage() override;

  // The style of the selected document type (the page's copy), or null.
  TDocumentStyle* GetTextStyle() const { return m_pStyle; }

  using CDialog::OnDestroy;
  using CDialog::OnInitDialog;
  int OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCommand(IDialogHost& host, int nID, int nCode) override;
  void OnDrawItem(IDialogHost& host, int nID, int nIndex, CDC& dc, const CRect& rect,
                  unsigned nState) override;
  // Deletes the style copies.
  void OnDestroy(IDialogHost& host) override;

  // Fills the face, group and size lists for the current style.
  void InitControls();
  // Shows the colours of a group and the style's font and tab size.
  void InitStyle(int group);
  // Takes the pickers' colours into the selected group.
  void UpdateStyle();
  // Saves every changed style and pushes it into the open views of its type. Returns 1.
  int ApplyChanges();
  // The host calls ApplyChanges itself: returns 0.
  int OnApply() override { return 0; }

  void OnSelchangeTextEntities();
  void OnSelchangeDocType();
  void OnSelchangeFontSize();
  void OnSelchangeFonts();
  void OnSelchangeBackground() { UpdateStyle(); }
  void OnChangeTabsize();
  void OnAddKeywordSection();
  void OnEditKeywordSection();
  void OnRemoveKeywordSection();
  void OnChooseFont();

 protected:
  TDialogControl m_cbDocType;
  TFontComboBox m_cbFonts;
  TDialogControl m_cbFontSize;
  TDialogControl m_lbTextEntities;
  TColorPickerCB_Frg m_cbFrg;
  TColorPickerCB_Bkg m_cbBkg;
  std::string m_strFrgColor;
  std::string m_strBkgColor;
  unsigned m_nTabSize = 0;
  TTextDocumentMgr* m_pDocMgr;
  TDocumentStyle* m_pStyle = nullptr;

 private:
  // The item data of the selected group, or -1.
  int SelectedGroup() const;
  void SelectFace(const std::string& face);
  void SelectSize(int height);
  void FreeStyles();

  // The page's style copies, one per document type, in list order.
  std::vector<std::unique_ptr<TDocumentStyle>> m_styles;
  // Set while the page fills its own controls: their notifications are not the user's.
  bool m_bFilling = false;
};

class CKeywordSectionDlg : public CDialog {
 public:
  explicit CKeywordSectionDlg(Window* pParent = nullptr) : CDialog(IDD_KEYWORD_SECTION, pParent) {}

  using CDialog::OnInitDialog;
  using CDialog::OnOK;
  int OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCommand(IDialogHost& host, int nID, int nCode) override;
  bool OnOK() override;

  std::string m_strName;

 private:
  void EnableOK();
};

class CKeywordsPage : public CDialog {
 public:
  CKeywordsPage(int nSection, TDocumentStyle* pStyle, Window* pParent = nullptr);
  ~CKeywordsPage() override;

  using CDialog::OnInitDialog;
  using CDialog::OnOK;
  int OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCommand(IDialogHost& host, int nID, int nCode) override;
  bool OnOK() override;

  std::string m_strKeywords;
  int m_bCaseSensitive = 0;
  std::string m_strAllowedChars;

 private:
  int m_nSection;
  TDocumentStyle* m_pStyle;
  // The page edits a copy; OK writes it back into m_pStyle.
  std::unique_ptr<TDocumentStyle> m_pCopy;
};

}  // namespace quill
