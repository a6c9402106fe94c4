// Loading from files: line-break detection and splitting, byte-exact round trips in the
// detected mode, chunk boundaries, errors, limits, progress and priority; the loaders'
// fuzz property as a fixed-seed loop, for builds without libFuzzer.

#include <filesystem>
#include <random>

#include "../../fuzz/loader_roundtrip.h"
#include "buffer/line_sink.h"
#include "buffer_fixture.h"
#include "load_save_fixture.h"
#include "platform/exceptions.h"

namespace quill::test {
namespace {

struct Golden {
  const char* name;
  std::string bytes;
  int mode;           // detected
  Lines lines;
  std::string saved;  // what a save in the detected mode writes
};

std::vector<Golden> GoldenFiles() {
  const std::string nul("\0\0binary\0 part", 15);
  return {
      {"dos", "a\r\nb\r\n", CRLF_MODE_DOS, {"a", "b", ""}, "a\r\nb\r\n"},
      {"unix empty line kept", "one\n\ntwo", CRLF_MODE_UNIX, {"one", "", "two"}, "one\n\ntwo"},
      {"mac empty line kept", "a\r\rb\r", CRLF_MODE_MAC, {"a", "", "b", ""}, "a\r\rb\r"},
      {"no break", "just text", CRLF_MODE_DOS, {"just text"}, "just text"},
      {"empty", "", CRLF_MODE_DOS, {""}, ""},
      {"only breaks unix", "\n\n\n", CRLF_MODE_UNIX, {"", "", "", ""}, "\n\n\n"},
      {"only breaks dos", "\r\n\r\n", CRLF_MODE_DOS, {"", "", ""}, "\r\n\r\n"},
      {"nul kept", nul + "\nnext\n", CRLF_MODE_UNIX, {nul, "next", ""}, nul + "\nnext\n"},
      {"cr lf in unix file is one break", "a\nb\r\nc", CRLF_MODE_UNIX, {"a", "b", "c"}, "a\nb\nc"},
      {"lone lf in dos file", "a\r\nb\nc", CRLF_MODE_DOS, {"a", "b", "c"}, "a\r\nb\r\nc"},
      {"cr cr in dos file is one break", "a\r\n\r\rb", CRLF_MODE_DOS, {"a", "", "b"}, "a\r\n\r\nb"},
      {"lf after mac break", "a\r\nb\rc", CRLF_MODE_DOS, {"a", "b", "c"}, "a\r\nb\r\nc"},
      {"mac with lf", "a\rb\nc", CRLF_MODE_MAC, {"a", "b", "c"}, "a\rb\rc"},
      {"tabs and high bytes", "\t\xff\x80\n\x01", CRLF_MODE_UNIX, {"\t\xff\x80", "\x01"}, "\t\xff\x80\n\x01"},
  };
}

// Loads from a string detect and split as files do (a NUL ends the string). A load says
// its breaks were mixed exactly when a save in its mode writes other bytes.
TEST_F(LoadSaveTest, GoldenFilesLoadAndSaveInTheirMode) {
  for (const Golden& g : GoldenFiles()) {
    SCOPED_TRACE(g.name);
    const bool bNul = g.bytes.find('\0') != std::string::npos;
    if (!bNul) {
      ASSERT_EQ(m_buffer.LoadFromBuffer(g.bytes.c_str()), 1);  // frees the previous text itself
      EXPECT_EQ(m_buffer.GetCRLFMode(), g.mode);
      EXPECT_EQ(m_buffer.AllLines(), g.lines);
      EXPECT_EQ(m_buffer.LoadedMixedBreaks(), g.saved != g.bytes);
    }
    LoadBytes(g.bytes);
    EXPECT_EQ(m_buffer.GetCRLFMode(), g.mode);
    EXPECT_EQ(m_buffer.AllLines(), g.lines);
    EXPECT_EQ(m_buffer.LoadedMixedBreaks(), g.saved != g.bytes);
    EXPECT_EQ(m_buffer.LoadedNulBytes(), bNul);
    EXPECT_FALSE(m_buffer.IsModified());
    ASSERT_EQ(m_buffer.SaveToFile(m_folder / "out.txt"), 1);
    EXPECT_EQ(ReadAll(m_folder / "out.txt"), g.saved);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(LoadSaveTest, BreaksAcrossTheChunkBoundary) {
  const std::string head(32767, 'a');
  LoadBytes(head + "\r\nb");  // CR last of the first chunk, LF first of the next
  EXPECT_EQ(m_buffer.GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{head, "b"}));
  EXPECT_FALSE(m_buffer.LoadedMixedBreaks());
  LoadBytes(head + "\r\r" + "b", CRLF_MODE_DOS);  // CR CR is one break in DOS mode
  EXPECT_EQ(m_buffer.AllLines(), (Lines{head, "b"}));
  LoadBytes(head + "\r\r" + "b", CRLF_MODE_MAC);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{head, "", "b"}));
  LoadBytes(std::string(32768, 'z') + "\n");  // break is the first byte of the second chunk
  EXPECT_EQ(m_buffer.AllLines(), (Lines{std::string(32768, 'z'), ""}));
}

TEST_F(LoadSaveTest, MissingFileShowsTheSystemText) {
  const std::string path = m_folder / "missing.sp";
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "File \"" + path + "\"\nThe system cannot find the file specified.");
  EXPECT_FALSE(m_buffer.IsInit());
  EXPECT_EQ(m_buffer.LoadFromFile(m_folder / "no/such.sp"), 0);
  EXPECT_EQ(Messages().back().text,
            "File \"" + (m_folder / "no/such.sp") + "\"\nThe system cannot find the path specified.");
}

// A file another opener holds without sharing writes is still read, shared; a
// write-protected one gives a read-only buffer.
TEST_F(LoadSaveTest, HeldOrWriteProtectedFilesAreStillRead) {
  const std::string path = m_folder / "held.txt";
  WriteAll(path, "x\ny");
  auto held = GetFileService().Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_TRUE(held);
  for (const bool writable : {true, false}) {
    if (!writable) chmod(path.c_str(), 0444);
    m_buffer.FreeAll();
    ASSERT_EQ(m_buffer.LoadFromFile(path), 1);
    EXPECT_EQ(m_buffer.GetReadOnly(), !writable);
    EXPECT_EQ(m_buffer.AllLines(), (Lines{"x", "y"}));
  }
}

TEST_F(LoadSaveTest, LinesBeyondTheLimitsAreRefused) {
  const std::string path = m_folder / "big.txt";
  WriteAll(path, "0123456789\n" + std::string(40000, 'x') + "\nend");
  m_buffer.SetLoadLimits({.nMaxLineLength = 20000});
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "File \"" + path +
                               "\"\nThe file has a line longer than 20000 characters and cannot be loaded.");
  EXPECT_FALSE(m_buffer.IsInit());

  m_buffer.FreeAll();
  m_buffer.SetLoadLimits({.nMaxLineCount = 2});
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  EXPECT_EQ(Messages().back().text,
            "File \"" + path + "\"\nThe file has more than 2 lines and cannot be loaded.");
  EXPECT_EQ(m_buffer.GetLineCount(), 2);  // what was stored stays

  m_buffer.FreeAll();
  m_buffer.SetLoadLimits({.nMaxLineLength = 5});
  EXPECT_EQ(m_buffer.LoadFromBuffer("abc\r\nabcdefgh"), 0);
  EXPECT_EQ(Messages().back().text, "The file has a line longer than 5 characters and cannot be loaded.");
  // Edits that would pass the limit throw and change nothing.
  ASSERT_EQ(m_buffer.LoadFromBuffer("abc\r\ndef"), 1);
  EXPECT_THROW(m_buffer.Insert(0, 2, "123"), InvalidArgException);
  EXPECT_THROW(m_buffer.Insert(1, 2, "x\r123456"), InvalidArgException);
  EXPECT_THROW(m_buffer.DeleteText(nullptr, 0, 3, 1, 0), InvalidArgException);  // joins to 6
  EXPECT_EQ(m_buffer.Insert(1, 3, "12\r"), 1);  // exactly 5
  m_buffer.SetLoadLimits({});
  EXPECT_EQ(m_buffer.AllLines(), (std::vector<std::string>{"abc", "def12", ""}));
  // The real limit: the longest line whose capacity fits in an int.
  EXPECT_NO_THROW(TLineSink::CheckLength(FileBuffer::kMaxLineLength, TLoadLimits{}));
  EXPECT_THROW(TLineSink::CheckLength(2147483632, TLoadLimits{}), TFileAccessException);
}

TEST_F(LoadSaveTest, LoadResetsViewsAndShowsProgress) {
  RecordingView view;
  m_buffer.AddView(&view);
  const std::string path = m_folder / "p.txt";
  WriteAll(path, std::string(100000, 'q'));
  ASSERT_EQ(m_buffer.LoadFromFile(path), 1);
  m_buffer.RemoveView(&view);
  ASSERT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(view.notes[0].flags, UPDATE_FLAG_RESET);
  EXPECT_EQ(view.notes[0].line, -1);

  const auto& bar = m_services.m_statusBar;
  ASSERT_EQ(bar.m_progress.size(), 1u);
  const auto& progress = bar.m_progress[0];
  EXPECT_TRUE(progress.smooth);
  EXPECT_TRUE(progress.destroyed);
  EXPECT_EQ(progress.upper, 100000);
  EXPECT_EQ(progress.positions.back(), 100000);
  EXPECT_EQ(bar.m_paneHistory.front(), "Reading " + path + "...");
  EXPECT_EQ(bar.m_panes[0], "Ready");
  // The priority was raised to high and put back.
  ASSERT_EQ(m_services.m_priorityHistory.size(), 2u);
  EXPECT_EQ(m_services.m_priorityHistory[0], HIGH_PRIORITY_CLASS);
  EXPECT_NE(m_services.m_priorityHistory[1], HIGH_PRIORITY_CLASS);
}

TEST_F(LoadSaveTest, HundredMegabyteSingleLine) {
  const std::string path = m_folder / "one.line";
  {
    std::string line(100u << 20, 'w');
    line[12345] = 'N';
    WriteAll(path, line);
  }
  ASSERT_EQ(m_buffer.LoadFromFile(path), 1);
  ASSERT_EQ(m_buffer.GetLineCount(), 1);
  ASSERT_EQ(m_buffer.GetLineLength(0), 100 << 20);
  EXPECT_EQ(m_buffer.GetLineChars(0)[12345], 'N');
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(std::filesystem::file_size(path), 100u << 20);
}

TEST(LoaderRoundTrip, FixedSeedRandomInputs) {
  fuzz::RoundTripContext context;
  std::mt19937 rng(20261205);
  const char alphabet[] = {'\r', '\n', '\0', 'a', ' ', '\t', '\xff'};
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> data(rng() % (round % 50 == 0 ? 70000 : 300));
    for (auto& byte : data)
      byte = rng() % 3 == 0 ? static_cast<std::uint8_t>(rng()) : static_cast<std::uint8_t>(alphabet[rng() % 7]);
    const std::string error = fuzz::CheckRoundTrip(context, data.data(), data.size());
    ASSERT_EQ(error, "") << "round " << round;
  }
}

}  // namespace
}  // namespace quill::test
