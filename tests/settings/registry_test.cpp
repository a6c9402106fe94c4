#include "settings/registry.h"

#include <gtest/gtest.h>

#include "settings/store.h"

namespace {

using quill::RegistryPath;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { store_ = quill::InstallMemorySettingsStore(); }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  // Stores raw data under a full path, bypassing the typed classes.
  void Put(const std::string& key, const std::string& name, std::uint32_t type,
           const std::string& data) {
    auto id = store_->OpenKey(key, true);
    ASSERT_NE(id, quill::kNoKey);
    ASSERT_TRUE(store_->SetValue(id, name, type, data));
  }
  bool Get(const std::string& key, const std::string& name, quill::RegValue* out) {
    auto id = store_->OpenKey(key, false);
    return id != quill::kNoKey && store_->QueryValue(id, name, out);
  }

  std::shared_ptr<quill::MemorySettingsStore> store_;
};

TEST_F(RegistryTest, PathsJoinSectionsWithOneSeparator) {
  EXPECT_EQ(RegistryPath("\\General", "\\AutoLoad"),
            "Software\\Corvane\\Verurozu Doriru\\General\\AutoLoad");
  EXPECT_EQ(RegistryPath("COMMON\\", "Finds\\Number"),
            "Software\\Corvane\\Verurozu Doriru\\COMMON\\Finds\\Number");
  registry_int<int> v(RegistryPath("COMMON\\", "Finds\\Number"), HKEY_CURRENT_USER, 0);
  EXPECT_EQ(v.key_path(), "Software\\Corvane\\Verurozu Doriru\\COMMON\\Finds");
  EXPECT_EQ(v.value_name(), "Number");
  registry_int<int> bare("NoKey", HKEY_CURRENT_USER, 0);
  EXPECT_EQ(bare.key_path(), "");
  EXPECT_EQ(bare.value_name(), "NoKey");
}

TEST_F(RegistryTest, GeneralOptionsDefaultAndRoundTrip) {
  EXPECT_EQ(quill::GetRegistryAutoLoad(), quill::AUTOLOAD_OFF);
  EXPECT_EQ(quill::GetRegistrySaveOptions(), quill::SAVEOPTION_SAVE_ALL);
  quill::SetRegistryAutoLoad(quill::AUTOLOAD_ON);
  quill::SetRegistrySaveOptions(quill::SAVEOPTION_DONT_SAVE);
  EXPECT_EQ(quill::GetRegistryAutoLoad(), quill::AUTOLOAD_ON);
  EXPECT_EQ(quill::GetRegistrySaveOptions(), quill::SAVEOPTION_DONT_SAVE);
  // Stored under the root with single separators, as DWORDs.
  quill::RegValue v;
  ASSERT_TRUE(Get("Software\\Corvane\\Verurozu Doriru\\General", "AutoLoad", &v));
  EXPECT_EQ(v.type, quill::REG_DWORD);
  EXPECT_EQ(v.data, std::string("\0\0\0\0", 4));
  ASSERT_TRUE(Get("Software\\Corvane\\Verurozu Doriru\\General", "SaveOption", &v));
  EXPECT_EQ(v.data, std::string("\2\0\0\0", 4));
  EXPECT_EQ(store_->EnumKeys(store_->OpenKey("Software\\Corvane\\Verurozu Doriru", false)),
            std::vector<std::string>{"General"});
}
}  // namespace
