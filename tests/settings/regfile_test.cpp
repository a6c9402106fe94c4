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

  // Parses text that must be rejected and returns the reported line.
  int RejectedAt(const std::string& text) {
    RegFile file;
    RegFileError error;
    EXPECT_FALSE(quill::ParseRegFile(text, &file, &error)) << text;
    EXPECT_FALSE(error.message.empty());
    return error.line;
  }

  std::shared_ptr<quill::MemorySettingsStore> store_;
};

TEST_F(RegFileTest, ParsesEveryKindOfLine) {
  const std::string text =
      "\xEF\xBB\xBFREGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\General]\r\n"
      "\"AutoLoad\"=dword:0000000a\r\n"
      "\"Path\"=\"C:\\\\dir \\\"q\\\"\"\r\n"
      "@=\"dflt\"\r\n"
      "\"Bin\"=hex:01,02,\\\r\n"
      "  ff\r\n"
      "\"Multi\"=hex(7):61,00,00\r\n"
      "\"Gone\"=-\r\n"
      "[-HKCU\\Old]\n";
  RegFile file;
  RegFileError error;
  ASSERT_TRUE(quill::ParseRegFile(text, &file, &error)) << error.line << ": " << error.message;
  ASSERT_EQ(file.keys.size(), 2u);
  const auto& k = file.keys[0];
  EXPECT_EQ(k.path, "Software\\Corvane\\Verurozu Doriru\\General");
  ASSERT_EQ(k.values.size(), 6u);
  EXPECT_EQ(k.values[0].type, quill::REG_DWORD);
  EXPECT_EQ(k.values[0].data, std::string("\x0a\0\0\0", 4));
  EXPECT_EQ(k.values[1].data, std::string("C:\\dir \"q\"\0", 11));
  EXPECT_EQ(k.values[2].name, "");
  EXPECT_EQ(k.values[3].type, quill::REG_BINARY);
  EXPECT_EQ(k.values[3].data, "\x01\x02\xff");
  EXPECT_EQ(k.values[4].type, 7u);
  EXPECT_EQ(k.values[4].data, std::string("a\0\0", 3));
  EXPECT_TRUE(k.values[5].remove);
  EXPECT_TRUE(file.keys[1].remove);
  EXPECT_EQ(file.keys[1].path, "Old");
}

TEST_F(RegFileTest, BadFilesReportTheirLine) {
  EXPECT_EQ(RejectedAt(""), 1);
  EXPECT_EQ(RejectedAt("Windows Registry Editor Version 4\n"), 1);
  EXPECT_EQ(RejectedAt("REGEDIT4\n\"a\"=dword:1\n"), 2);  // value before any key
  EXPECT_EQ(RejectedAt("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n"), 2);
  EXPECT_EQ(RejectedAt("REGEDIT4\n[HKEY_CURRENT_USERX]\n"), 2);
  EXPECT_EQ(RejectedAt("REGEDIT4\n[-HKEY_CURRENT_USER]\n"), 2);
  EXPECT_EQ(RejectedAt("REGEDIT4\n[HKCU\\A\n"), 2);
  const std::string head = "REGEDIT4\n[HKCU\\A]\n";
  EXPECT_EQ(RejectedAt(head + "\"a\"=dword:123456789\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=dword:\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=dword:12g\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=hex:1,2\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=hex:01;02\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=hex(zz):01\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=\"open\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=\"x\\n\"\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=\"x\" tail\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\" dword:1\n"), 3);
  EXPECT_EQ(RejectedAt(head + "a=dword:1\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=float:1\n"), 3);
  // Continuation lines count: the error names the line where the value starts.
  EXPECT_EQ(RejectedAt(head + "\"a\"=hex:01,\\\n  02,\\\n  0x\n\"b\"=-\n"), 3);
  EXPECT_EQ(RejectedAt(head + "\"a\"=hex:01,\\\n  02\n\"b\"=bad\n"), 5);
  EXPECT_EQ(RejectedAt("REGEDIT4\n[-HKCU\\A]\n\"b\"=dword:1\n"), 3);
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

TEST_F(RegFileTest, ListingShowsKeysAndValues) {
  registry_int<int>("A\\B\\V", HKEY_CURRENT_USER, 0).write(10);
  std::string text;
  ASSERT_TRUE(quill::ListSettings(*store_, "A", &text));
  EXPECT_EQ(text, "A\nA\\B\n    \"V\"=dword:0000000a\n");
  EXPECT_FALSE(quill::ListSettings(*store_, "Nope", &text));
}

}  // namespace
