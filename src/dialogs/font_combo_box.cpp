#include "dialogs/font_combo_box.h"

#include <algorithm>
#include <vector>

#include "platform/ascii.h"
#include "platform/control_services.h"

namespace quill {
namespace {

std::string Lower(const std::string& text) { return AsciiLower(text); }

}  // namespace

void TFontComboBox::FillFonts() {
  if (m_pHost == nullptr) return;
  const std::string selected = GetSelectedFont();
  std::vector<FontInfo> fonts = GetFontList().GetInstalledFonts();
  std::stable_sort(fonts.begin(), fonts.end(), [](const FontInfo& a, const FontInfo& b) {
    return Lower(a.name) < Lower(b.name);
  });
  ResetContent();
  std::string last;
  for (const FontInfo& font : fonts) {
    if (font.name.empty() || Lower(font.name) == last) continue;
    last = Lower(font.name);
    const int nIndex = AddString(font.name);
    SetItemData(nIndex, font.fixedPitch ? 1 : 0);
  }
  if (!selected.empty()) SelectFont(selected);
}

bool TFontComboBox::SelectFont(const std::string& name) {
  const std::string wanted = Lower(name);
  for (int i = 0, n = GetCount(); i < n; ++i) {
    if (Lower(GetText(i)) == wanted) return SetCurSel(i) == i;
  }
  return false;
}

std::string TFontComboBox::GetSelectedFont() const {
  const int nSel = GetCurSel();
  return nSel == CB_ERR ? std::string() : GetText(nSel);
}

}  // namespace quill
