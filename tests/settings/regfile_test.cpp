#include "settings/regfile.h"

#include <gtest/gtest.h>

#include "settings/registry.h"

namespace {

using quill::RegFile;
using quill::RegFileError;

class RegFileTest : public ::testing::Test {
 protected:
  void SetUp() override { store_ = quill::InstallMemorySettingsStore(); }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  std::shared_ptr<quill::MemorySettingsStore> store_;
};

// Export/import round trips cover value syntax; this covers what export never writes.
TEST_F(RegFileTest, ParsesBomCommentsContinuationsAndDeletions) {
  const std::string text =
      "\xEF\xBB\xBFREGEDIT4\r\n\r\n; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane]\r\n"
      "@=\"dflt\"\r\n"
      "\"Bin\"=hex:01,02,\\\r\n  ff\r\n"
      "\"Multi\"=hex(7):61,00,00\r\n"
      "\"Gone\"=-\r\n"
      "[-HKCU\\Old]\n";
  RegFile file;
  RegFileError error;
  ASSERT_TRUE(quill::ParseRegFile(text, &file, &error)) << error.line << ": " << error.message;
  ASSERT_EQ(file.keys.size(), 2u);
  const auto& k = file.keys[0];
  EXPECT_EQ(k.path, "Software\\Corvane");
  ASSERT_EQ(k.values.size(), 4u);
  EXPECT_EQ(k.values[0].name, "");
  EXPECT_EQ(k.values[1].type, quill::REG_BINARY);
  EXPECT_EQ(k.values[1].data, "\x01\x02\xff");
  EXPECT_EQ(k.values[2].type, 7u);
  EXPECT_EQ(k.values[2].data, std::string("a\0\0", 3));
  EXPECT_TRUE(k.values[3].remove);
  EXPECT_TRUE(file.keys[1].remove);
  EXPECT_EQ(file.keys[1].path, "Old");
}

TEST_F(RegFileTest, BadFilesReportTheirLine) {
  const std::string head = "REGEDIT4\n[HKCU\\A]\n";
  const std::pair<std::string, int> cases[] = {
      {"", 1},
      {"Windows Registry Editor Version 4\n", 1},
      {"REGEDIT4\n\"a\"=dword:1\n", 2},  // value before any key
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n", 2},
      {"REGEDIT4\n[HKEY_CURRENT_USERX]\n", 2},
      {"REGEDIT4\n[-HKEY_CURRENT_USER]\n", 2},
      {"REGEDIT4\n[HKCU\\A\n", 2},
      {"REGEDIT4\n[-HKCU\\A]\n\"b\"=dword:1\n", 3},
      {head + "\"a\"=dword:123456789\n", 3},
      {head + "\"a\"=dword:12g\n", 3},
      {head + "\"a\"=hex:01;02\n", 3},
      {head + "\"a\"=hex(zz):01\n", 3},
      {head + "\"a\"=\"open\n", 3},
      {head + "\"a\"=\"x\" tail\n", 3},
      {head + "a=dword:1\n", 3},
      {head + "\"a\"=float:1\n", 3},
      // Continuation lines count: the error names the line where the value starts.
      {head + "\"a\"=hex:01,\\\n  02,\\\n  0x\n\"b\"=-\n", 3},
      {head + "\"a\"=hex:01,\\\n  02\n\"b\"=bad\n", 5},
  };
  for (const auto& [text, line] : cases) {
    RegFile file;
    RegFileError error;
    EXPECT_FALSE(quill::ParseRegFile(text, &file, &error)) << text;
    EXPECT_FALSE(error.message.empty()) << text;
    EXPECT_EQ(error.line, line) << text;
  }
}

TEST_F(RegFileTest, ExportThenImportGivesTheSameStore) {
  const std::string root = "Software\\Corvane\\Verurozu Doriru";
  registry_int<int>(root + "\\General\\TabSize", HKEY_CURRENT_USER, 0).write(-3);
  registry_string<std::string>(root + "\\CPP\\FontName", HKEY_CURRENT_USER, "")
      .write("Courier \"New\" \\ ;[x]");
  registry_string<std::string>(root + "\\CPP\\Empty", HKEY_CURRENT_USER, "").write("");
  registry_binary<unsigned long>(root + "\\CPP\\Colors\\Kw\\FRG_SELECT", HKEY_CURRENT_USER, 0)
      .write(0x00C0FFEEUL);
  auto key = store_->OpenKey(root + "\\Odd", true);
  store_->SetValue(key, "", quill::REG_SZ, std::string("line1\r\nline2\0", 13));
  store_->SetValue(key, "NoNul", quill::REG_SZ, "raw");
  store_->SetValue(key, "Short", quill::REG_DWORD, "\x01\x02");
  store_->SetValue(key, "Long", quill::REG_BINARY, std::string(100, '\xAB'));
  store_->SetValue(key, "Nothing", quill::REG_BINARY, "");
  store_->OpenKey(root + "\\EmptyKey", true);
  store_->SetValue(store_->OpenKey("", false), "AtRoot", quill::REG_DWORD, "\1\0\0\0");

  std::string exported;
  ASSERT_TRUE(quill::ExportRegFile(*store_, "", &exported));
  EXPECT_EQ(exported.rfind("REGEDIT4\r\n\r\n", 0), 0u);
  EXPECT_NE(exported.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\General]\r\n"
                          "\"TabSize\"=dword:fffffffd\r\n"),
            std::string::npos);
  EXPECT_NE(exported.find("\"FontName\"=\"Courier \\\"New\\\" \\\\ ;[x]\"\r\n"), std::string::npos);
  EXPECT_NE(exported.find("\"FRG_SELECT\"=hex:ee,ff,c0,00\r\n"), std::string::npos);
  EXPECT_NE(exported.find("\"Short\"=hex(4):01,02\r\n"), std::string::npos);
  EXPECT_NE(exported.find("\"NoNul\"=hex(1):72,61,77\r\n"), std::string::npos);
  for (size_t start = 0, end; (end = exported.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    EXPECT_LE(end - start, 80u) << "hex lines are wrapped";
  }

  RegFile file;
  RegFileError error;
  ASSERT_TRUE(quill::ParseRegFile(exported, &file, &error)) << error.line << ": " << error.message;
  auto fresh = std::make_shared<quill::MemorySettingsStore>();
  ASSERT_TRUE(quill::ApplyRegFile(*fresh, file));
  std::string again;
  ASSERT_TRUE(quill::ExportRegFile(*fresh, "", &again));
  EXPECT_EQ(again, exported);

  // A sub-tree exports alone; an absent key is an error.
  std::string part;
  ASSERT_TRUE(quill::ExportRegFile(*store_, "software\\corvane\\verurozu doriru\\cpp", &part));
  EXPECT_EQ(part.find("General"), std::string::npos);
  EXPECT_NE(part.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\CPP\\Colors\\Kw]"),
            std::string::npos);
  EXPECT_FALSE(quill::ExportRegFile(*store_, "No\\Such", &part));
}

TEST_F(RegFileTest, ImportAppliesDeletionsAndIsAllOrNothing) {
  registry_int<int>("A\\Keep", HKEY_CURRENT_USER, 0).write(1);
  registry_int<int>("A\\Drop", HKEY_CURRENT_USER, 0).write(2);
  registry_int<int>("Old\\Sub\\V", HKEY_CURRENT_USER, 0).write(3);
  RegFile file;
  RegFileError error;
  ASSERT_TRUE(quill::ParseRegFile(
      "REGEDIT4\n[HKCU\\A]\n\"Drop\"=-\n\"New\"=dword:00000009\n[-HKCU\\Old]\n", &file, &error));
  ASSERT_TRUE(quill::ApplyRegFile(*store_, file));
  EXPECT_EQ((registry_int<int>("A\\Keep", HKEY_CURRENT_USER, 0).read()), 1);
  EXPECT_FALSE((registry_int<int>("A\\Drop", HKEY_CURRENT_USER, 0).exists()));
  EXPECT_EQ((registry_int<int>("a\\new", HKEY_CURRENT_USER, 0).read()), 9);
  EXPECT_EQ(store_->OpenKey("Old", false), quill::kNoKey);
  std::string text;
  ASSERT_TRUE(quill::ListSettings(*store_, "A", &text));
  EXPECT_EQ(text, "A\n    \"Keep\"=dword:00000001\n    \"New\"=dword:00000009\n");
  EXPECT_FALSE(quill::ListSettings(*store_, "Nope", &text));

  // A store that refuses a write mid-way keeps none of the file.
  class Refusing : public quill::MemorySettingsStore {
   public:
    bool SetValue(quill::SettingsKeyId key, std::string_view name, std::uint32_t type,
                  std::string_view data) override {
      if (name == "Bad") return false;
      return MemorySettingsStore::SetValue(key, name, type, data);
    }
  } refusing;
  ASSERT_TRUE(quill::ParseRegFile("REGEDIT4\n[HKCU\\X]\n\"Ok\"=dword:1\n\"Bad\"=dword:2\n",
                                  &file, &error));
  EXPECT_FALSE(quill::ApplyRegFile(refusing, file));
  EXPECT_EQ(refusing.OpenKey("X", false), quill::kNoKey);
}

}  // namespace
