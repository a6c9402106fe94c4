#include "settings/regfile.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sqlite3.h>

#include "settings/registry.h"
#include "settings/sqlite_store.h"
#include "temp_dir.h"

namespace {

using quill::RegFile;
using quill::RegFileError;
using quill_test::ReadString;

// UTF-16 bytes of UTF-8 text, as Windows writes its files.
std::string Utf16(std::string utf8, bool bom = true, bool big_endian = false) {
  iconv_t cd = iconv_open(big_endian ? "UTF-16BE" : "UTF-16LE", "UTF-8");
  std::string out(utf8.size() * 2, '\0');
  char *in = utf8.data(), *to = out.data();
  size_t in_left = utf8.size(), out_left = out.size();
  iconv(cd, &in, &in_left, &to, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return std::string(bom ? (big_endian ? "\xFE\xFF" : "\xFF\xFE") : "") + out;
}

RegFile Parse(const std::string& text) {
  RegFile file;
  RegFileError error;
  EXPECT_TRUE(quill::ParseRegFile(text, &file, &error)) << error.line << ": " << error.message;
  return file;
}

// Every key path of a store with its values, parents first.
std::vector<std::pair<std::string, std::vector<quill::RegValue>>> Dump(quill::SettingsStore& store,
                                                                      const std::string& path = "") {
  std::vector<std::pair<std::string, std::vector<quill::RegValue>>> out;
  const quill::SettingsKeyId id = store.OpenKey(path, false);
  out.emplace_back(path, store.EnumValues(id));
  for (const std::string& child : store.EnumKeys(id)) {
    for (auto& entry : Dump(store, path.empty() ? child : path + "\\" + child)) {
      out.push_back(std::move(entry));
    }
  }
  return out;
}

class RegFileTest : public ::testing::Test {
 protected:
  void SetUp() override { store_ = quill::InstallMemorySettingsStore(); }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  std::shared_ptr<quill::MemorySettingsStore> store_;
};

TEST_F(RegFileTest, BadFilesReportTheirLine) {
  const std::string head = "REGEDIT4\n[HKCU\\A]\n";
  std::string deep;
  for (size_t i = 0; i <= quill::kMaxKeyDepth; ++i) deep += "\\K";
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
      // The registry's limits; line breaks and NULs in names only as escapes.
      {"REGEDIT4\n\n[HKCU" + deep + "]\n", 3},
      {"REGEDIT4\n[HKCU\\" + std::string(256, 'k') + "]\n", 2},
      {head + "\"" + std::string(16384, 'v') + "\"=dword:1\n", 3},
      {head + "\"a\rb\"=dword:1\n", 3},
      {head + std::string("\"a\0b\"=dword:1\n", 15), 3},
      {"REGEDIT4\n[HKCU\\a\rb]\n", 2},
      {"REGEDIT4\n[\"HKCU\\\\a\\t\"]\n", 2},
      {"REGEDIT4\n[\"HKCU\\\\a\" ]\n", 2},
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

  // Every byte, CR, LF and NUL among them, in a key name, a value name and a text.
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  std::string key_name = bytes;
  key_name.erase(key_name.find('\\'), 1);
  auto odd = store_->OpenKey(root + "\\" + key_name.substr(0, 200) + "\\" + key_name.substr(200), true);
  ASSERT_NE(odd, quill::kNoKey);
  ASSERT_TRUE(store_->SetValue(odd, bytes, quill::REG_SZ, bytes + '\0'));
  ASSERT_TRUE(store_->SetValue(store_->OpenKey("Line\nBreak\r\nKey", true), "a\r\nb\\c",
                               quill::REG_SZ, std::string("x\n\0", 3)));

  std::string exported;
  ASSERT_TRUE(quill::ExportRegFile(*store_, "", &exported));
  EXPECT_EQ(exported.rfind("REGEDIT4\r\n\r\n", 0), 0u);
  for (const char* lines : {"[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\General]\r\n"
                            "\"TabSize\"=dword:fffffffd\r\n",
                            "\"FontName\"=\"Courier \\\"New\\\" \\\\ ;[x]\"\r\n", "\"FRG_SELECT\"=hex:ee,ff,c0,00\r\n",
                            "\"Short\"=hex(4):01,02\r\n", "\"NoNul\"=hex(1):72,61,77\r\n"})
    EXPECT_NE(exported.find(lines), std::string::npos) << lines;
  // Hex lines are wrapped.
  for (size_t start = 0, end; (end = exported.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_TRUE(exported[start] == '[' || exported[start] == '"' || end - start <= 80)
        << exported.substr(start, end - start);
  std::string exported5;
  ASSERT_TRUE(quill::ExportRegFile(*store_, "", &exported5, quill::RegFileFormat::kVersion5));
  EXPECT_EQ(exported5.rfind(Utf16("Windows Registry Editor Version 5.00\r\n\r\n[")), 0u);

  // Both formats bring back the same store, and the same file again.
  for (const auto& [format, text] : {std::pair{quill::RegFileFormat::kRegedit4, exported},
                                     std::pair{quill::RegFileFormat::kVersion5, exported5}}) {
    auto fresh = std::make_shared<quill::MemorySettingsStore>();
    ASSERT_TRUE(quill::ApplyRegFile(*fresh, Parse(text)));
    EXPECT_EQ(Dump(*fresh), Dump(*store_));
    std::string again;
    ASSERT_TRUE(quill::ExportRegFile(*fresh, "", &again, format));
    EXPECT_EQ(again, text);
  }
  EXPECT_NE(exported.find("[\"HKEY_CURRENT_USER\\\\Line\\nBreak\\r\\nKey\"]\r\n"
                          "\"a\\r\\nb\\\\c\"=hex(1):78,0a,00\r\n"),
            std::string::npos);

  // Names with line breaks and NULs that another program wrote into a database come back
  // the same from their export, in a database again.
  quill_test::TempDir dir;
  {
    quill::SqliteSettingsStore db(dir.Path() + "/registry.db");
    db.SetValue(db.OpenKey("Odd\\Key", true), "v", quill::REG_DWORD, std::string("\1\0\0\0", 4));
    sqlite3* raw = nullptr;
    sqlite3_open((dir.Path() + "/registry.db").c_str(), &raw);
    sqlite3_exec(raw, "UPDATE vals SET name = 'a' || char(10) || 'b' || char(0) || 'c';"
                      "UPDATE keys SET name = 'K' || char(13, 10) || 'ey',"
                      " path = 'Odd\\K' || char(13, 10) || 'ey' WHERE name = 'Key'",
                 nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    std::string odd;
    ASSERT_TRUE(quill::ExportRegFile(db, "", &odd));
    EXPECT_NE(odd.find("[\"HKEY_CURRENT_USER\\\\Odd\\\\K\\r\\ney\"]\r\n\"a\\nb\\0c\"=dword:00000001"),
              std::string::npos) << odd;
    quill::SqliteSettingsStore again(dir.Path() + "/again.db");
    ASSERT_TRUE(quill::ApplyRegFile(again, Parse(odd)));
    EXPECT_EQ(Dump(again), Dump(db));
    EXPECT_EQ(Dump(again)[2].second.at(0).name, std::string("a\nb\0c", 5));
  }

  // A sub-tree exports alone; an absent key is an error.
  std::string part;
  ASSERT_TRUE(quill::ExportRegFile(*store_, "software\\corvane\\verurozu doriru\\cpp", &part));
  EXPECT_EQ(part.find("General"), std::string::npos);
  EXPECT_NE(part.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\CPP\\Colors\\Kw]"),
            std::string::npos);
  EXPECT_FALSE(quill::ExportRegFile(*store_, "No\\Such", &part));
}

// What a Windows machine exports of a user's styles, histories and page setup: UTF-16 with
// CRLF lines, text beyond ASCII, and value types the component never writes (exported
// again unchanged, as the export test's foreign types show).
TEST_F(RegFileTest, ImportsAFileExportedOnWindows) {
  const std::string kRoot = "Software\\Corvane\\Verurozu Doriru";
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\General]\r\n"
      "\"AutoLoad\"=dword:00000000\r\n\"SaveOption\"=dword:00000002\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\COMMON\\Finds\\Item]\r\n"
      "\"0\"=\"Größe “€”\"\r\n\"1\"=\"C:\\\\netlists\\\\top.sp\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\Page Setup]\r\n"
      "\"Left\"=hex:e8,03,00,00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\SPICE]\r\n"
      "\"FontName\"=\"Lucida Console\"\r\n"
      "\"Paths\"=hex(7):43,00,3a,00,5c,00,00,00,00,00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Corvane\\Verurozu Doriru\\SPICE\\Colors\\Keyword]\r\n"
      "\"FRG_NORMAL\"=hex:00,00,ff,00\r\n\r\n";
  ASSERT_TRUE(quill::ApplyRegFile(*store_, Parse(Utf16(text))));

  auto at = [&](const std::string& rest) { return kRoot + "\\" + rest; };
  EXPECT_EQ(quill::GetRegistryAutoLoad(), quill::AUTOLOAD_ON);
  EXPECT_EQ(quill::GetRegistrySaveOptions(), quill::SAVEOPTION_DONT_SAVE);
  EXPECT_EQ(ReadString(at("COMMON\\Finds\\Item\\0")), "Gr\xF6\xDF" "e \x93\x80\x94");
  EXPECT_EQ(ReadString(at("COMMON\\Finds\\Item\\1")), "C:\\netlists\\top.sp");
  EXPECT_EQ((registry_binary<long>(at("Page Setup\\Left"), HKEY_CURRENT_USER, 0).read()), 1000);
  EXPECT_EQ(ReadString(at("SPICE\\FontName")), "Lucida Console");
  EXPECT_EQ(quill_test::ReadInt(at("SPICE\\Colors\\Keyword\\FRG_NORMAL")), 0x00FF0000);
  // A type the component never writes is kept as it is.
  quill::RegValue v;
  ASSERT_TRUE(store_->QueryValueAt(at("SPICE"), "Paths", &v));
  EXPECT_EQ(v.type, 7u);
  EXPECT_EQ(v.data, std::string("C\0:\0\\\0\0\0\0\0", 10));
}

TEST_F(RegFileTest, ReadsEveryEncodingAndNamesTheLineOfABadCharacter) {
  // UTF-16 LE with a mark is the file exported on Windows above.
  const std::string v5 = "Windows Registry Editor Version 5.00\n[HKCU\\E]\n";
  const struct {
    const char* name;
    std::string file;
    int error_line;  // 0: reads, and "n" holds the byte 0xE9
  } cases[] = {
      {"UTF-16 BE", Utf16(v5 + "\"n\"=\"é\"\n", true, true), 0},
      {"UTF-16 without a mark", Utf16(v5 + "\"n\"=\"é\"\n", false), 0},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + v5 + "\"n\"=\"é\"\n", 0},
      {"UTF-8", v5 + "\"n\"=\"é\"\n", 0},
      {"Windows-1252", "REGEDIT4\n[HKCU\\E]\n\"n\"=\"\xE9\"\n", 0},
      {"no Windows-1252 byte", Utf16(v5 + "\"n\"=\"é\"\r\n\"m\"=\"中\"\r\n"), 4},
      {"odd length", Utf16(v5) + "x", 3},
      {"lone surrogate", Utf16(v5) + std::string("\x00\xD8\x41\x00", 4), 3},
      {"bad UTF-8", "\xEF\xBB\xBF" + v5 + "\"n\"=\"\xE9\"\n", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegFile file;
    RegFileError error;
    bool ok = quill::ParseRegFile(c.file, &file, &error);
    ASSERT_EQ(ok, c.error_line == 0) << error.line << ": " << error.message;
    if (!ok) {
      EXPECT_EQ(error.line, c.error_line) << error.message;
      continue;
    }
    ASSERT_EQ(file.keys.size(), 1u);
    ASSERT_EQ(file.keys[0].values.size(), 1u);
    EXPECT_EQ(file.keys[0].values[0].data, std::string("\xE9\0", 2));
  }
}

TEST_F(RegFileTest, ImportAppliesDeletionsAndIsAllOrNothing) {
  for (const auto& [path, value] : {std::pair{"A\\Keep", 1}, {"A\\Drop", 2}, {"Old\\Sub\\V", 3}})
    quill_test::WriteInt(path, value);
  ASSERT_TRUE(quill::ApplyRegFile(
      *store_, Parse("REGEDIT4\n; a comment\n[HKCU\\A]\n\"Drop\"=-\n\"New\"=dword:00000009\n"
                     "[-HKCU\\Old]\n")));
  std::string text;
  ASSERT_TRUE(quill::ListSettings(*store_, "A", &text));
  EXPECT_EQ(text, "A\n    \"Keep\"=dword:00000001\n    \"New\"=dword:00000009\n");
  EXPECT_FALSE(quill::ListSettings(*store_, "Nope", &text));
  EXPECT_EQ(store_->OpenKey("Old", false), quill::kNoKey);

  // A file that changes a key or a value more than once ends as if applied line by line,
  // in memory and in a database: a deleted key made again takes the file's spelling, a value
  // keeps the spelling it was first set with.
  quill_test::TempDir dir;
  quill::SqliteSettingsStore db(dir.Path() + "/registry.db");
  const std::string twice =
      "REGEDIT4\n[HKCU\\A]\n\"Keep\"=-\n[HKCU\\T\\Sub]\n\"v\"=dword:1\n[-HKCU\\t]\n"
      "[HKCU\\t\\New]\n\"V\"=dword:2\n\"v\"=dword:3\n\"w\"=-\n\"W\"=dword:4\n[-HKCU\\Old\\None]\n";
  for (quill::SettingsStore* store : {static_cast<quill::SettingsStore*>(store_.get()),
                                      static_cast<quill::SettingsStore*>(&db)}) {
    const std::string base = "REGEDIT4\n[HKCU\\A]\n\"New\"=dword:9\n\"keep\"=dword:1\n";
    ASSERT_TRUE(quill::ApplyRegFile(*store, Parse(base)));
    ASSERT_TRUE(quill::ApplyRegFile(*store, Parse(twice)));
    ASSERT_TRUE(quill::ListSettings(*store, "", &text));
    EXPECT_EQ(text, "(root)\nA\n    \"New\"=dword:00000009\nt\nt\\New\n    \"V\"=dword:00000003\n"
                    "    \"W\"=dword:00000004\n");
  }

  // A store that refuses a write mid-way keeps none of the file.
  class Refusing : public quill::MemorySettingsStore {
   public:
    bool SetValue(quill::SettingsKeyId key, std::string_view name, std::uint32_t type,
                  std::string_view data) override {
      if (name == "Bad") return false;
      return MemorySettingsStore::SetValue(key, name, type, data);
    }
  } refusing;
  EXPECT_FALSE(
      quill::ApplyRegFile(refusing, Parse("REGEDIT4\n[HKCU\\X]\n\"Ok\"=dword:1\n\"Bad\"=dword:2\n")));
  EXPECT_EQ(refusing.OpenKey("X", false), quill::kNoKey);
}

}  // namespace
