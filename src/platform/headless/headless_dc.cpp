#include "platform/headless/headless_dc.h"

#include <algorithm>
#include <cstdlib>

namespace quill {

namespace {

bool Contains(const CRect& outer, const CRect& inner) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

LOGFONT SystemFont() {
  LOGFONT lf;
  lf.lfHeight = -13;
  lf.lfWeight = FW_NORMAL;
  return lf;
}

}  // namespace

CSize HeadlessCellSize(const LOGFONT& lf) {
  // A negative height is the character height in pixels, a positive one the cell height;
  // 13 px characters (10 points at 96 dpi) get a 16 px cell. Cells are half as wide.
  int height = 16;
  if (lf.lfHeight < 0) {
    height = (-lf.lfHeight * 16 + 6) / 13;
  } else if (lf.lfHeight > 0) {
    height = lf.lfHeight;
  }
  height = std::max(height, 2);
  return CSize(height / 2, height);
}

HeadlessDC::HeadlessDC(CSize size, bool record)
    : m_size(size),
      m_clip(0, 0, size.cx, size.cy),
      m_record(record),
      m_default(SystemFont()) {}

std::unique_ptr<CDC> HeadlessDC::CreateCompatibleDC() {
  auto dc = std::make_unique<HeadlessDC>(CSize(1, 1), m_record);
  dc->m_default = m_default;
  dc->m_printing = m_printing;
  return dc;
}

std::unique_ptr<CBitmap> HeadlessDC::CreateCompatibleBitmap(int cx, int cy) {
  if (cx < 0 || cy < 0) return nullptr;
  return std::make_unique<HeadlessBitmap>(CSize(cx, cy));
}

CBitmap* HeadlessDC::SelectObject(CBitmap* bitmap) {
  HeadlessBitmap* previous = m_bitmap;
  m_bitmap = dynamic_cast<HeadlessBitmap*>(bitmap);
  return previous;
}

const LOGFONT& HeadlessDC::CurrentFont() const {
  return m_font != nullptr && m_font->IsCreated() ? m_font->GetLogFont() : m_default;
}

std::vector<DrawOp>* HeadlessDC::Target() {
  if (!m_record) return nullptr;
  return m_bitmap != nullptr ? &m_bitmap->ops : &m_ops;
}

const std::vector<DrawOp>& HeadlessDC::Ops() const {
  return m_bitmap != nullptr ? m_bitmap->ops : m_ops;
}

void HeadlessDC::ClearOps() {
  if (m_bitmap != nullptr) {
    m_bitmap->ops.clear();
  } else {
    m_ops.clear();
  }
}

void HeadlessDC::Add(DrawOp op) {
  std::vector<DrawOp>* target = Target();
  if (target == nullptr || op.area.IsRectEmpty()) return;
  if (op.kind != DrawOp::Image) {
    // Opaque drawing hides whatever it covers wholly, and trims what it covers at one end
    // of a row, so that each list says what is visible.
    std::erase_if(*target, [&](DrawOp& old) {
      if (Contains(op.area, old.area)) return true;
      if (old.kind == DrawOp::Image || op.area.top > old.area.top ||
          op.area.bottom < old.area.bottom) {
        return false;
      }
      if (op.area.left <= old.area.left && op.area.right > old.area.left) {
        old.area.left = op.area.right;
      } else if (op.area.left < old.area.right && op.area.right >= old.area.right) {
        old.area.right = op.area.left;
      }
      return old.area.IsRectEmpty();
    });
  }
  target->push_back(std::move(op));
}

void HeadlessDC::FillSolidRect(const CRect& rect, COLORREF color) {
  ++fillCalls;
  if (!m_record) return;
  DrawOp op;
  op.kind = DrawOp::Fill;
  op.area = rect;
  op.bkColor = color;
  Add(std::move(op));
}

bool HeadlessDC::ExtTextOut(int x, int y, unsigned options, const CRect* rect,
                            std::string_view text) {
  ++textOutCalls;
  if (!m_record) return true;
  const LOGFONT& lf = CurrentFont();
  const CSize cell = HeadlessCellSize(lf);
  CRect area(x, y, x + cell.cx * TextCells(text), y + cell.cy);
  if (rect != nullptr && (options & ETO_OPAQUE) != 0) {
    DrawOp fill;
    fill.kind = DrawOp::Fill;
    fill.area = *rect;
    fill.bkColor = m_bk;
    Add(std::move(fill));
  }
  if (rect != nullptr && (options & ETO_CLIPPED) != 0) {
    CRect clipped;
    clipped.IntersectRect(area, *rect);
    area = clipped;
  }
  DrawOp op;
  op.kind = DrawOp::Text;
  op.area = area;
  op.origin = CPoint(x, y);
  op.text.assign(text.data(), text.size());
  op.textColor = m_text;
  op.bkColor = m_bk;
  op.weight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
  op.italic = lf.lfItalic != 0;
  op.cellWidth = cell.cx;
  Add(std::move(op));
  return true;
}

CSize HeadlessDC::GetTextExtent(std::string_view text) {
  const CSize cell = HeadlessCellSize(CurrentFont());
  return CSize(cell.cx * TextCells(text), cell.cy);
}

bool HeadlessDC::BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc) {
  ++blitCalls;
  if (!m_record) return true;
  auto* source = dynamic_cast<HeadlessDC*>(src);
  if (source == nullptr) return false;
  const CRect from(xSrc, ySrc, xSrc + cx, ySrc + cy);
  const int dx = x - xSrc;
  const int dy = y - ySrc;
  // Copy a snapshot: source and destination may be the same device.
  const std::vector<DrawOp> items = source->Ops();
  for (const DrawOp& item : items) {
    CRect part;
    if (!part.IntersectRect(item.area, from)) continue;
    DrawOp copy = item;
    part.OffsetRect(dx, dy);
    copy.area = part;
    copy.origin.x += dx;
    copy.origin.y += dy;
    Add(std::move(copy));
  }
  return true;
}

void HeadlessDC::DrawImage(const PixelImage& image, const CRect& source, CPoint pt,
                           bool useTransparent, COLORREF transparent) {
  if (!m_record) return;
  (void)image;
  (void)useTransparent;
  (void)transparent;
  DrawOp op;
  op.kind = DrawOp::Image;
  op.area = CRect(pt.x, pt.y, pt.x + source.Width(), pt.y + source.Height());
  op.origin = pt;
  op.image = source.Width() > 0 ? source.left / source.Width() : -1;
  Add(std::move(op));
}

CellInfo HeadlessDC::At(int x, int y) const {
  CellInfo info;
  const std::vector<DrawOp>& items = Ops();
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    if (!it->area.PtInRect(CPoint(x, y))) continue;
    if (it->kind == DrawOp::Image) {
      if (info.image < 0) info.image = it->image;
      continue;
    }
    info.covered = true;
    info.kind = it->kind;
    info.bkColor = it->bkColor;
    if (it->kind == DrawOp::Text) {
      const std::size_t index = static_cast<std::size_t>((x - it->origin.x) / it->cellWidth);
      info.ch = it->text[index];
      info.textColor = it->textColor;
      info.weight = it->weight;
      info.italic = it->italic;
    }
    break;
  }
  return info;
}

std::string HeadlessDC::RowText(int y, int x0, int cellWidth, int count) const {
  std::string row;
  for (int i = 0; i < count; ++i) {
    const CellInfo cell = At(x0 + i * cellWidth + cellWidth / 2, y);
    row.push_back(cell.covered ? cell.ch : '\0');
  }
  return row;
}

}  // namespace quill
