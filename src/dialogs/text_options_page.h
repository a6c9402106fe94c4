#pragma once
// TTextOptionsPage: the property page of the two general editor options, reloading files
// changed outside the application and saving modified files before the host's tools run.
// It shows the values stored when it was constructed and writes them only in SaveSettings,
// which the host calls after its sheet was confirmed.

#include "dialogs/property_sheet.h"
#include "resources/dlg_text_options.h"

namespace quill {

class TTextOptionsPage : public CPropertyPage {
 public:
  static constexpr const char* kClassName = "TTextOptionsPage";

  TTextOptionsPage();
  ~TTextOptionsPage() override = default;

  void DoDataExchange(CDataExchange* pDX) override;
  // A click on one of the page's buttons makes it modified (Apply becomes available).
  void OnCommand(IDialogHost& host, int nID, int nCode) override;
  // Takes the controls' states and writes both options.
  void SaveSettings();

  // Index of the selected radio button: the TSaveOptions value.
  int m_nSaveOption = 0;
  // 1 when the stored TAutoLoad is AUTOLOAD_ON (0).
  int m_nAutoLoad = 0;
};

}  // namespace quill
