#include "dialogs/color_picker.h"

#include <algorithm>
#include <cstring>

#include "dialogs/text_style_page.h"
#include "platform/app_services.h"
#include "platform/ascii.h"
#include "platform/common_dialogs.h"
#include "platform/display.h"
#include "platform/gdi.h"

namespace quill {

namespace {

// The grey-text colour of the classic system colour table, used for disabled items.
constexpr int kDisabledTextColor = 19;

std::string NameOf(const TColorAndName& entry) {
  return std::string(entry.m_name, strnlen(entry.m_name, sizeof entry.m_name));
}

void FrameRect(CDC* dc, const CRect& r, COLORREF color) {
  dc->FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), color);
  dc->FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), color);
  dc->FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), color);
  dc->FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), color);
}

// The dotted focus frame, drawn every other pixel.
void DrawFocusRect(CDC* dc, const CRect& r, COLORREF color) {
  for (int x = r.left; x < r.right; x += 2) {
    dc->FillSolidRect(CRect(x, r.top, x + 1, r.top + 1), color);
    dc->FillSolidRect(CRect(x, r.bottom - 1, x + 1, r.bottom), color);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    dc->FillSolidRect(CRect(r.left, y, r.left + 1, y + 1), color);
    dc->FillSolidRect(CRect(r.right - 1, y, r.right, y + 1), color);
  }
}

}  // namespace

TColorPicker::TColorPicker(COLORING coloring) : m_coloring(coloring) {
  static const struct {
    COLORREF color;
    const char* name;
  } kTable[kColorCount] = {
      {0xFFFFFF, "Automatic"}, {0x000000, "Black"},  {0x000080, "Maroon"},
      {0x008000, "Green"},     {0x008080, "Olive"},  {0x800000, "Navy"},
      {0x800080, "Purple"},    {0x808000, "Teal"},   {0x808080, "Grey"},
      {0xC0C0C0, "Silver"},    {0x0000FF, "Red"},    {0x00FF00, "Lime"},
      {0x00FFFF, "Yellow"},    {0xFF0000, "Blue"},   {0xFF00FF, "Fushcia"},
      {0xFFFF00, "Aqua"},      {0xFFFFFF, "White"},  {0xFFFFFF, "Custom..."},
  };
  for (int i = 0; i < kColorCount; ++i) m_colors[i] = TColorAndName(kTable[i].color, kTable[i].name);
}

COLORREF TColorPicker::AutomaticColor() const {
  switch (m_coloring) {
    case TEXT_COLOR: return GetSysColor(COLOR_WINDOWTEXT);
    case BACKGROUND_COLOR: return GetSysColor(COLOR_WINDOW);
  }
  return 0xFFFFFF;
}

void TColorPicker::Initialize() {
  if (m_bInitialized || m_pHost == nullptr) return;
  for (int i = 0; i < kColorCount; ++i) {
    const int index = AddString(NameOf(m_colors[i]));
    if (index < 0) break;
    SetItemData(index, i == 0 ? AutomaticColor() : m_colors[i].m_color);
  }
  m_bInitialized = true;
}

void TColorPicker::PreSubclassWindow() {
  Initialize();
  SetCurSel(0);
}

unsigned long TColorPicker::GetSelectedColorValue() {
  const int sel = GetCurSel();
  return sel == CB_ERR ? 0 : GetItemData(sel);
}

std::string TColorPicker::GetSelectedColorName() {
  const int sel = GetCurSel();
  m_strSelectedName = sel == CB_ERR ? std::string() : GetText(sel);
  return m_strSelectedName;
}

unsigned long TColorPicker::GetColorValue(int index) const {
  return index < 0 || index >= GetCount() ? 0 : GetItemData(index);
}

std::string TColorPicker::GetColorName(int index) {
  return index < 0 || index >= GetCount() ? std::string() : GetText(index);
}

void TColorPicker::SetSelectedColorValue(unsigned long color) {
  for (int i = GetCount() - 1; i >= 0; --i) {
    if (GetItemData(i) == color) {
      SetCurSel(i);
      return;
    }
  }
}

void TColorPicker::SetSelectedColorName(const char* name) {
  if (name == nullptr) return;
  for (int i = GetCount() - 1; i >= 0; --i) {
    if (EqualsNoCase(GetText(i), name)) {
      SetCurSel(i);
      return;
    }
  }
}

bool TColorPicker::RemoveColor(const char* name) {
  if (name == nullptr) return false;
  for (int i = 0, n = GetCount(); i < n; ++i) {
    if (EqualsNoCase(GetText(i), name)) return DeleteString(i) != CB_ERR;
  }
  return false;
}

bool TColorPicker::RemoveColor(unsigned long color) {
  for (int i = 0, n = GetCount(); i < n; ++i) {
    if (GetItemData(i) == color) return DeleteString(i) != CB_ERR;
  }
  return false;
}

int TColorPicker::AddColor(const char* name, unsigned long color) {
  if (name == nullptr) return CB_ERR;
  const int index = AddString(name);
  if (index < 0) return CB_ERR;
  SetItemData(index, color);
  return index;
}

int TColorPicker::SetCurColor(const unsigned long& color) {
  if (color == AutomaticColor()) return SetCurSel(0);
  // The search includes the custom entry itself.
  for (int i = GetCount() - 1; i >= 0; --i) {
    if (GetItemData(i) == color) {
      SetCustomColor(GetSysColor(COLOR_WINDOW));
      return SetCurSel(i);
    }
  }
  SetCustomColor(color);
  return SetCurSel(kCustomIndex);
}

int TColorPicker::SetCustomColor(const unsigned long& color) {
  SetItemData(kCustomIndex, color);
  return kCustomIndex;
}

void TColorPicker::OnSelchange() {
  if (GetCurSel() == kCustomIndex) {
    CColorDialog dlg(static_cast<COLORREF>(GetItemData(kCustomIndex)), CC_FULLOPEN);
    if (dlg.DoModal() == IDOK) SetCustomColor(dlg.GetColor());
  }
  if (m_pOwnerPage != nullptr) m_pOwnerPage->UpdateStyle();
}

void TColorPicker::DrawItem(DRAWITEMSTRUCT* pDIS) {
  if (pDIS == nullptr || pDIS->pDC == nullptr) return;
  CDC* dc = pDIS->pDC;
  const CRect& rc = pDIS->rcItem;
  COLORREF text, back;
  if (pDIS->itemState & ODS_SELECTED) {
    text = ~GetSysColor(COLOR_WINDOWTEXT) & 0x00FFFFFF;
    back = GetSysColor(COLOR_HIGHLIGHT);
  } else {
    text = GetSysColor(COLOR_WINDOWTEXT);
    back = GetSysColor(COLOR_WINDOW);
  }
  dc->FillSolidRect(rc, back);
  if (pDIS->itemState & ODS_FOCUS) DrawFocusRect(dc, rc, text);
  if (pDIS->itemID < 0 || pDIS->itemID >= GetCount()) return;

  COLORREF swatchColor = static_cast<COLORREF>(pDIS->itemData);
  if (pDIS->itemState & ODS_DISABLED) {
    swatchColor = GetSysColor(kDisabledTextColor);
    text = swatchColor;
  }
  CRect swatch = rc;
  swatch.DeflateRect(2, 2);
  swatch.right = rc.left + rc.Width() / 4;
  // Devices place text by fixed cells: the name is written in a fixed-pitch font that fits
  // the item.
  LOGFONT lf;
  lf.lfHeight = -std::clamp(rc.Height() * 3 / 4, 8, 16);
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strcpy(lf.lfFaceName, "Courier New");
  CFont font;
  font.CreateFontIndirect(lf);
  const CFont* oldFont = dc->SelectObject(&font);
  const COLORREF oldText = dc->SetTextColor(text);
  const COLORREF oldBack = dc->SetBkColor(back);
  const std::string name = GetText(pDIS->itemID);
  dc->ExtTextOut(rc.left + rc.Width() / 4 + 2, rc.top + 2, ETO_CLIPPED, &rc, name);
  dc->SetTextColor(oldText);
  dc->SetBkColor(oldBack);
  dc->SelectObject(oldFont);
  if (!swatch.IsRectEmpty()) {
    dc->FillSolidRect(swatch, swatchColor);
    FrameRect(dc, swatch, RGB(0, 0, 0));
  }
}

}  // namespace quill
