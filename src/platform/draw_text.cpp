// CDC's text blocks (DrawText) and the device capabilities every device shares. Text is
// measured with the device's GetTextExtent and drawn with ExtTextOut, so one layout serves
// the screen, the printer and the headless recorder alike.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/gdi.h"

namespace quill {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Removes the '&' prefixes: "&&" stands for '&', a lone '&' marks the next character.
std::string StripPrefixes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    else if (text[i] == '&') continue;
    out.push_back(text[i]);
  }
  return out;
}

struct Row {
  std::size_t start;
  std::size_t length;
};

// The number of characters from `start` (at most `limit`) whose extent fits `width`;
// at least one, so that every row makes progress.
std::size_t FittingChars(CDC& dc, std::string_view text, std::size_t start, std::size_t limit,
                         int width) {
  std::size_t lo = 1;
  std::size_t hi = limit;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo + 1) / 2;
    if (dc.GetTextExtent(text.substr(start, mid)).cx <= width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

// Splits one paragraph (no line breaks inside) into rows no wider than width: breaks go
// after the last blank that lets the words before it fit, the blanks at a break are
// dropped, and a word longer than a whole row is cut where the row is full.
void WrapParagraph(CDC& dc, std::string_view text, std::size_t begin, std::size_t end,
                   int width, std::vector<Row>& rows) {
  std::size_t pos = begin;
  bool first = true;
  while (true) {
    if (!first) {
      while (pos < end && IsBlank(text[pos])) ++pos;
      if (pos == end) return;
    }
    first = false;
    const std::size_t rest = end - pos;
    if (rest == 0 || dc.GetTextExtent(text.substr(pos, rest)).cx <= width) {
      rows.push_back({pos, rest});
      return;
    }
    const std::size_t fit = FittingChars(dc, text, pos, rest, width);
    std::size_t cut = pos + fit;
    if (dc.GetTextEncoding() == ENCODING_UTF8) {
      // A row ends between two characters.
      const int nEnd = static_cast<int>(end);
      cut = static_cast<std::size_t>(Utf8CharStart(text.data(), nEnd, static_cast<int>(cut)));
      if (cut == pos) cut = static_cast<std::size_t>(Utf8NextCharPos(text.data(), nEnd, static_cast<int>(pos)));
    }
    if (!IsBlank(text[cut])) {
      // Back up to the blank before the word that does not fit, if the row has one.
      std::size_t blank = cut;
      while (blank > pos && !IsBlank(text[blank - 1])) --blank;
      if (blank > pos) cut = blank;
    }
    std::size_t rowEnd = cut;
    while (rowEnd > pos && IsBlank(text[rowEnd - 1])) --rowEnd;
    if (rowEnd == pos) rowEnd = cut;  // a row of nothing but blanks
    rows.push_back({pos, rowEnd - pos});
    pos = cut;
  }
}

}  // namespace

int CDC::GetDeviceCaps(int index) const {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return GetScreenLogPixelsY();
    default: return 0;
  }
}

void CDC::HIMETRICtoLP(CSize* size) const {
  if (size == nullptr) return;
  size->cx = MulDiv(size->cx, GetDeviceCaps(LOGPIXELSX), 2540);
  size->cy = MulDiv(size->cy, GetDeviceCaps(LOGPIXELSY), 2540);
}

int CDC::DrawText(std::string_view source, CRect& rect, unsigned format) {
  std::string stripped;
  std::string_view text = source;
  if ((format & DT_NOPREFIX) == 0 && text.find('&') != std::string_view::npos) {
    stripped = StripPrefixes(text);
    text = stripped;
  }
  const int lineHeight = GetTextExtent("X").cy;
  const int width = std::max(rect.Width(), 0);

  thread_local std::vector<Row> rows;
  rows.clear();
  if ((format & DT_SINGLELINE) != 0) {
    rows.push_back({0, text.size()});
  } else {
    // Paragraphs end at CR LF, CR or LF.
    std::size_t begin = 0;
    while (true) {
      std::size_t brk = text.find_first_of("\r\n", begin);
      const std::size_t end = brk == std::string_view::npos ? text.size() : brk;
      if ((format & DT_WORDBREAK) != 0) {
        WrapParagraph(*this, text, begin, end, width, rows);
      } else {
        rows.push_back({begin, end - begin});
      }
      if (brk == std::string_view::npos) break;
      begin = brk + (text.compare(brk, 2, "\r\n") == 0 ? 2 : 1);
    }
  }
  const int height = text.empty() ? 0 : lineHeight * static_cast<int>(rows.size());

  if ((format & DT_CALCRECT) != 0) {
    int widest = 0;
    for (const Row& row : rows) {
      widest = std::max(widest, GetTextExtent(text.substr(row.start, row.length)).cx);
    }
    if ((format & DT_WORDBREAK) == 0 || widest > width) rect.right = rect.left + widest;
    rect.bottom = rect.top + height;
    return height;
  }

  int top = rect.top;
  if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0) {
    top = rect.bottom - height;
  } else if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0) {
    top = rect.top + (rect.Height() - height) / 2;
  }
  const bool clip = (format & DT_NOCLIP) == 0;
  int y = top;
  for (const Row& row : rows) {
    const std::string_view part = text.substr(row.start, row.length);
    int x = rect.left;
    if ((format & (DT_CENTER | DT_RIGHT)) != 0) {
      const int extent = GetTextExtent(part).cx;
      x = (format & DT_RIGHT) != 0 ? rect.right - extent : rect.left + (width - extent) / 2;
    }
    if (!part.empty() && (!clip || y < rect.bottom)) {
      ExtTextOut(x, y, clip ? ETO_CLIPPED : 0, clip ? &rect : nullptr, part);
    }
    y += lineHeight;
  }
  return (format & (DT_VCENTER | DT_BOTTOM)) != 0 && (format & DT_SINGLELINE) != 0
             ? top + height - rect.top
             : height;
}

}  // namespace quill
