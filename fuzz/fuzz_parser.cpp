// libFuzzer target for the line parser: a random style, then random lines with random
// incoming cookies, each checked by CheckParse.

#include <cstdio>
#include <cstdlib>

#include "parser_property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quill::fuzzing::ByteSource in(data, size);
  const auto style = quill::fuzzing::MakeStyle(in);
  unsigned long cookie = in.Byte();
  while (!in.Empty()) {
    const std::string line = in.Line(80);
    if (in.Byte() & 1) cookie = in.Byte() & 0x3F;  // else carry the previous line's cookie
    const std::string failure = quill::fuzzing::CheckParse(*style, line, cookie);
    if (!failure.empty()) {
      std::fprintf(stderr, "parser property violated: %s\n", failure.c_str());
      std::abort();
    }
    int count = 0;
    cookie = style->ParseLine(line.data(), static_cast<int>(line.size()), cookie, 0, nullptr, count);
  }
  return 0;
}
