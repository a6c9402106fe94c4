#pragma once
// A device context that keeps, instead of pixels, the list of what was drawn: every fill,
// text output and image with its place, clip, colours and font. Later opaque drawing that
// covers an earlier item wholly removes it, and block copies carry the items of a bitmap
// across, so the list of a screen device says what a person would see. Fonts have a fixed
// cell derived from the font height (8 x 16 pixels for a 10-point font at 96 dpi).
// With recording off the device draws nothing at all (for measurements).

#include <string>
#include <vector>

#include "platform/gdi.h"

namespace quill {

struct DrawOp {
  enum Kind { Fill, Text, Image };
  Kind kind = Fill;
  CRect area;          // the pixels covered (text: its cells, clipped)
  CPoint origin;       // text: where the first byte starts; image: top-left corner
  std::string text;    // text: the bytes output
  COLORREF textColor = 0;
  COLORREF bkColor = 0;  // fill colour for a fill
  int weight = 0;      // text: font weight
  bool italic = false; // text: font italic flag
  int cellWidth = 0;   // text: width of one byte
  int image = -1;      // image: index of the image in its strip (source left / width)
};

// What covers one pixel.
struct CellInfo {
  bool covered = false;
  DrawOp::Kind kind = DrawOp::Fill;
  char ch = ' ';       // the byte drawn there (a space for a fill)
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  int weight = 0;
  bool italic = false;
  int image = -1;      // the topmost image over the pixel, if any
};

// Cell size of a font in the headless device.
CSize HeadlessCellSize(const LOGFONT& lf);

class HeadlessBitmap : public CBitmap {
 public:
  explicit HeadlessBitmap(CSize size) : m_size(size) {}
  CSize GetSize() const override { return m_size; }
  std::vector<DrawOp> ops;

 private:
  CSize m_size;
};

class HeadlessDC : public CDC {
 public:
  // A screen device of the given size; recording off makes every drawing call a no-op.
  explicit HeadlessDC(CSize size = CSize(0, 0), bool record = true);

  std::unique_ptr<CDC> CreateCompatibleDC() override;
  std::unique_ptr<CBitmap> CreateCompatibleBitmap(int cx, int cy) override;
  using CDC::SelectObject;
  CBitmap* SelectObject(CBitmap* bitmap) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  bool ExtTextOut(int x, int y, unsigned options, const CRect* rect,
                  std::string_view text) override;
  CSize GetTextExtent(std::string_view text) override;
  bool BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc) override;
  void DrawImage(const PixelImage& image, const CRect& source, CPoint pt, bool useTransparent,
                 COLORREF transparent) override;
  bool IsPrinting() const override { return m_printing; }
  void SetPrinting(bool printing) { m_printing = printing; }
  CRect GetClipBox() const override { return m_clip; }
  // Limits painting to a part of the device, as an invalid area does.
  void SetClipBox(const CRect& clip) { m_clip = clip; }

  // The font a device uses while no font is selected (the window's font).
  void SetDefaultFont(const LOGFONT& lf) { m_default = lf; }

  // What the device (or the bitmap selected into it) holds now, oldest first.
  const std::vector<DrawOp>& Ops() const;
  void ClearOps();
  // What covers the pixel (x, y): the last item drawn there.
  CellInfo At(int x, int y) const;
  // The bytes shown along the row through y, one per cell of cellWidth pixels from x0,
  // for count cells (a fill shows a space, an uncovered pixel '\0').
  std::string RowText(int y, int x0, int cellWidth, int count) const;

  // Number of calls that reached the device (also counted with recording off).
  int textOutCalls = 0;
  int fillCalls = 0;
  int blitCalls = 0;

 private:
  std::vector<DrawOp>* Target();
  void Add(DrawOp op);
  const LOGFONT& CurrentFont() const;

  CSize m_size;
  CRect m_clip;
  bool m_record;
  bool m_printing = false;
  std::vector<DrawOp> m_ops;
  HeadlessBitmap* m_bitmap = nullptr;
  LOGFONT m_default;
};

}  // namespace quill
