#pragma once
// A printer in memory: a printer device that keeps, for every page, the texts printed on
// it with their places, and print services whose dialogs answer from scripts. The default
// printer is "Headless Printer", an A4 sheet at 300 dpi with a printable area 50 device
// units in from each edge.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/headless/headless_dc.h"
#include "platform/print.h"

namespace quill {

// One text output of a printed page.
struct PrintedText {
  std::string text;
  CPoint origin;  // where its first byte starts
  CRect area;     // the cells it covers, clipped
};

struct PrintedPage {
  std::vector<PrintedText> texts;  // in the order printed
  short orientation = DMORIENT_PORTRAIT;
  CSize printable;                 // HORZRES x VERTRES of the page
};

// What one print job produced.
struct HeadlessPrintJob {
  std::string docName;
  bool started = false;
  bool ended = false;
  bool aborted = false;
  int resets = 0;  // ResetDC calls
  std::vector<PrintedPage> pages;
};

// The sheet of a headless printer.
struct HeadlessPaper {
  int dpi = 300;
  CSize sheet = CSize(2480, 3508);  // portrait, device units
  CPoint offset = CPoint(50, 50);   // of the printable area
};

class HeadlessPrinterDC : public HeadlessDC {
 public:
  explicit HeadlessPrinterDC(const HeadlessPaper& paper = HeadlessPaper(),
                             short orientation = DMORIENT_PORTRAIT,
                             std::shared_ptr<HeadlessPrintJob> job = nullptr);

  int GetDeviceCaps(int index) const override;
  int StartDoc(const std::string& docName) override;
  int StartPage() override;
  int EndPage() override;
  int EndDoc() override;
  int AbortDoc() override;
  CDC* ResetDC(const DEVMODE* devMode) override;

  const HeadlessPrintJob& Job() const { return *m_job; }
  short Orientation() const { return m_orientation; }

 private:
  CSize Sheet() const;
  CSize Printable() const;

  HeadlessPaper m_paper;
  short m_orientation;
  std::shared_ptr<HeadlessPrintJob> m_job;
  bool m_inPage = false;
};

class HeadlessPrintServices : public IPrintServices {
 public:
  HeadlessPrintServices();

  bool DoPreparePrinting(CPrintInfo& info) override;
  std::unique_ptr<CDC> CreatePrinterDC(const CPrintInfo& info) override;
  void RunPrintPreview(Window* pParent, const std::string& title,
                       const std::function<void(CDC&, CPrintInfo&)>& printJob) override;
  int RunPageSetup(CPageSetupDialog& dlg) override;
  std::string GetDefaultPrinter() override { return m_defaultPrinter; }
  bool GetPrinterDevMode(const std::string& printer, DEVMODE& devMode) override;
  bool ValidateDevMode(const std::string& printer, DEVMODE& devMode) override;

  // Printers: name to its current settings; the default one ("" for none).
  void AddPrinter(const std::string& name, short orientation = DMORIENT_PORTRAIT);
  void RemoveAllPrinters();
  void SetDefaultPrinter(const std::string& name) { m_defaultPrinter = name; }
  // The driver of this printer refuses every device mode.
  void RefuseDevModes(const std::string& name) { m_refusing.insert(name); }

  // The scripted print dialog: changes the dialog's result and answers OK (true) or
  // Cancel. Unset: OK with the default printer, all pages.
  std::function<bool(CPrintDialog&)> printDialog;
  // The scripted page-setup dialog: sees the dialog as preset, changes it, answers IDOK
  // or IDCANCEL. Unset: IDOK, nothing changed.
  std::function<int(CPageSetupDialog&)> pageSetup;

  HeadlessPaper paper;
  // The last job made by CreatePrinterDC or a preview; the page-setup dialog as it was
  // preset when last shown.
  std::shared_ptr<HeadlessPrintJob> lastJob;
  PAGESETUPDLG lastPageSetupPreset;
  short lastPageSetupOrientation = 0;
  int printDialogs = 0;
  int previews = 0;

 private:
  std::map<std::string, DEVMODE> m_printers;
  std::set<std::string> m_refusing;
  std::string m_defaultPrinter;
};

}  // namespace quill
