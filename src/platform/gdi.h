#pragma once
// The drawing surface the view paints through: a device context with fonts, colours,
// solid fills, clipped text output, compatible memory surfaces and bitmaps, block copies
// and image-list glyphs. One renderer serves the screen and the printer; a backend (or the
// headless recorder) implements CDC and CBitmap.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace quill {

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;

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
 protected:
  const CFont* m_font = nullptr;
  COLORREF m_text = 0;
  COLORREF m_bk = RGB(255, 255, 255);
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
