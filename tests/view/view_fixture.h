#pragma once
// A view with its buffer and an in-memory window, for the view tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buffer/text_buffer.h"
#include "platform/document.h"
#include "platform/headless/headless_window.h"
#include "view/quill_view.h"

namespace quill::testing {

// Opens the view's protected state to the tests.
class ProbeView : public QuillView {
 public:
  using QuillView::m_bFocused;
  using QuillView::m_bShowInactiveSelection;
  using QuillView::m_nOffsetChar;
  using QuillView::m_nTopLine;
  using QuillView::m_ptAnchor;
  using QuillView::m_ptCursorPos;
  using QuillView::m_ptSelEnd;
  using QuillView::m_ptSelStart;
  using QuillView::m_bSelectionPushed;
  using QuillView::m_ptSavedSelStart;
  using QuillView::m_bHasBookmarks;
  using QuillView::m_bHasLastFind;
  using QuillView::m_sLastFindText;
  using QuillView::m_bOvrMode;
  using QuillView::m_nIdealCharPos;

  // Binds a window without the creation steps.
  void BindWindow(Window* pWnd) { m_pWnd = pWnd; }
  void Select(CPoint start, CPoint end) {
    m_ptSelStart = start;
    m_ptSelEnd = end;
  }
  // Cache probes: -1 while an entry is not computed.
  long CachedCookie(int line) const {
    if (line < 0) return -2;
    if (line >= m_nParseCookiesKnown) return -1;
    return static_cast<long>(m_pdwParseCookies[static_cast<std::size_t>(line)]);
  }
  int CachedLength(int line) const {
    if (line < 0 || line >= static_cast<int>(m_pnActualLineLength.size())) return -2;
    return m_pnActualLineLength[static_cast<std::size_t>(line)];
  }
  int CookieCacheSize() const { return static_cast<int>(m_pdwParseCookies.size()); }
  int ParseCalls = 0;
  // A parser that counts its calls: every line carries cookie = line length.
  unsigned long ParseLine(const char*, int nLength, unsigned long, int, TEXTBLOCK*,
                          int&) override {
    ++ParseCalls;
    return static_cast<unsigned long>(nLength);
  }
};

// Inserts text at (line, ch) through the buffer's public edit operation.
inline void Insert(QuillTextBuffer& buffer, int line, int ch, const char* text) {
  int endLine = 0;
  int endChar = 0;
  buffer.InsertText(nullptr, line, ch, text, endLine, endChar);
}

// Fills a buffer with lines (through the public edit operations) and clears its undo.
inline void Fill(QuillTextBuffer& buffer, const std::vector<std::string>& lines) {
  buffer.FreeAll();
  buffer.InitNew(CRLF_MODE_DOS);
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  if (!text.empty()) Insert(buffer, 0, 0, text.c_str());
}

// A view of type V on a buffer of the given lines, bound unless asked otherwise to a
// 400 x 160 window: 10 lines of 8 x 16 pixel cells right of a 20-pixel margin.
template <class V = ProbeView>
class ProbeTest : public ::testing::Test {
 protected:
  ~ProbeTest() override {
    view.DetachFromBuffer();
    view.BindWindow(nullptr);
  }
  void Open(const std::vector<std::string>& lines, bool inWindow = true) {
    Fill(buffer, lines);
    if (inWindow) view.BindWindow(&window);
    view.AttachToBuffer(&buffer);
  }

  QuillTextBuffer buffer;
  HeadlessWindow window{CSize(400, 160)};
  V view;
};

}  // namespace quill::testing
