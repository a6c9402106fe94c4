#include "settings/registry.h"

#include <gtest/gtest.h>

#include "platform/types.h"
#include "settings/sqlite_store.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace {

using quill_test::ReadInt;

// Every case runs on the in-memory store and on the SQLite store in a fresh folder.
class RegistryTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "memory") {
      store_ = std::make_shared<quill::MemorySettingsStore>();
    } else {
      dir_ = std::make_unique<quill_test::TempDir>();
      store_ = std::make_shared<quill::SqliteSettingsStore>(dir_->Path() + "/registry.db");
    }
    quill::SetSettingsStore(store_);
  }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  // Stores raw data under a full path, bypassing the typed classes.
  void Put(const std::string& key, const std::string& name, std::uint32_t type,
           const std::string& data) {
    auto id = store_->OpenKey(key, true);
    ASSERT_NE(id, quill::kNoKey);
    ASSERT_TRUE(store_->SetValue(id, name, type, data));
  }

  std::unique_ptr<quill_test::TempDir> dir_;
  std::shared_ptr<quill::SettingsStore> store_;
};

INSTANTIATE_TEST_SUITE_P(Stores, RegistryTest, ::testing::Values("memory", "sqlite"),
                         [](const auto& info) { return std::string(info.param); });

TEST_P(RegistryTest, FourByteValuesConvertToAndFromTheirType) {
  const std::string key = "Software\\Corvane\\Verurozu Doriru\\Test";
  const std::string path = key + "\\V";
  Put(key, "V", quill::REG_DWORD, std::string("\2\0\0\0", 4));
  EXPECT_TRUE((registry_int<bool>(path, HKEY_CURRENT_USER, false).read()));
  Put(key, "V", quill::REG_DWORD, std::string("\x34\x12\x01\x80", 4));
  EXPECT_EQ((registry_int<short>(path, HKEY_CURRENT_USER, 0).read()), 0x1234);
  EXPECT_EQ(ReadInt(path), static_cast<int>(0x80011234u));
  // The stored type is not checked: a binary value reads as an int too.
  Put(key, "V", quill::REG_BINARY, std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(ReadInt(path), -1);
  // Data longer than 4 bytes does not fit the buffer: the default stays.
  Put(key, "V", quill::REG_SZ, "longer text");
  EXPECT_EQ(ReadInt(path, 77), 77);
  // Shorter data replaces only the leading bytes of the default.
  Put(key, "V", quill::REG_BINARY, std::string("\x01", 1));
  EXPECT_EQ((registry_binary<unsigned long>(path, HKEY_CURRENT_USER, 0x0A0B0C0DUL).read()),
            0x0A0B0C01UL);
  // Narrow types store four bytes, zero-extended.
  registry_int<char>(path, HKEY_CURRENT_USER, 0).write(static_cast<char>(-2));
  quill::RegValue v;
  ASSERT_TRUE(store_->QueryValueAt(key, "V", &v));
  EXPECT_EQ(v.type, quill::REG_DWORD);
  EXPECT_EQ(v.data, std::string("\xfe\0\0\0", 4));
}

TEST_P(RegistryTest, StringsAbsentEmptyAndEmbeddedNul) {
  const std::string path = "Software\\Corvane\\Verurozu Doriru\\S\\Name";
  registry_string<std::string> s(path, HKEY_CURRENT_USER, "fallback");
  EXPECT_FALSE(s.exists());
  EXPECT_EQ(s.read(), "fallback");
  s.write("");
  EXPECT_TRUE(s.exists());
  EXPECT_EQ(s.read(), "");
  Put("Software\\Corvane\\Verurozu Doriru\\S", "Name", quill::REG_SZ,
      std::string("ab\0cd", 5));
  EXPECT_EQ(s.read(), "ab");
  // Without any NUL the whole data is the text.
  Put("Software\\Corvane\\Verurozu Doriru\\S", "Name", quill::REG_BINARY, "xyz");
  EXPECT_EQ(s.read(), "xyz");
  // Roots other than the current user's store nothing and read the default.
  registry_int<int> other("A\\B", HKEY(42), 9);
  other.write(3);
  EXPECT_EQ(other.read(), 9);
  EXPECT_EQ(store_->OpenKey("A", false), quill::kNoKey);
}

TEST_P(RegistryTest, NamesIgnoreAsciiCaseAndKeepTheirFirstSpelling) {
  quill_test::WriteInt("Software\\Corvane\\Verurozu Doriru\\Mixed\\Count", 5);
  registry_int<int> other("SOFTWARE\\corvane\\VERUROZU doriru\\mixed\\COUNT",
                          HKEY_CURRENT_USER, 0);
  EXPECT_EQ(other.read(), 5);
  other.write(6);
  auto id = store_->OpenKey("software\\corvane\\verurozu doriru\\mixed", false);
  auto values = store_->EnumValues(id);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, "Count");
  EXPECT_EQ(values[0].data, std::string("\6\0\0\0", 4));
  EXPECT_EQ(store_->EnumKeys(store_->OpenKey("software\\CORVANE", false)),
            std::vector<std::string>{"Verurozu Doriru"});
  // Only ASCII letters fold.
  quill_test::WriteInt("K\\\xc4", 1);
  EXPECT_FALSE((registry_int<int>("K\\\xe4", HKEY_CURRENT_USER, 0).exists()));
}

TEST_P(RegistryTest, KeyDeletionPlainAndRecursive) {
  const std::string p = "Software\\Corvane\\Verurozu Doriru\\CPP";
  quill_test::WriteInt(p + "\\TabSize", 4);
  quill_test::WriteInt(p + "\\Colors\\Keywords\\CUSTOM", 1);
  EXPECT_FALSE(quill::RegDeleteKey(HKEY_CURRENT_USER, p));  // has subkeys
  EXPECT_TRUE(quill::RegDeleteKey(HKEY_CURRENT_USER, p + "\\Colors\\Keywords"));
  EXPECT_TRUE(quill::SHDeleteKey(HKEY_CURRENT_USER, "software\\corvane\\verurozu doriru\\cpp"));
  EXPECT_EQ(store_->OpenKey(p, false), quill::kNoKey);
  EXPECT_NE(store_->OpenKey("Software\\Corvane\\Verurozu Doriru", false), quill::kNoKey);
  EXPECT_FALSE(quill::SHDeleteKey(HKEY_CURRENT_USER, p));
  EXPECT_FALSE(quill::SHDeleteKey(HKEY_CURRENT_USER, ""));  // never the root
  // A new key of the same name starts empty.
  EXPECT_FALSE((registry_int<int>(p + "\\TabSize", HKEY_CURRENT_USER, 0).exists()));
}

// Keys and names beyond the Windows registry's limits are refused by every store, and the
// library says which setting it did not save.
TEST_P(RegistryTest, StoresRefuseKeysAndNamesBeyondTheLimits) {
  auto deep = [](size_t n) {
    std::string p = "K";
    for (size_t i = 1; i < n; ++i) p += "\\K";
    return p;
  };
  const std::string lf = "a\nb";
  const struct {
    std::string key, value;
    bool ok;
  } cases[] = {
      {deep(quill::kMaxKeyDepth), "v", true},
      {deep(quill::kMaxKeyDepth + 1), "v", false},
      {std::string(quill::kMaxKeyName, 'k'), std::string(quill::kMaxValueName, 'v'), true},
      {std::string(quill::kMaxKeyName + 1, 'k'), "v", false},
      {"K", std::string(quill::kMaxValueName + 1, 'v'), false},
      // Line breaks and NULs are names like any other (exports escape them).
      {"K\\" + lf, std::string("a\r\0b", 4), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key.substr(0, 20) + " / " + c.value.substr(0, 20));
    auto id = store_->OpenKey(c.key, true);
    EXPECT_EQ(id != quill::kNoKey && store_->SetValue(id, c.value, quill::REG_DWORD, "1234"), c.ok);
  }
  testing::internal::CaptureStderr();
  // A problem is shown once: the key starts with the store's name.
  quill_test::WriteInt(std::string(GetParam()) + "\\" + deep(quill::kMaxKeyDepth) + "\\V", 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("at most 512 keys deep"), std::string::npos);
}

}  // namespace
