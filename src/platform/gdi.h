#pragma once
// The drawing surface the view paints through: a device context with fonts, colours,
// solid fills, clipped text output, compatible memory surfaces and bitmaps, block copies
// and image-list glyphs. One renderer serves the screen and the printer; a backend (or the
// headless recorder) implements CDC and CBitmap.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"
#include "platform/types.h"

namespace quill {

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;

// Device capabilities.
constexpr int HORZSIZE = 4;          // millimetres
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;           // printable width in device units
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;   // the whole sheet
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112; // the printable area's place on the sheet
constexpr int PHYSICALOFFSETY = 113;

struct DEVMODE;

// Image-list drawing styles.
constexpr unsigned ILD_NORMAL = 0x0000;
constexpr unsigned ILD_TRANSPARENT = 0x0001;

// A logical font: the record it was created from. Fonts do not belong to a device; a
// device maps the record to its own font when the font is selected into it.
class CFont {
 public:
  CFont() = default;
  // Fails (and leaves the font empty) for a record whose face name is not terminated
  // inside its field or whose height is absurd.
  bool CreateFontIndirect(const LOGFONT& lf);
  void DeleteObject() { m_bCreated = false; }
  bool IsCreated() const { return m_bCreated; }
  const LOGFONT& GetLogFont() const { return m_lf; }

 private:
  LOGFONT m_lf;
  bool m_bCreated = false;
};

// A picture held in memory, 0x00BBGGRR per pixel, row after row.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A bitmap compatible with some device: what a memory device draws into.
class CBitmap {
 public:
  virtual ~CBitmap() = default;
  virtual CSize GetSize() const = 0;
};

class CImageList;

class CDC {
 public:
  virtual ~CDC() = default;

  // A memory device of the same kind, with no bitmap selected.
  virtual std::unique_ptr<CDC> CreateCompatibleDC() = 0;
  // A bitmap of cx x cy pixels that a compatible memory device can draw into.
  virtual std::unique_ptr<CBitmap> CreateCompatibleBitmap(int cx, int cy) = 0;

  // Selection returns what was selected before (null for the device's stock object).
  virtual CBitmap* SelectObject(CBitmap* bitmap) = 0;
  // The selected font and the two colours are plain device state, kept here for every
  // kind of device; drawing operations read them.
  virtual const CFont* SelectObject(const CFont* font) {
    const CFont* previous = m_font;
    m_font = font;
    return previous;
  }

  virtual COLORREF SetTextColor(COLORREF color) {
    const COLORREF previous = m_text;
    m_text = color;
    return previous;
  }
  COLORREF GetTextColor() const { return m_text; }
  virtual COLORREF SetBkColor(COLORREF color) {
    const COLORREF previous = m_bk;
    m_bk = color;
    return previous;
  }
  COLORREF GetBkColor() const { return m_bk; }

  // How the bytes of text are read, plain device state like the colours: Windows-1252
  // (each byte one character in one cell) or UTF-8 (each character in its cells: two for
  // East Asian wide ones, none for combining marks, which go on the character before).
  int SetTextEncoding(int nEncoding) {
    const int previous = m_nTextEncoding;
    m_nTextEncoding = nEncoding;
    return previous;
  }
  int GetTextEncoding() const { return m_nTextEncoding; }
  // The cells text takes in the device's encoding.
  int TextCells(std::string_view text) const {
    if (m_nTextEncoding != ENCODING_UTF8 || IsAscii(text.data(), text.size()))
      return static_cast<int>(text.size());
    return Utf8AdvanceColumns(text.data(), static_cast<int>(text.size()), 0, static_cast<int>(text.size()), 0, 1);
  }

  virtual void FillSolidRect(const CRect& rect, COLORREF color) = 0;
  // Draws the bytes at (x, y) in the selected font and text colour; the cells get the
  // background colour. With ETO_CLIPPED nothing reaches outside rect.
  virtual bool ExtTextOut(int x, int y, unsigned options, const CRect* rect,
                          std::string_view text) = 0;
  // Width and height of the text in the selected font.
  virtual CSize GetTextExtent(std::string_view text) = 0;
  // Copies cx x cy pixels from (xSrc, ySrc) of src to (x, y) of this device.
  virtual bool BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc) = 0;
  // Draws the part `source` of an image at pt; pixels of `transparent` colour are skipped
  // when `useTransparent` is set.
  virtual void DrawImage(const PixelImage& image, const CRect& source, CPoint pt,
                         bool useTransparent, COLORREF transparent) = 0;

  virtual bool IsPrinting() const { return false; }
  // The part of the device that needs painting (a paint's invalid area); drawing outside
  // it is lost anyway.
  virtual CRect GetClipBox() const { return CRect(-(1 << 30), -(1 << 30), 1 << 30, 1 << 30); }

  // ---- Text blocks and printer devices ----
  // Formats text in rect (DT_* flags) and returns the height of the
  // text, or with DT_VCENTER or DT_BOTTOM the offset from rect.top to its bottom. With
  // DT_CALCRECT nothing is drawn and rect is made to bound the text.
  int DrawText(std::string_view text, CRect& rect, unsigned format);
  // Device capabilities (HORZRES, LOGPIXELSY, PHYSICALOFFSETX, ...); a screen answers with
  // 96 dpi and no printable offset.
  virtual int GetDeviceCaps(int index) const;
  // Hundredths of a millimetre to device units, rounded as MulDiv rounds.
  void HIMETRICtoLP(CSize* size) const;
  // A print job: a document of pages. Screens refuse (StartDoc gives -1, the others 0).
  virtual int StartDoc(const std::string& docName) { (void)docName; return -1; }
  virtual int StartPage() { return 0; }
  virtual int EndPage() { return 0; }
  virtual int EndDoc() { return 0; }
  virtual int AbortDoc() { return 0; }
  // Takes the settings of a device-mode block (orientation) from the next page on; null
  // when the device cannot change.
  virtual CDC* ResetDC(const DEVMODE* devMode) { (void)devMode; return nullptr; }

 protected:
  const CFont* m_font = nullptr;
  COLORREF m_text = 0;
  COLORREF m_bk = RGB(255, 255, 255);
  int m_nTextEncoding = ENCODING_WINDOWS_1252;
};

// A strip of equally wide images drawn by index, with one transparent colour.
class CImageList {
 public:
  // Takes the strip; images are cx pixels wide and as high as the strip.
  bool Create(const PixelImage& strip, int cx, COLORREF transparent);
  void DeleteImageList() { m_strip = PixelImage(); m_cx = 0; }
  bool IsCreated() const { return m_cx > 0; }
  int GetImageCount() const { return m_cx > 0 ? m_strip.width / m_cx : 0; }
  CSize GetImageSize() const { return CSize(m_cx, m_strip.height); }
  // Draws image `index` with its top-left corner at pt; false for an index out of range.
  bool Draw(CDC* dc, int index, CPoint pt, unsigned style) const;

 private:
  PixelImage m_strip;
  int m_cx = 0;
  COLORREF m_transparent = 0;
};

}  // namespace quill
