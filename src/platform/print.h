#pragma once
// Printing as the framework offers it to a view: the print job's information (page range,
// current page, drawing rectangle), the print dialog's result, device-mode blocks, the
// page-setup dialog, and the print services a backend installs (the print dialog, printer
// devices, the print-preview window, the page-setup dialog, the printers' device modes).
// A printer device is a CDC that answers GetDeviceCaps and runs StartDoc / StartPage /
// EndPage / EndDoc; until a backend installs its services the fallback serves
// (platform/platform_services.h; in tests the headless printer).

#include <functional>
#include <memory>
#include <string>

#include "platform/gdi.h"
#include "platform/types.h"

namespace quill {

class Window;

// Device-mode fields and orientations.
constexpr unsigned long DM_ORIENTATION = 0x00000001UL;
constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;

constexpr int CCHDEVICENAME = 32;

// A printer's settings, as a driver keeps them. Plain data: a block may be allocated with
// malloc and freed with free.
struct DEVMODE {
  char dmDeviceName[CCHDEVICENAME] = {};
  unsigned long dmFields = 0;  // DM_* bits: which fields the block declares
  short dmOrientation = DMORIENT_PORTRAIT;
};

// What the print dialog leaves behind: the printer chosen, its settings and the page range
// (0 for both pages means all pages).
class CPrintDialog {
 public:
  std::string GetDeviceName() const { return m_strDeviceName; }
  DEVMODE* GetDevMode() { return m_bHasDevMode ? &m_devMode : nullptr; }
  void SetDevMode(const DEVMODE& devMode) {
    m_devMode = devMode;
    m_bHasDevMode = true;
  }

  std::string m_strDeviceName;
  unsigned m_nFromPage = 0;
  unsigned m_nToPage = 0;

 private:
  DEVMODE m_devMode;
  bool m_bHasDevMode = false;
};

// One print or preview job. Pages are numbered from 1; the highest page is unknown
// (0xFFFF) until the view sets it.
class CPrintInfo {
 public:
  static constexpr unsigned kUnknownMaxPage = 0xFFFF;

  void SetMinPage(unsigned nMinPage) { m_nMinPage = nMinPage; }
  void SetMaxPage(unsigned nMaxPage) { m_nMaxPage = nMaxPage; }
  unsigned GetMinPage() const { return m_nMinPage; }
  unsigned GetMaxPage() const { return m_nMaxPage; }
  // The range to print: the dialog's range within the job's pages.
  unsigned GetFromPage() const;
  unsigned GetToPage() const;

  std::unique_ptr<CPrintDialog> m_pPD;  // null until the print preparation made it
  bool m_bDirect = false;               // no print dialog: the default printer
  bool m_bPreview = false;              // pages go to the preview window
  bool m_bContinuePrinting = true;      // OnPrepareDC's verdict for the current page
  unsigned m_nCurPage = 1;
  CRect m_rectDraw;                     // the page's printable area in device units
  std::string m_strOutputFile;          // a PDF file for the job, instead of a printer

 private:
  unsigned m_nMinPage = 1;
  unsigned m_nMaxPage = kUnknownMaxPage;
};

// Page-setup dialog flags.
constexpr unsigned long PSD_MARGINS = 0x00000002UL;
constexpr unsigned long PSD_INTHOUSANDTHSOFINCHES = 0x00000004UL;
constexpr unsigned long PSD_INHUNDREDTHSOFMILLIMETERS = 0x00000008UL;

struct PAGESETUPDLG {
  unsigned long Flags = 0;
  CRect rtMargin;  // left, top, right, bottom in the units of Flags
};

// The framework's page-setup dialog. It starts with the default printer's settings (none
// without a printer); DoModal shows it through the installed print services.
class CPageSetupDialog {
 public:
  explicit CPageSetupDialog(unsigned long dwFlags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS,
                            Window* pParentWnd = nullptr);
  // IDOK or IDCANCEL.
  int DoModal();
  DEVMODE* GetDevMode() { return m_bHasDevMode ? &m_devMode : nullptr; }
  std::string GetDeviceName() const { return m_strDeviceName; }
  void GetMargins(CRect* lpRectMargins, CRect* lpRectMinMargins) const;
  Window* GetParent() const { return m_pParentWnd; }

  PAGESETUPDLG m_psd;

 private:
  Window* m_pParentWnd;
  std::string m_strDeviceName;
  DEVMODE m_devMode;
  bool m_bHasDevMode = false;
};

class IPrintServices {
 public:
  virtual ~IPrintServices() = default;
  // The framework's print preparation: a direct or preview job takes the default printer,
  // any other shows the print dialog. Fills info.m_pPD; false when the user cancels or
  // there is no printer to print on.
  virtual bool DoPreparePrinting(CPrintInfo& info) = 0;
  // A device for the job's printer (or its output file), ready for StartDoc; null when it
  // cannot be made.
  virtual std::unique_ptr<CDC> CreatePrinterDC(const CPrintInfo& info) = 0;
  // Shows the print-preview window over pParent; it calls printJob with a device and a
  // preview job whenever it needs the pages.
  virtual void RunPrintPreview(Window* pParent, const std::string& title,
                               const std::function<void(CDC&, CPrintInfo&)>& printJob) = 0;
  // Shows a page-setup dialog preset from dlg and, on OK, writes the user's choice back.
  virtual int RunPageSetup(CPageSetupDialog& dlg) = 0;
  // The default printer's name; empty when there is none.
  virtual std::string GetDefaultPrinter() = 0;
  // The printer's current settings; false when it cannot be opened.
  virtual bool GetPrinterDevMode(const std::string& printer, DEVMODE& devMode) = 0;
  // The driver merges the block with its settings and validates it; false when it refuses.
  virtual bool ValidateDevMode(const std::string& printer, DEVMODE& devMode) = 0;
};

// Installs print services (not owned); null goes back to the fallback.
void SetPrintServices(IPrintServices* services);
IPrintServices& GetPrintServices();

}  // namespace quill
