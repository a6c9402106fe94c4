#pragma once
// Generated benchmark data: a SPICE-like netlist of realistic shape, a SPEF parasitics
// file, one very long line, and a file of very short lines. Files are written once into a cache folder
// ($QUILL_BENCH_DATA, else /tmp/quill-bench) and reused by later runs.

#include <cstddef>
#include <string>

namespace quill::bench {

// A netlist of about `bytes` bytes with `eol` after every line (about 40 bytes a line).
// With mosModels the transistors use the models nmos, pmos, nmos_lvt and nmos_hvt.
std::string GenerateNetlist(std::size_t bytes, const char* eol, bool mosModels = false);

// Size in MiB of the large generated files: $QUILL_BENCH_MB, else 100.
std::size_t BenchMegabytes();

// Paths of the cached files, generated on first use.
std::string NetlistFileLF();     // the netlist with LF breaks
std::string NetlistFileCRLF();   // the same with CR LF breaks
std::string SingleLineFile();    // one line of 20 MiB of words (scaled like the others)
std::string ShortLinesFile();    // 4-byte lines "abc\n"
std::string SpefFile();          // a SPEF parasitics file (name map, nets, caps, resistors)
// The netlist of mosModels in mb * 10^6 bytes (about 10,000 "nmos" a MB).
std::string MosNetlistFile(std::size_t mb);
// Ten copies of the LF netlist (1 GB at the default size): opt-in, for QUILL_BENCH_BIG=1.
std::string BigNetlistFile();
// Whether the opt-in big cases run: $QUILL_BENCH_BIG is set and not "0".
bool BigBenchEnabled();

// The bytes of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
// The bytes of NetlistFileLF(), read once.
const std::string& NetlistBytes();
// The '\n' in text, found with memchr: the baseline of the netlist benchmarks.
std::size_t CountLines(const std::string& text);

}  // namespace quill::bench
