// QuillView: what the view takes from its style (tab size, font, colours) and the style's
// end of life.

#include <algorithm>
#include <cstring>

#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "platform/display.h"
#include "platform/document.h"
#include "platform/window.h"
#include "style/document_style.h"
#include "view/column_index.h"
#include "view/quill_view.h"
#include "view/text_document.h"

namespace quill {

void QuillView::ApplyStyleToView() {
  if (m_pStyle == nullptr) {
    m_nTabSize = 3;
    return;
  }
  m_nTabSize = ClampTabSize(m_pStyle->GetTabSize());
  LOGFONT lf;
  m_pStyle->GetFont(lf);
  m_lfBaseFont.lfHeight = lf.lfHeight;
  m_lfBaseFont.lfWidth = 0;
  m_lfBaseFont.lfEscapement = 0;
  m_lfBaseFont.lfOrientation = 0;
  m_lfBaseFont.lfWeight = lf.lfWeight;
  m_lfBaseFont.lfItalic = lf.lfItalic;
  m_lfBaseFont.lfUnderline = 0;
  m_lfBaseFont.lfStrikeOut = 0;
  m_lfBaseFont.lfCharSet = lf.lfCharSet;
  m_lfBaseFont.lfOutPrecision = lf.lfOutPrecision;
  m_lfBaseFont.lfClipPrecision = lf.lfClipPrecision;
  m_lfBaseFont.lfQuality = lf.lfQuality;
  m_lfBaseFont.lfPitchAndFamily = lf.lfPitchAndFamily;
  const std::string name = m_pStyle->GetFontName();
  std::memset(m_lfBaseFont.lfFaceName, 0, sizeof m_lfBaseFont.lfFaceName);
  std::strncpy(m_lfBaseFont.lfFaceName, name.c_str(), LF_FACESIZE - 1);
}

COLORREF QuillView::GetColor(int nColorIndex) {
  switch (nColorIndex) {
    case 3: return RGB(230, 230, 230);
    case 4:
    case 8: return RGB(0, 0, 0);
    case 5: return RGB(255, 255, 255);
    default: break;
  }
  if (m_pStyle == nullptr) {
    switch (nColorIndex) {
      case 0:
      case 1:
      case 6:
      case 7:
      case 10:
      case 17:
      case 23:
      case 24:
      case 26:
      case 27: return GetSysColor(COLOR_WINDOW);
      default: break;
    }
    if (nColorIndex >= 512 && nColorIndex < 768) return GetSysColor(COLOR_WINDOW);
    return GetSysColor(COLOR_WINDOWTEXT);
  }
  switch (nColorIndex) {
    case 0:
    case 1:
    case 17: return m_pStyle->GetDefaultColor(0, 0);
    case 2: return m_pStyle->GetDefaultColor(1, 0);
    case 6: return m_pStyle->GetCommentsColor(1, 0);
    case 7: return m_pStyle->GetNumbersColor(1, 0);
    case 10: return m_pStyle->GetPreprocessorColor(1, 0);
    case 23: return m_pStyle->GetCommentsColor(0, 0);
    case 24: return m_pStyle->GetNumbersColor(0, 0);
    case 26: return m_pStyle->GetStringColor(0, 0);
    case 27: return m_pStyle->GetPreprocessorColor(0, 0);
    default: break;
  }
  if (nColorIndex >= 256 && nColorIndex < 512) return m_pStyle->GetKeywordColor(nColorIndex, 1, 0);
  if (nColorIndex >= 512 && nColorIndex < 768) return m_pStyle->GetKeywordColor(nColorIndex, 0, 0);
  return m_pStyle->GetStringColor(1, 0);
}

int QuillView::GetColumnPos(const CPoint& pt) {
  if (m_pStyle == nullptr) return pt.x;
  if (pt.x < 1) return 0;
  const char* pszChars = pt.y >= 0 && pt.y < GetLineCount() ? GetLineChars(pt.y) : nullptr;
  if (pszChars == nullptr) return pt.x;
  const int nTabSize = m_pStyle->GetTabSize() > 0 ? m_pStyle->GetTabSize() : 1;
  const int nCount = pt.x < GetLineLength(pt.y) ? pt.x : GetLineLength(pt.y);
  // The status bar asks after every key: on a long line the view's column index answers
  // without a walk from the line's start, when the view expands tabs as the style does.
  if (nTabSize == std::max(GetTabSize(), 1)) return CalculateActualOffset(pt.y, nCount);
  return AdvanceTextColumns(IsUtf8Text(), pszChars, GetLineLength(pt.y), 0, nCount, 0, nTabSize);
}

void QuillView::DeleteStyle() {
  if (m_pStyle == nullptr) return;
  if (m_pStyle->IsModified()) m_pStyle->SaveSettings(nullptr);
  m_pStyle.reset();
}

bool QuillView::RenewStyle() {
  DeleteStyle();
  TDocumentStyle* pStyle = CreateStyle();
  if (pStyle != m_pStyle.get()) m_pStyle.reset(pStyle);
  return m_pStyle != nullptr;
}

void ApplyStyleToOpenViews(const TDocumentStyle& style) {
  for (CDocument* pDocument : AfxGetOpenDocuments()) {
    auto* pTextDoc = dynamic_cast<ITextDocument*>(pDocument);
    if (pTextDoc == nullptr || !pTextDoc->IsPlainTextDocument()) continue;
    // The list is copied: a view may detach while it repaints.
    const std::vector<ITextBufferListener*> listeners = pTextDoc->GetTextBuffer().GetViews();
    for (ITextBufferListener* pListener : listeners) {
      auto* pView = dynamic_cast<QuillView*>(pListener);
      if (pView == nullptr) continue;
      TDocumentStyle* pStyle = pView->GetTextStyle();
      if (pStyle == nullptr || pStyle->GetDocumentType() != style.GetDocumentType()) continue;
      *pStyle = style;
      pView->UpdateView(nullptr, nullptr, UPDATE_FLAG_RESET, -1);
      if (Window* pWnd = pView->GetWindow()) {
        pWnd->InvalidateRect(nullptr, true);
        pWnd->UpdateWindow();
      }
    }
  }
}

}  // namespace quill
