#pragma once
// A host-style view for the tests: a C-like style with fixed colours, ParseLine
// forwarding to it, keywords drawn bold.

#include "style/document_style.h"
#include "view_fixture.h"

namespace quill::testing {

namespace colors {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kKeyword = RGB(0, 0, 255);
constexpr COLORREF kKeywordBk = RGB(255, 255, 224);
constexpr COLORREF kComment = RGB(0, 128, 0);
constexpr COLORREF kCommentBk = RGB(240, 255, 240);
constexpr COLORREF kString = RGB(163, 21, 21);
constexpr COLORREF kNumber = RGB(9, 134, 88);
constexpr COLORREF kNumberBk = RGB(250, 250, 250);
constexpr COLORREF kPreproc = RGB(128, 0, 128);
constexpr COLORREF kPreprocBk = RGB(255, 240, 255);
}  // namespace colors

using namespace colors;

// What a host writes: a style for its language and ParseLine forwarding to it.
class CLikeView : public ProbeView {
 public:
  explicit CLikeView(QuillTextBuffer* buffer) : m_buffer(buffer) {}

  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_CPP, "CPP");
    style->SetCommentsDelims("/*", "*/");
    style->SetSingleCommentsDelims("//", 0);
    style->SetStringDelims("\"", "\"");
    style->SetCharDelims("'", "'");
    style->SetStringEsc('\\');
    style->SetCharEsc('\\');
    style->SetPreprocChar('#');
    const unsigned long colors[4] = {kKeywordBk, kKeyword, kBlack, kWhite};
    style->InitKeywordSection("Keywords", colors, nullptr, false);
    style->AddKeyword("int", "Keywords");
    style->AddKeyword("return", "Keywords");
    style->GetFromRegistry();
    style->SetTabSize(4);
    style->SetDefaultColor(kBlack, 1, 0);
    style->SetDefaultColor(kWhite, 0, 0);
    style->SetCommentsColor(kComment, 1, 0);
    style->SetCommentsColor(kCommentBk, 0, 0);
    style->SetStringColor(kString, 1, 0);
    style->SetStringColor(kWhite, 0, 0);
    style->SetNumbersColor(kNumber, 1, 0);
    style->SetNumbersColor(kNumberBk, 0, 0);
    style->SetPreprocessorColor(kPreproc, 1, 0);
    style->SetPreprocessorColor(kPreprocBk, 0, 0);
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, count);
  }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
  int GetBold(int index) override { return index >= 256 && index < 512; }

 private:
  QuillTextBuffer* m_buffer;
};

}  // namespace quill::testing
