#include "data.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace quill::bench {
namespace {

// A small fixed-seed generator so every run sees the same data.
struct Rng {
  std::uint64_t s = 0x9E3779B97F4A7C15ull;
  std::uint32_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<std::uint32_t>(s >> 16);
  }
  std::uint32_t below(std::uint32_t n) { return next() % n; }
};

using Models = const char* const[4];
constexpr Models kFoundryModels = {"nch", "pch", "nch_lvt", "pch_hvt"};
constexpr Models kMosModels = {"nmos", "pmos", "nmos_lvt", "nmos_hvt"};

void AppendNetlistLine(std::string& out, Rng& rng, std::size_t& lineNo, Models& kModels) {
  static constexpr const char* kNets[] = {"vdd", "vss", "in", "out", "clk", "net", "bl", "wl"};
  ++lineNo;
  const std::uint32_t kind = rng.below(100);
  char buf[160];
  int n = 0;
  if (lineNo % 5000 == 1) {
    n = std::snprintf(buf, sizeof buf, ".subckt cell%zu a b c vdd vss", lineNo / 5000);
  } else if (lineNo % 5000 == 0) {
    n = std::snprintf(buf, sizeof buf, ".ends");
  } else if (kind < 8) {
    n = std::snprintf(buf, sizeof buf, "* comment line %zu for block %u", lineNo, rng.below(999));
  } else if (kind < 60) {
    n = std::snprintf(buf, sizeof buf, "M%zu %s%u %s%u %s%u %s %s w=%u.%02uu l=0.%02uu", lineNo,
                      kNets[rng.below(8)], rng.below(64), kNets[rng.below(8)], rng.below(64),
                      kNets[rng.below(8)], rng.below(64), "vss", kModels[rng.below(4)],
                      rng.below(10), rng.below(100), rng.below(100));
  } else if (kind < 75) {
    n = std::snprintf(buf, sizeof buf, "R%zu %s%u %s%u %u.%uk $ parasitic", lineNo,
                      kNets[rng.below(8)], rng.below(64), kNets[rng.below(8)], rng.below(64),
                      rng.below(100), rng.below(10));
  } else if (kind < 90) {
    n = std::snprintf(buf, sizeof buf, "C%zu %s%u 0 %u.%ufF", lineNo, kNets[rng.below(8)],
                      rng.below(64), rng.below(100), rng.below(10));
  } else if (kind < 95) {
    n = std::snprintf(buf, sizeof buf, "X%zu a%u b%u vdd vss cell%u", lineNo, rng.below(64),
                      rng.below(64), rng.below(500));
  } else {
    n = std::snprintf(buf, sizeof buf, "+ m=%u nf=%u\t; continuation", rng.below(8) + 1,
                      rng.below(4) + 1);
  }
  out.append(buf, static_cast<std::size_t>(n));
}

// A SPEF file of about `bytes` bytes as extraction tools write it: the header, a name
// map, then nets with their connections, ground and coupling capacitances and resistors.
std::string GenerateSpef(std::size_t bytes) {
  static constexpr const char* kCells[] = {"INVX1", "NAND2X1", "NOR2X2", "DFFRX1", "AOI21X1", "BUFX4"};
  static constexpr const char* kPins[] = {"A", "B", "Y", "D", "Q", "CK"};
  std::string out;
  out.reserve(bytes + 4096);
  out += "*SPEF \"IEEE 1481-1998\"\n*DESIGN \"soc_top\"\n*DATE \"Sun Dec  6 12:00:00 2026\"\n"
         "*VENDOR \"quill bench\"\n*PROGRAM \"gen_bench_data\"\n*VERSION \"1.0\"\n"
         "*DESIGN_FLOW \"EXTERNAL_LOADS\" \"EXTERNAL_SLEWS\"\n*DIVIDER /\n*DELIMITER :\n"
         "*BUS_DELIMITER [ ]\n*T_UNIT 1 NS\n*C_UNIT 1 PF\n*R_UNIT 1 OHM\n*L_UNIT 1 HENRY\n\n*NAME_MAP\n";
  Rng rng;
  char buf[200];
  const auto line = [&](int n) { out.append(buf, static_cast<std::size_t>(n)); };
  // Names of a tenth of the size, then nets until the size is reached.
  std::uint32_t names = 0;
  while (out.size() < bytes / 10) {
    ++names;
    line(std::snprintf(buf, sizeof buf, "*%u u_core/u_blk%u/%s_reg_%u_/n%u\n", names, rng.below(64),
                       rng.below(2) ? "data" : "ctrl", rng.below(32), rng.below(100000)));
  }
  out += "\n*PORTS\n*1 I *C 0.0 12.4\n*2 O *C 80.5 12.4\n\n";
  while (out.size() < bytes) {
    const std::uint32_t net = rng.below(names) + 1;
    const std::uint32_t nodes = rng.below(8) + 2;
    line(std::snprintf(buf, sizeof buf, "*D_NET *%u %u.%05u\n*CONN\n", net, rng.below(2), rng.below(100000)));
    for (std::uint32_t c = rng.below(4) + 2; c > 0; --c)
      line(std::snprintf(buf, sizeof buf, "*I *%u:%s %c *C %u.%u %u.%u *D %s\n", rng.below(names) + 1,
                         kPins[rng.below(6)], rng.below(2) ? 'I' : 'O', rng.below(900), rng.below(10),
                         rng.below(900), rng.below(10), kCells[rng.below(6)]));
    out += "*CAP\n";
    std::uint32_t k = 0;
    for (std::uint32_t n = 1; n <= nodes; ++n) {
      if (rng.below(4) == 0)
        line(std::snprintf(buf, sizeof buf, "%u *%u:%u *%u:%u 0.%05u\n", ++k, net, n, rng.below(names) + 1,
                           rng.below(20) + 1, rng.below(100000)));
      line(std::snprintf(buf, sizeof buf, "%u *%u:%u 0.%05u\n", ++k, net, n, rng.below(100000)));
    }
    out += "*RES\n";
    for (std::uint32_t n = 1; n < nodes; ++n)
      line(std::snprintf(buf, sizeof buf, "%u *%u:%u *%u:%u %u.%03u\n", n, net, n, net, n + 1, rng.below(20),
                         rng.below(1000)));
    out += "*END\n\n";
  }
  return out;
}

std::string CacheDir() {
  const char* env = std::getenv("QUILL_BENCH_DATA");
  std::string dir = env && *env ? env : "/tmp/quill-bench";
  ::mkdir(dir.c_str(), 0755);
  return dir;
}

bool Exists(const std::string& path, std::size_t minBytes) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) >= minBytes;
}

// Writes content to path through a temporary name, so a half-written cache never stays.
void WriteFile(const std::string& path, std::string_view content) {
  const std::string tmp = path + ".part";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    std::perror(tmp.c_str());
    std::exit(1);
  }
  if (std::fwrite(content.data(), 1, content.size(), f) != content.size()) {
    std::perror(tmp.c_str());
    std::exit(1);
  }
  std::fclose(f);
  std::rename(tmp.c_str(), path.c_str());
}

std::string Cached(const std::string& name, std::size_t bytes, std::string (*make)(std::size_t)) {
  const std::string path = CacheDir() + "/" + name;
  if (!Exists(path, bytes)) WriteFile(path, make(bytes));
  return path;
}

}  // namespace

std::string GenerateNetlist(std::size_t bytes, const char* eol, bool mosModels) {
  std::string out;
  out.reserve(bytes + 256);
  Rng rng;
  std::size_t lineNo = 0;
  const std::string_view br(eol);
  while (out.size() < bytes) {
    AppendNetlistLine(out, rng, lineNo, mosModels ? kMosModels : kFoundryModels);
    out.append(br);
  }
  return out;
}

std::size_t BenchMegabytes() {
  const char* env = std::getenv("QUILL_BENCH_MB");
  const long mb = env ? std::atol(env) : 100;
  return mb > 0 ? static_cast<std::size_t>(mb) : 100;
}

std::string NetlistFileLF() {
  const std::size_t mb = BenchMegabytes();
  return Cached("netlist_lf_" + std::to_string(mb) + "m.sp", mb << 20,
                [](std::size_t b) { return GenerateNetlist(b, "\n"); });
}

std::string NetlistFileCRLF() {
  const std::size_t mb = BenchMegabytes();
  return Cached("netlist_crlf_" + std::to_string(mb) + "m.sp", mb << 20,
                [](std::size_t b) { return GenerateNetlist(b, "\r\n"); });
}

std::string MosNetlistFile(std::size_t mb) {
  return Cached("netlist_mos_" + std::to_string(mb) + "m.sp", mb * 1000 * 1000,
                [](std::size_t b) { return GenerateNetlist(b, "\n", true); });
}

std::string SpefFile() {
  const std::size_t mb = BenchMegabytes();
  return Cached("parasitics_" + std::to_string(mb) + "m.spef", mb << 20, GenerateSpef);
}

std::string SingleLineFile() {
  const std::size_t mb = BenchMegabytes() / 5;
  // Words of 1 to 12 letters and digits between blanks, as in a generated netlist line.
  return Cached("single_line_words_" + std::to_string(mb) + "m.txt", mb << 20, [](std::size_t b) {
    std::string s;
    s.reserve(b);
    Rng rng;
    while (s.size() < b) {
      for (std::uint32_t n = rng.below(12) + 1; n > 0 && s.size() < b; --n)
        s.push_back(static_cast<char>(rng.below(4) == 0 ? '0' + rng.below(10) : 'a' + rng.below(26)));
      if (s.size() < b) s.push_back(' ');
    }
    return s;
  });
}

std::string ShortLinesFile() {
  const std::size_t mb = BenchMegabytes();
  return Cached("short_lines_" + std::to_string(mb) + "m.txt", mb << 20, [](std::size_t b) {
    std::string s;
    s.reserve(b + 4);
    while (s.size() < b) s.append("abc\n");
    return s;
  });
}

std::string ReadFile(const std::string& path) {
  std::string data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    data.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    data.resize(std::fread(data.data(), 1, data.size(), f));
    std::fclose(f);
  }
  return data;
}

const std::string& NetlistBytes() {
  static const std::string data = ReadFile(NetlistFileLF());
  return data;
}

std::size_t CountLines(const std::string& text) {
  std::size_t lines = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
    ++lines;
    ++p;
  }
  return lines;
}

bool BigBenchEnabled() {
  const char* env = std::getenv("QUILL_BENCH_BIG");
  return env != nullptr && *env != '\0' && std::string_view(env) != "0";
}

std::string BigNetlistFile() {
  const std::string one = NetlistFileLF();
  struct stat st {};
  ::stat(one.c_str(), &st);
  const auto nOne = static_cast<std::size_t>(st.st_size);
  const std::string path = CacheDir() + "/netlist_lf_" + std::to_string(BenchMegabytes()) + "m_x10.sp";
  if (Exists(path, nOne * 10)) return path;
  const std::string tmp = path + ".tmp";
  std::FILE* out = std::fopen(tmp.c_str(), "wb");
  std::FILE* in = std::fopen(one.c_str(), "rb");
  if (out == nullptr || in == nullptr) {
    std::perror(path.c_str());
    std::exit(1);
  }
  static char chunk[1 << 20];
  for (int copy = 0; copy < 10; ++copy) {
    std::rewind(in);
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
      if (std::fwrite(chunk, 1, n, out) != n) {
        std::perror(tmp.c_str());
        std::exit(1);
      }
  }
  std::fclose(in);
  std::fclose(out);
  std::rename(tmp.c_str(), path.c_str());
  return path;
}

}  // namespace quill::bench
