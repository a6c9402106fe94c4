#pragma once
// The editor set-up the benchmarks share: quiet headless services, a buffer built from a
// text's lines, a view that highlights netlists, and a scene of both in a headless window
// with a surface that draws nothing.

#include <concepts>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dc.h"
#include "platform/headless/headless_window.h"
#include "quill.h"

namespace quill::bench {

// Services for the whole run: message boxes only recorded, no status bar.
inline HeadlessApplicationServices& QuietServices() {
  static ScopedHeadlessServices services;
  services.m_bEcho = false;
  services.m_bHasStatusBar = false;
  return services;
}

// A buffer whose lines are added one by one from text with '\n' breaks.
class LinesBuffer : public QuillTextBuffer {
 public:
  LinesBuffer() = default;
  explicit LinesBuffer(const std::string& text) { SetLines(text); }
  void SetLines(const std::string& text) {
    InitNew(CRLF_MODE_UNIX);
    const char* p = text.data();
    const char* end = p + text.size();
    for (bool first = true; p < end; first = false) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (nl == nullptr) nl = end;
      if (first) AppendLine(0, p, static_cast<int>(nl - p));
      else InsertLine(p, static_cast<int>(nl - p));
      p = nl + 1;
    }
  }
};

// A host view for netlists: '*' at a line start and '$' after a blank start comments,
// devices and directives are keywords.
class NetlistView : public QuillView {
 public:
  explicit NetlistView(QuillTextBuffer* buffer) : m_buffer(buffer) {}
  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_SPICE, "SPICE");
    style->SetSingleCommentsDelims("*", 0);
    style->SetSingleCommentsBOL(true, 0);
    style->SetSingleCommentsDelims("$", 1);
    style->SetSingleCommentsPrefix(" \t", 1);
    style->SetIgnoreCase(true);
    style->InitKeywordSection("Devices", nullptr, "_.", false);
    for (const char* k : {"nch", "pch", "nch_lvt", "pch_hvt", ".subckt", ".ends"}) style->AddKeyword(k, "Devices");
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, count);
  }
  unsigned long ParseLinePart(const char* chars, int length, unsigned long cookie, int line,
                              TParseCheckpoints& states, int from, int to, TEXTBLOCK* buf,
                              int& count) override {
    return GetTextStyle()->ParseLinePart(chars, length, cookie, line, states, from, to, buf, count);
  }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
  void SetTopLine(int line) { m_nTopLine = line; }
  int TopLine() const { return m_nTopLine; }

 private:
  QuillTextBuffer* m_buffer;
};

// A buffer and a created view of it in a headless window of the given client size.
template <class View = NetlistView>
struct Scene {
  LinesBuffer buffer;
  View view{&buffer};
  HeadlessWindow window;
  HeadlessDC dc;
  // fill(buffer) gives the buffer its text before the view is created.
  template <class Fill>
    requires std::invocable<Fill&, LinesBuffer&>
  Scene(CSize client, Fill&& fill) : window(client), dc(client, false) {
    QuietServices();
    InstallMemorySettingsStore();
    fill(buffer);
    if (view.OnCreate(&window) != 0) std::abort();
    view.OnInitialUpdate();
  }
  // The lines of text.
  Scene(CSize client, const std::string& text)
      : Scene(client, [&text](LinesBuffer& b) { b.SetLines(text); }) {}
};

}  // namespace quill::bench
