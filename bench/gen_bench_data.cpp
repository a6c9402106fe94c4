// Writes the generated benchmark files (or finds them in the cache folder) and prints
// their paths, one a line: the netlist with LF breaks, the 20 MB line, the short lines,
// the SPEF file, and with QUILL_BENCH_BIG=1 the netlist ten times over.

#include <cstdio>

#include "data.h"

int main() {
  std::printf("%s\n", quill::bench::NetlistFileLF().c_str());
  std::printf("%s\n", quill::bench::SingleLineFile().c_str());
  std::printf("%s\n", quill::bench::ShortLinesFile().c_str());
  std::printf("%s\n", quill::bench::SpefFile().c_str());
  if (quill::bench::BigBenchEnabled()) std::printf("%s\n", quill::bench::BigNetlistFile().c_str());
  return 0;
}
