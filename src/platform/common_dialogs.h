#pragma once
// The desktop's colour and font dialogs. The core describes what it asks (CColorDialog,
// CFontDialog); the installed CommonDialogs shows it. Without a backend the fallback
// answers (platform/platform_services.h).

#include <memory>
#include <optional>

#include "platform/types.h"

namespace quill {

// Colour dialog options.
constexpr unsigned CC_RGBINIT = 0x00000001;
constexpr unsigned CC_FULLOPEN = 0x00000002;
// Font dialog options.
constexpr unsigned CF_SCREENFONTS = 0x00000001;
constexpr unsigned CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr unsigned CF_FIXEDPITCHONLY = 0x00004000;

struct ColorDialogRequest {
  COLORREF initial = 0;
  unsigned flags = 0;  // CC_* options
};

struct FontDialogRequest {
  LOGFONT initial;
  unsigned flags = 0;  // CF_* options; CF_FIXEDPITCHONLY offers fixed-pitch fonts only
};

class CommonDialogs {
 public:
  virtual ~CommonDialogs() = default;
  // The chosen colour, or nothing when the user cancels.
  virtual std::optional<COLORREF> ChooseColor(const ColorDialogRequest& request) = 0;
  // The chosen font, or nothing when the user cancels.
  virtual std::optional<LOGFONT> ChooseFont(const FontDialogRequest& request) = 0;
};

// Installs the dialogs used from now on; null restores the fallback.
void InstallCommonDialogs(std::shared_ptr<CommonDialogs> dialogs);
CommonDialogs& CurrentCommonDialogs();

// The framework's colour dialog: preset with a colour, IDOK or IDCANCEL from DoModal.
class CColorDialog {
 public:
  explicit CColorDialog(COLORREF clrInit = 0, unsigned dwFlags = 0)
      : m_color(clrInit), m_dwFlags(dwFlags | CC_RGBINIT) {}
  virtual ~CColorDialog() = default;
  virtual int DoModal();
  COLORREF GetColor() const { return m_color; }

 private:
  COLORREF m_color;
  unsigned m_dwFlags;
};

// The framework's font dialog: preset with a font record, IDOK or IDCANCEL from DoModal.
class CFontDialog {
 public:
  explicit CFontDialog(const LOGFONT* plfInitial = nullptr,
                       unsigned dwFlags = CF_SCREENFONTS);
  virtual ~CFontDialog() = default;
  virtual int DoModal();
  void GetCurrentFont(LOGFONT* plf) const { *plf = m_lf; }
  const LOGFONT& GetLogFont() const { return m_lf; }

 private:
  LOGFONT m_lf;
  unsigned m_dwFlags;
};

}  // namespace quill
