#include "platform/headless/headless_printer.h"

#include <cstring>
#include <utility>

#include "platform/app_services.h"
#include "platform/display.h"

namespace quill {

namespace {

constexpr const char* kDefaultPrinter = "Headless Printer";

void SetDeviceName(DEVMODE& devMode, const std::string& name) {
  std::memset(devMode.dmDeviceName, 0, sizeof devMode.dmDeviceName);
  std::strncpy(devMode.dmDeviceName, name.c_str(), CCHDEVICENAME - 1);
}

}  // namespace

HeadlessPrinterDC::HeadlessPrinterDC(const HeadlessPaper& paper, short orientation,
                                     std::shared_ptr<HeadlessPrintJob> job)
    : HeadlessDC(CSize(0, 0)),
      m_paper(paper),
      m_orientation(orientation),
      m_job(job ? std::move(job) : std::make_shared<HeadlessPrintJob>()) {
  SetPrinting(true);
  const CSize printable = Printable();
  SetClipBox(CRect(0, 0, printable.cx, printable.cy));
}

CSize HeadlessPrinterDC::Sheet() const {
  return m_orientation == DMORIENT_LANDSCAPE ? CSize(m_paper.sheet.cy, m_paper.sheet.cx)
                                             : m_paper.sheet;
}

CSize HeadlessPrinterDC::Printable() const {
  const CSize sheet = Sheet();
  return CSize(sheet.cx - 2 * m_paper.offset.x, sheet.cy - 2 * m_paper.offset.y);
}

int HeadlessPrinterDC::GetDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return m_paper.dpi;
    case HORZRES: return Printable().cx;
    case VERTRES: return Printable().cy;
    case HORZSIZE: return MulDiv(Printable().cx, 254, m_paper.dpi * 10);
    case VERTSIZE: return MulDiv(Printable().cy, 254, m_paper.dpi * 10);
    case PHYSICALWIDTH: return Sheet().cx;
    case PHYSICALHEIGHT: return Sheet().cy;
    case PHYSICALOFFSETX: return m_paper.offset.x;
    case PHYSICALOFFSETY: return m_paper.offset.y;
    default: return 0;
  }
}

int HeadlessPrinterDC::StartDoc(const std::string& docName) {
  m_job->docName = docName;
  m_job->started = true;
  return 1;
}

int HeadlessPrinterDC::StartPage() {
  if (!m_job->started || m_inPage) return 0;
  m_inPage = true;
  ClearOps();
  return 1;
}

int HeadlessPrinterDC::EndPage() {
  if (!m_inPage) return 0;
  m_inPage = false;
  PrintedPage page;
  page.orientation = m_orientation;
  page.printable = Printable();
  for (const DrawOp& op : Ops()) {
    if (op.kind == DrawOp::Text) page.texts.push_back({op.text, op.origin, op.area});
  }
  m_job->pages.push_back(std::move(page));
  ClearOps();
  return 1;
}

int HeadlessPrinterDC::EndDoc() {
  if (!m_job->started) return 0;
  if (m_inPage) EndPage();
  m_job->ended = true;
  return 1;
}

int HeadlessPrinterDC::AbortDoc() {
  m_inPage = false;
  m_job->aborted = true;
  return 1;
}

CDC* HeadlessPrinterDC::ResetDC(const DEVMODE* devMode) {
  if (devMode == nullptr || m_inPage) return nullptr;
  ++m_job->resets;
  if ((devMode->dmFields & DM_ORIENTATION) != 0) m_orientation = devMode->dmOrientation;
  const CSize printable = Printable();
  SetClipBox(CRect(0, 0, printable.cx, printable.cy));
  return this;
}

HeadlessPrintServices::HeadlessPrintServices() {
  AddPrinter(kDefaultPrinter);
  m_defaultPrinter = kDefaultPrinter;
}

void HeadlessPrintServices::AddPrinter(const std::string& name, short orientation) {
  DEVMODE devMode;
  SetDeviceName(devMode, name);
  devMode.dmFields = DM_ORIENTATION;
  devMode.dmOrientation = orientation;
  m_printers[name] = devMode;
}

void HeadlessPrintServices::RemoveAllPrinters() {
  m_printers.clear();
  m_defaultPrinter.clear();
}

bool HeadlessPrintServices::DoPreparePrinting(CPrintInfo& info) {
  DEVMODE devMode;
  if (m_defaultPrinter.empty() || !GetPrinterDevMode(m_defaultPrinter, devMode)) {
    if (!info.m_bPreview) AfxMessageBox("No printers are installed.", MB_OK | MB_ICONERROR);
    return false;
  }
  auto dialog = std::make_unique<CPrintDialog>();
  dialog->m_strDeviceName = m_defaultPrinter;
  dialog->SetDevMode(devMode);
  if (!info.m_bDirect && !info.m_bPreview) {
    ++printDialogs;
    if (printDialog && !printDialog(*dialog)) return false;
  }
  info.m_pPD = std::move(dialog);
  return true;
}

std::unique_ptr<CDC> HeadlessPrintServices::CreatePrinterDC(const CPrintInfo& info) {
  // The device starts with the printer's own settings; the view's OnPrepareDC brings in
  // the orientation chosen in the dialog.
  short orientation = DMORIENT_PORTRAIT;
  if (info.m_pPD != nullptr) {
    auto it = m_printers.find(info.m_pPD->GetDeviceName());
    if (it == m_printers.end()) return nullptr;
    orientation = it->second.dmOrientation;
  }
  lastJob = std::make_shared<HeadlessPrintJob>();
  return std::make_unique<HeadlessPrinterDC>(paper, orientation, lastJob);
}

void HeadlessPrintServices::RunPrintPreview(Window*, const std::string&,
                                            const std::function<void(CDC&, CPrintInfo&)>& printJob) {
  ++previews;
  lastJob = std::make_shared<HeadlessPrintJob>();
  HeadlessPrinterDC dc(paper, DMORIENT_PORTRAIT, lastJob);
  CPrintInfo info;
  info.m_bPreview = true;
  printJob(dc, info);
}

int HeadlessPrintServices::RunPageSetup(CPageSetupDialog& dlg) {
  lastPageSetupPreset = dlg.m_psd;
  lastPageSetupOrientation = dlg.GetDevMode() != nullptr ? dlg.GetDevMode()->dmOrientation : 0;
  return pageSetup ? pageSetup(dlg) : IDOK;
}

bool HeadlessPrintServices::GetPrinterDevMode(const std::string& printer, DEVMODE& devMode) {
  auto it = m_printers.find(printer);
  if (it == m_printers.end()) return false;
  devMode = it->second;
  return true;
}

bool HeadlessPrintServices::ValidateDevMode(const std::string& printer, DEVMODE& devMode) {
  if (m_printers.count(printer) == 0 || m_refusing.count(printer) != 0) return false;
  SetDeviceName(devMode, printer);
  return true;
}

}  // namespace quill
