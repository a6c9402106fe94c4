// libFuzzer target: random bytes through the string, file and held-file loaders, then
// save in the detected mode and load again to the same lines.

#include <cstdio>
#include <cstdlib>

#include "loader_roundtrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static quill::fuzz::RoundTripContext context;
  const std::string error = quill::fuzz::CheckRoundTrip(context, data, size);
  if (!error.empty()) {
    std::fprintf(stderr, "round trip broken: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
