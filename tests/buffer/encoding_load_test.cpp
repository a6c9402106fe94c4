// A file's encoding as a load finds it, and byte-exact saves in both encodings.

#include <gtest/gtest.h>

#include "load_save_fixture.h"
#include "settings/default_encoding.h"

namespace quill::test {
namespace {

class EncodingLoad : public LoadSaveTest {
 protected:
  ~EncodingLoad() override { SetAsciiFileEncoding(ENCODING_WINDOWS_1252); }
  // Loads the bytes, checks the encoding found, saves and compares byte for byte.
  void RoundTrip(const std::string& bytes, int encoding) {
    SCOPED_TRACE(bytes);
    LoadBytes(bytes);
    EXPECT_EQ(m_buffer.GetEncoding(), encoding);
    ASSERT_EQ(m_buffer.SaveToFile(m_folder / "out.txt"), 1);
    EXPECT_EQ(ReadAll(m_folder / "out.txt"), bytes);
  }
};

TEST_F(EncodingLoad, ValidUtf8IsUtf8AndAnythingElseWindows1252WithBytesKept) {
  // Two-, three- and four-byte sequences, on several lines and mixed with CR LF.
  RoundTrip("10 \xC2\xB5 Ohm \xCE\xA9\r\narrow \xE2\x86\x92 \xE4\xB8\xAD\r\n\xF0\x9F\x98\x80 e\xCC\x81\r\n",
            ENCODING_UTF8);
  // A lone Windows-1252 byte, a truncated sequence at a line end, an overlong form, an
  // encoded surrogate, a stray continuation byte, a code point past U+10FFFF.
  for (const char* bytes : {"caf\xE9\n", "ok \xE2\x86\nnext\n", "\xC0\xAF\n", "\xED\xA0\x80\n",
                            "a\x80z\n", "\xF4\x90\x80\x80\n"}) {
    RoundTrip(bytes, ENCODING_WINDOWS_1252);
  }
  // One invalid byte anywhere decides, even after valid UTF-8 on earlier lines.
  RoundTrip("\xC2\xB5\n\xB5\n", ENCODING_WINDOWS_1252);
}

TEST_F(EncodingLoad, PureAsciiTakesTheEncodingTheHostChose) {
  RoundTrip("plain text\r\n", ENCODING_WINDOWS_1252);  // the component's own
  SetAsciiFileEncoding(ENCODING_UTF8);
  RoundTrip("plain text\r\n", ENCODING_UTF8);
  // It is for ASCII only: bytes beyond it still decide.
  RoundTrip("caf\xE9\n", ENCODING_WINDOWS_1252);
  // The user's default in the settings store: UTF-8 until set otherwise.
  EXPECT_EQ(GetRegistryDefaultEncoding(), ENCODING_UTF8);
  SetRegistryDefaultEncoding(ENCODING_WINDOWS_1252);
  EXPECT_EQ(GetRegistryDefaultEncoding(), ENCODING_WINDOWS_1252);
  SetRegistryDefaultEncoding(ENCODING_UTF8);
}

TEST_F(EncodingLoad, LoadsFromMemoryAndNewBuffersAreWindows1252UntilSetAndLockingLoadsDetect) {
  m_buffer.LoadFromBuffer("\xE2\x86\x92");
  EXPECT_EQ(m_buffer.GetEncoding(), ENCODING_WINDOWS_1252);
  m_buffer.SetEncoding(ENCODING_UTF8);
  EXPECT_TRUE(m_buffer.IsUtf8());
  m_buffer.InitNew();
  EXPECT_EQ(m_buffer.GetEncoding(), ENCODING_WINDOWS_1252);

  // Locking loads detect too.
  WriteAll(m_folder / "held.txt", "\xE4\xB8\xAD\xE6\x96\x87\n");
  HoldingDocument doc;
  ASSERT_TRUE(doc.Hold(m_folder / "held.txt"));
  FileBuffer buffer{&doc};
  ASSERT_EQ(buffer.LoadFromFileLocking(m_folder / "held.txt"), 1);
  EXPECT_EQ(buffer.GetEncoding(), ENCODING_UTF8);
  buffer.FreeAll();
}

}  // namespace
}  // namespace quill::test
