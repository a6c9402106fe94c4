#include "dialogs/resizable_dialog.h"

#include <algorithm>

namespace quill {

CPoint TResizableLayout::AnchorPoint(const CRect& client, CSize type) {
  return CPoint(client.left + client.Width() * type.cx / 100,
                client.top + client.Height() * type.cy / 100);
}

void TResizableLayout::AddAnchor(int nID, CSize sizeTypeTL, CSize sizeTypeBR) {
  IDialogHost* pWnd = GetResizableWnd();
  if (pWnd == nullptr) return;
  RemoveAnchor(nID);
  const CRect client = pWnd->GetClientRect();
  const CRect rect = pWnd->GetDlgItemRect(nID);
  const CPoint tl = AnchorPoint(client, sizeTypeTL);
  Anchor anchor{nID, sizeTypeTL, sizeTypeBR, CSize(rect.left - tl.x, rect.top - tl.y), CSize()};
  if (sizeTypeBR == NOANCHOR) {
    anchor.marginBR = CSize(rect.Width(), rect.Height());
  } else {
    const CPoint br = AnchorPoint(client, sizeTypeBR);
    anchor.marginBR = CSize(rect.right - br.x, rect.bottom - br.y);
  }
  m_anchors.push_back(anchor);
}

void TResizableLayout::RemoveAnchor(int nID) {
  m_anchors.erase(std::remove_if(m_anchors.begin(), m_anchors.end(),
                                 [nID](const Anchor& a) { return a.nID == nID; }),
                  m_anchors.end());
}

void TResizableLayout::ArrangeLayout() {
  IDialogHost* pWnd = GetResizableWnd();
  if (pWnd == nullptr) return;
  const CRect client = pWnd->GetClientRect();
  for (const Anchor& anchor : m_anchors) {
    const CPoint tl = AnchorPoint(client, anchor.typeTL);
    CRect rect(tl.x + anchor.marginTL.cx, tl.y + anchor.marginTL.cy, 0, 0);
    if (anchor.typeBR == NOANCHOR) {
      rect.right = rect.left + anchor.marginBR.cx;
      rect.bottom = rect.top + anchor.marginBR.cy;
    } else {
      const CPoint br = AnchorPoint(client, anchor.typeBR);
      rect.right = br.x + anchor.marginBR.cx;
      rect.bottom = br.y + anchor.marginBR.cy;
    }
    pWnd->MoveDlgItem(anchor.nID, rect);
  }
}

int TResizableDialog::OnInitDialog() {
  if (IDialogHost* pHost = GetHost()) {
    const CRect client = pHost->GetClientRect();
    m_sizeMin = CSize(client.Width(), client.Height());
  }
  return 1;
}

void TResizableDialog::OnSize(unsigned, int, int) { ArrangeLayout(); }

void TResizableDialog::OnSize(IDialogHost& host, int cx, int cy) {
  SetHost(&host);
  OnSize(0, cx, cy);
}

}  // namespace quill
