// QuillView: printing and page setup. Plain text in a fixed-pitch printer font made from
// the style's font, tabs expanded, lines wrapped at word boundaries inside the text
// rectangle (the page less the margins of the document type and the header and footer
// bands), whole lines per page. Also the framework's side of a print job: the print
// dialog, the page loop and the preview window.

#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/app_services.h"
#include "platform/display.h"
#include "platform/document.h"
#include "platform/format.h"
#include "settings/page_margins.h"
#include "style/document_style.h"
#include "view/quill_view.h"

namespace quill {

namespace {

constexpr unsigned kLineFormat = DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

// ---- the framework's print commands ----

int QuillView::DoPreparePrinting(CPrintInfo* pInfo) {
  return pInfo != nullptr && GetPrintServices().DoPreparePrinting(*pInfo) ? 1 : 0;
}

int QuillView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void QuillView::OnFilePrint() {
  CPrintInfo info;
  RunPrintJob(info);
}

void QuillView::OnFilePrintPreview() {
  CPrintInfo info;
  info.m_bPreview = true;
  if (OnPreparePrinting(&info) == 0) return;
  const std::string title = m_pDocument != nullptr ? m_pDocument->GetTitle() : std::string();
  GetPrintServices().RunPrintPreview(m_pWnd, title, [this](CDC& dc, CPrintInfo& job) {
    PrintPages(&dc, &job);
  });
}

bool QuillView::PrintToFile(const std::string& strPath) {
  CPrintInfo info;
  info.m_bDirect = true;
  info.m_strOutputFile = strPath;
  return RunPrintJob(info);
}

bool QuillView::RunPrintJob(CPrintInfo& info) {
  if (OnPreparePrinting(&info) == 0) return false;
  std::unique_ptr<CDC> dc = GetPrintServices().CreatePrinterDC(info);
  if (dc == nullptr) {
    AfxMessageBox("The printer could not be opened.", MB_OK | MB_ICONERROR);
    return false;
  }
  return PrintPages(dc.get(), &info);
}

bool QuillView::PrintPages(CDC* pdc, CPrintInfo* pInfo) {
  const std::string title = m_pDocument != nullptr ? m_pDocument->GetTitle() : std::string();
  if (pdc->StartDoc(title) < 0) {
    AfxMessageBox("The document could not be printed.", MB_OK | MB_ICONERROR);
    return false;
  }
  OnBeginPrinting(pdc, pInfo);
  bool ok = true;
  // The highest page is unknown until the first page's layout sets it.
  for (pInfo->m_nCurPage = pInfo->GetFromPage(); pInfo->m_nCurPage <= pInfo->GetToPage();
       ++pInfo->m_nCurPage) {
    OnPrepareDC(pdc, pInfo);
    if (!pInfo->m_bContinuePrinting) break;
    if (pdc->StartPage() <= 0) {
      ok = false;
      break;
    }
    pInfo->m_rectDraw = CRect(0, 0, pdc->GetDeviceCaps(HORZRES), pdc->GetDeviceCaps(VERTRES));
    OnPrint(pdc, pInfo);
    if (pdc->EndPage() <= 0) {
      ok = false;
      break;
    }
  }
  OnEndPrinting(pdc, pInfo);
  if (ok) {
    ok = pdc->EndDoc() > 0;
  } else {
    pdc->AbortDoc();
  }
  if (!ok) AfxMessageBox("The document could not be printed.", MB_OK | MB_ICONERROR);
  return ok;
}

// ---- the view's part of a print job ----

void QuillView::OnBeginPrinting(CDC* pdc, CPrintInfo*) {
  LOGFONT lf = m_lfBaseFont;
  if (m_pStyle != nullptr) m_pStyle->GetFont(lf);
  lf.lfHeight = -MulDiv(lf.lfHeight, pdc->GetDeviceCaps(LOGPIXELSY), 72);
  lf.lfWidth = 0;
  lf.lfOrientation = 0;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = 0;
  lf.lfUnderline = 0;
  lf.lfStrikeOut = 0;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = 2;   // character precision
  lf.lfClipPrecision = 0;
  lf.lfQuality = 2;        // proof
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  if (m_pStyle != nullptr) {
    const std::string name = m_pStyle->GetFontName();
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    std::strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  }
  m_pPrinterFont = std::make_unique<CFont>();
  if (m_pPrinterFont->CreateFontIndirect(lf)) {
    pdc->SelectObject(m_pPrinterFont.get());
  } else {
    m_pPrinterFont.reset();
  }
  pdc->SetTextColor(RGB(0, 0, 0));
  pdc->SetBkColor(RGB(255, 255, 255));
}

DEVMODE* QuillView::ChangeDevMode(Window*, const char* pDevice, short nOrientation) {
  if (pDevice == nullptr) return nullptr;
  IPrintServices& services = GetPrintServices();
  DEVMODE current;
  if (!services.GetPrinterDevMode(pDevice, current)) return nullptr;
  auto* block = static_cast<DEVMODE*>(std::malloc(sizeof(DEVMODE)));
  if (block == nullptr) return nullptr;
  std::memcpy(static_cast<void*>(block), &current, sizeof(DEVMODE));
  if ((block->dmFields & DM_ORIENTATION) != 0) block->dmOrientation = nOrientation;
  if (!services.ValidateDevMode(pDevice, *block)) {
    std::free(block);
    return nullptr;
  }
  return block;
}

void QuillView::OnPrepareDC(CDC* pdc, CPrintInfo* pInfo) {
  if (pdc != nullptr && pdc->IsPrinting() && pInfo != nullptr && pInfo->m_pPD != nullptr) {
    const std::string device = pInfo->m_pPD->GetDeviceName();
    if (!device.empty()) {
      const DEVMODE* chosen = pInfo->m_pPD->GetDevMode();
      const short orientation = chosen != nullptr ? chosen->dmOrientation : DMORIENT_PORTRAIT;
      if (DEVMODE* devMode = ChangeDevMode(m_pWnd, device.c_str(), orientation)) {
        pdc->ResetDC(devMode);
        std::free(devMode);
      }
    }
  }
  if (pInfo == nullptr) return;
  // Printing goes on until the page count of the layout is passed.
  pInfo->m_bContinuePrinting =
      m_pPageFirstLines == nullptr || static_cast<int>(pInfo->m_nCurPage) <= m_nPageCount;
}

void QuillView::RecalcPageLayouts(CDC* pdc, CPrintInfo* pInfo) {
  CRect page = pInfo->m_rectDraw;
  if (page.left > page.right) std::swap(page.left, page.right);
  if (page.top > page.bottom) std::swap(page.top, page.bottom);
  m_nPrinterLineHeight = pdc->GetTextExtent("X").cy;

  const CRect margins = m_pStyle != nullptr ? ReadPageMargins(m_pStyle->GetProfileName())
                                            : CRect(kDefaultPageMargin, kDefaultPageMargin,
                                                    kDefaultPageMargin, kDefaultPageMargin);
  CSize topLeft(margins.left, margins.top);
  CSize bottomRight(margins.right, margins.bottom);
  pdc->HIMETRICtoLP(&topLeft);
  pdc->HIMETRICtoLP(&bottomRight);
  m_rcPrintText = page;
  m_rcPrintText.left += topLeft.cx;
  m_rcPrintText.top += topLeft.cy;
  m_rcPrintText.right -= bottomRight.cx;
  m_rcPrintText.bottom -= bottomRight.cy;
  const int h = m_nPrinterLineHeight;
  if (m_bShowPrintHeader) m_rcPrintText.top += h + h / 2;
  if (m_bShowPrintFooter) m_rcPrintText.bottom -= h + h / 2;

  auto pages = std::make_unique<std::vector<int>>();
  pages->reserve(32);
  pages->push_back(0);
  const int nLineCount = GetLineCount();
  int y = m_rcPrintText.top + PrintLineHeight(pdc, 0);
  for (int nLine = 1; nLine < nLineCount; ++nLine) {
    const int nHeight = PrintLineHeight(pdc, nLine);
    y += nHeight;
    if (y > m_rcPrintText.bottom) {
      if (pages->size() == pages->capacity()) pages->reserve(pages->capacity() + 32);
      pages->push_back(nLine);
      y = m_rcPrintText.top + nHeight;
    }
  }
  m_pPageFirstLines = std::move(pages);
  m_nPageCount = static_cast<int>(m_pPageFirstLines->size());
  pInfo->SetMaxPage(static_cast<unsigned>(m_nPageCount));
}

// The line's text with its tabs expanded to spaces (never the visible tab marks).
static void ExpandForPrint(QuillView& view, bool& bViewTabs, const char* pszChars, int nLength,
                           std::string& text) {
  const bool bSaved = bViewTabs;
  bViewTabs = false;
  view.ExpandChars(pszChars, 0, nLength, text);
  bViewTabs = bSaved;
}

int QuillView::PrintLineHeight(CDC* pdc, int nLine) {
  const int nLength = GetLineLength(nLine);
  if (nLength == 0) return m_nPrinterLineHeight;
  ExpandForPrint(*this, m_bViewTabs, GetLineChars(nLine), nLength, m_strExpand);
  CRect rc(m_rcPrintText.left, 0, m_rcPrintText.right, 0);
  const int nOldEncoding = pdc->SetTextEncoding(GetTextEncoding());
  const int nHeight = pdc->DrawText(m_strExpand, rc, DT_CALCRECT | kLineFormat);
  pdc->SetTextEncoding(nOldEncoding);
  return nHeight;
}

void QuillView::OnPrint(CDC* pdc, CPrintInfo* pInfo) {
  if (m_pPageFirstLines == nullptr) RecalcPageLayouts(pdc, pInfo);
  const int nPage = static_cast<int>(pInfo->m_nCurPage);
  if (nPage < 1 || nPage > m_nPageCount) return;
  const std::vector<int>& firstLines = *m_pPageFirstLines;
  const int nFirst = firstLines[static_cast<std::size_t>(nPage - 1)];
  const int nEnd =
      nPage < m_nPageCount ? firstLines[static_cast<std::size_t>(nPage)] : GetLineCount();

  if (m_bShowPrintHeader) PrintHeader(pdc, nPage);
  if (m_bShowPrintFooter) PrintFooter(pdc, nPage);

  int y = m_rcPrintText.top;
  // The text in the document's encoding; headers and footers stay as they were.
  const int nOldEncoding = pdc->SetTextEncoding(GetTextEncoding());
  for (int nLine = nFirst; nLine < nEnd; ++nLine) {
    const int nLength = GetLineLength(nLine);
    if (nLength == 0) {
      y += m_nPrinterLineHeight;
      continue;
    }
    ExpandForPrint(*this, m_bViewTabs, GetLineChars(nLine), nLength, m_strExpand);
    CRect rc(m_rcPrintText.left, y, m_rcPrintText.right, m_rcPrintText.bottom);
    y += pdc->DrawText(m_strExpand, rc, kLineFormat);
  }
  pdc->SetTextEncoding(nOldEncoding);
}

void QuillView::OnEndPrinting(CDC* pdc, CPrintInfo*) {
  if (pdc != nullptr && m_pPrinterFont != nullptr) pdc->SelectObject(static_cast<const CFont*>(nullptr));
  m_pPrinterFont.reset();
  m_pPageFirstLines.reset();
  m_nPageCount = 0;
  m_nPrinterLineHeight = 0;
}

// ---- header and footer bands ----

void QuillView::GetPrintHeaderText(int, std::string& text) { text.clear(); }

void QuillView::GetPrintFooterText(int nPageNum, std::string& text) {
  text = Format("Page %d/%d", nPageNum, m_nPageCount);
}

void QuillView::PrintHeader(CDC* pdc, int nPageNum) {
  std::string text;
  GetPrintHeaderText(nPageNum, text);
  if (text.empty()) return;
  const int h = m_nPrinterLineHeight;
  CRect rc(m_rcPrintText.left, m_rcPrintText.top - (h + h / 2), m_rcPrintText.right,
           m_rcPrintText.top);
  pdc->DrawText(text, rc, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void QuillView::PrintFooter(CDC* pdc, int nPageNum) {
  std::string text;
  GetPrintFooterText(nPageNum, text);
  if (text.empty()) return;
  const int h = m_nPrinterLineHeight;
  CRect rc(m_rcPrintText.left, m_rcPrintText.bottom, m_rcPrintText.right,
           m_rcPrintText.bottom + h + h / 2);
  pdc->DrawText(text, rc, DT_CENTER | DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX);
}

// ---- page setup ----

void QuillView::OnFilePageSetup() {
  CPageSetupDialog dlg(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS, m_pWnd);
  if (DEVMODE* devMode = dlg.GetDevMode()) devMode->dmOrientation = m_nPageOrientation;
  dlg.m_psd.Flags |= PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
  dlg.m_psd.rtMargin = CRect(kDefaultPageMargin, kDefaultPageMargin, kDefaultPageMargin,
                             kDefaultPageMargin);
  if (m_pStyle != nullptr) dlg.m_psd.rtMargin = ReadPageMargins(m_pStyle->GetProfileName());
  if (dlg.DoModal() != IDOK || m_pStyle == nullptr) return;
  WritePageMargins(m_pStyle->GetProfileName(), dlg.m_psd.rtMargin);
  if (const DEVMODE* devMode = dlg.GetDevMode()) m_nPageOrientation = devMode->dmOrientation;
}

}  // namespace quill
