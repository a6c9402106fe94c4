// libFuzzer target for the search engine: random lines (up to 2 KB, so that the regular
// expression engine's complexity limit is reachable), search texts (any bytes as an
// expression, valid or not), flags, starts, blocks and wrapping. Plain searches must agree
// with the reference; every match must lie inside its line; no search may run longer than
// a few seconds.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless_app_services.h"
#include "search_property.h"
#include "settings/store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quill;
  static const bool settings = (InstallMemorySettingsStore(), true);
  (void)settings;
  static ScopedHeadlessServices services;
  services.m_bEcho = false;
  static search_fuzz::LinesView view;

  search_fuzz::ByteSource in(data, size);
  while (!in.Empty()) {
    const search_fuzz::SearchCase c = search_fuzz::MakeCase(in, true, in.Byte() < 16 ? 2048 : 16);
    const auto began = std::chrono::steady_clock::now();
    const search_fuzz::SearchResult r = search_fuzz::Run(view, c);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    if (seconds > 5.0) {
      std::fprintf(stderr, "search took %.1f s for \"%s\"\n", seconds, c.what.c_str());
      std::abort();
    }
    if (!search_fuzz::InsideItsLine(c, r)) {
      std::fprintf(stderr, "match outside its line for \"%s\"\n", c.what.c_str());
      std::abort();
    }
    if (!(c.flags & SEARCH_REGEX) && !(r == search_fuzz::Reference(c))) {
      std::fprintf(stderr, "plain search differs from the reference for \"%s\"\n", c.what.c_str());
      std::abort();
    }
  }
  return 0;
}
