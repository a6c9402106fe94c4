#pragma once
// Random styles and lines for the parser's property checks, shared by the libFuzzer
// target and the fixed-seed test loop: a style is built from a byte stream, and each
// parse of a line is checked for the invariants every caller relies on.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "style/document_style.h"

namespace quill::fuzzing {

// Hands out the bytes of a fuzzer input; zeros once they run out.
class ByteSource {
 public:
  ByteSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  bool Empty() const { return m_pos >= m_size; }
  // A character, mostly from the ones styles use, sometimes any byte.
  char Char() {
    static constexpr char kAlphabet[] = "ab1 .#/*\"'\\$;eE+-\t_0x(";
    const std::uint8_t b = Byte();
    if (b >= 224) return static_cast<char>(Byte());
    return kAlphabet[b % (sizeof kAlphabet - 1)];
  }
  std::string Text(std::size_t maxLength) {
    std::string s(Byte() % (maxLength + 1), ' ');
    for (char& c : s) {
      c = Char();
      if (c == '\0') c = '0';  // style texts come from C strings
    }
    return s;
  }
  // A line: any bytes, NUL included.
  std::string Line(std::size_t maxLength) {
    std::string s(Byte() % (maxLength + 1), ' ');
    for (char& c : s) c = Char();
    return s;
  }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

inline std::unique_ptr<TDocumentStyle> MakeStyle(ByteSource& in) {
  const auto type = static_cast<DocumentType>(static_cast<int>(in.Byte() % 7) - 1);
  auto style = std::make_unique<TDocumentStyle>(type, nullptr);
  style->SetCommentsDelims(in.Text(3).c_str(), in.Text(3).c_str());
  style->SetStringDelims(in.Text(3).c_str(), in.Text(3).c_str());
  style->SetCharDelims(in.Text(3).c_str(), in.Text(3).c_str());
  for (int slot = 0; slot < 3; ++slot) {
    style->SetSingleCommentsDelims(in.Text(3).c_str(), slot);
    style->SetSingleCommentsPrefix(in.Text(3).c_str(), slot);
    style->SetSingleCommentsBOL(in.Byte() & 1, slot);
  }
  const auto optionalChar = [&in] { return (in.Byte() & 3) ? in.Char() : '\0'; };
  style->SetStringEsc(optionalChar());
  style->SetCharEsc(optionalChar());
  style->SetPreprocChar(optionalChar());
  style->SetIgnoreCase(in.Byte() & 1);
  const int sections = in.Byte() % 4;
  for (int s = 0; s < sections; ++s) {
    const std::string name = "section" + std::to_string(s);
    const bool custom = in.Byte() & 1;
    const std::string allowed = in.Text(3);
    style->InitKeywordSection(name.c_str(), nullptr, allowed.c_str(), custom);
    style->IgnoreCase(s, in.Byte() & 1);
  }
  if (sections > 0) {
    const int keywords = in.Byte() % 12;
    for (int k = 0; k < keywords; ++k) {
      const int section = in.Byte() % sections;
      style->AddKeyword(in.Text(6).c_str(), section);
    }
  }
  style->SetIdentifierEscape(optionalChar());
  style->SetNumberBaseMark(optionalChar());
  for (int s = 0; s < sections; ++s) style->SetWordPrefix(s, optionalChar());
  return style;
}

// Parses the line with and without runs and checks: no more than 3 * length + 3 runs and
// nothing written past them, runs in non-decreasing order inside the line, and the same
// cookie both ways. Returns a description of the first violation, or "".
inline std::string CheckParse(const TDocumentStyle& style, const std::string& line,
                              unsigned long cookie, std::vector<TEXTBLOCK>* runs = nullptr) {
  const int length = static_cast<int>(line.size());
  const int capacity = 3 * length + 3;
  constexpr int kGuard = 4;
  std::vector<TEXTBLOCK> buf(static_cast<std::size_t>(capacity + kGuard),
                                        TEXTBLOCK{-7, -7, -7});
  int count = 0;
  const unsigned long withRuns = style.ParseLine(line.data(), length, cookie, 0, buf.data(), count);
  int none = 0;
  const unsigned long without = style.ParseLine(line.data(), length, cookie, 0, nullptr, none);
  if (count < 0 || count > capacity) return "run count " + std::to_string(count) + " out of bounds";
  for (int g = capacity; g < capacity + kGuard; ++g)
    if (buf[g].charPos != -7) return "write past the run buffer";
  for (int r = 0; r < count; ++r) {
    if (buf[r].charPos < 0 || buf[r].charPos > length) return "run outside the line";
    if (r > 0 && buf[r].charPos < buf[r - 1].charPos) return "runs out of order";
  }
  if (none != 0) return "runs counted without a buffer";
  if (withRuns != without) return "cookie differs without runs";
  if (runs) runs->assign(buf.begin(), buf.begin() + count);
  return "";
}

}  // namespace quill::fuzzing
