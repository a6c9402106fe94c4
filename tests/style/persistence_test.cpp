#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "platform/headless/file_prompt.h"
#include "platform/prompts.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "style/document_style.h"

namespace quill {
namespace {

const std::string kRoot = "Software\\Corvane\\Verurozu Doriru\\";

class StylePersistenceTest : public ::testing::Test {
 protected:
  void SetUp() override { store = InstallMemorySettingsStore(); }
  void TearDown() override { InstallFilePrompt(nullptr); }

  bool KeyExists(const std::string& key) { return store->OpenKey(kRoot + key, false) != kNoKey; }
  int Int(const std::string& path) {
    return registry_int<int>(kRoot + path, HKEY_CURRENT_USER, -999).read();
  }
  std::string Text(const std::string& path) {
    return registry_string<std::string>(kRoot + path, HKEY_CURRENT_USER, "<none>").read();
  }

  // What the host puts in before it reads the user's settings.
  static std::unique_ptr<TDocumentStyle> HostStyle() {
    auto s = std::make_unique<TDocumentStyle>(DOCTYPE_SPICE, nullptr);
    s->InitKeywordSection("Statements", nullptr, ".", false);
    s->AddKeyword(".model", "Statements");
    return s;
  }

  // A host style with the user's changes.
  static std::unique_ptr<TDocumentStyle> UserStyle() {
    auto s = HostStyle();
    const unsigned long colors[4] = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)};
    s->InitKeywordSection("My Words", colors, "$", true);
    s->AddKeyword("MixedCase", "My Words");
    s->AddKeyword("alpha", "My Words");
    s->InitKeywordSection("Folded", nullptr, nullptr, true);
    s->IgnoreCase(2, 1);
    s->AddKeyword("UPPER", "Folded");  // stored as "upper"
    s->AddPreprocDirective("include");
    s->AddPreprocDirective("define");
    s->SetTabSize(7);
    s->SetFontName("DejaVu Sans Mono");
    s->SetFontSize(-20);
    s->SetCommentsColor(RGB(0, 128, 0), 1, 0);
    s->SetDefaultColor(RGB(250, 250, 240), 0, 0);
    return s;
  }

  // Every value under a profile, by its path below the profile's key.
  std::map<std::string, RegValue> Dump(const std::string& profile, const std::string& below = "") {
    std::map<std::string, RegValue> values;
    const SettingsKeyId key = store->OpenKey(kRoot + profile + below, false);
    for (const RegValue& v : store->EnumValues(key)) values[below + "\\" + v.name] = v;
    for (const std::string& sub : store->EnumKeys(key)) values.merge(Dump(profile, below + "\\" + sub));
    return values;
  }

  // Restores a host style from the profile: saved again, it writes what the profile holds.
  std::unique_ptr<TDocumentStyle> ExpectRoundTrip(const std::string& profile) {
    auto restored = HostStyle();
    EXPECT_TRUE(restored->RestoreFromFile(profile.c_str()));
    restored->SaveSettings("Again");
    EXPECT_GT(Dump(profile).size(), 30u);
    EXPECT_EQ(Dump(profile), Dump("Again"));
    return restored;
  }

  std::shared_ptr<MemorySettingsStore> store;
};

TEST_F(StylePersistenceTest, RoundTripThroughTheTypeProfile) {
  UserStyle()->SaveSettings(nullptr);
  EXPECT_EQ(Int("SPICE\\NumOfSections"), 2);
  EXPECT_EQ(Text("SPICE\\KeywordsSection0"), "My Words");
  EXPECT_EQ(Text("SPICE\\My Words\\Keyword0"), "MixedCase");  // byte order: 'M' < 'a'
  EXPECT_EQ(Int("SPICE\\Folded\\IgnoreCase"), 1);
  EXPECT_EQ(Text("SPICE\\Folded\\Keyword0"), "upper");
  EXPECT_EQ(Text("SPICE\\PreprocDirectives\\Keyword0"), "define");
  EXPECT_FALSE(KeyExists("SPICE\\Statements"));  // predefined keywords stay with the host
  EXPECT_EQ(Int("SPICE\\Colors\\Statements\\CUSTOM"), 0);

  auto restored = ExpectRoundTrip("SPICE");
  EXPECT_EQ(restored->IsKeyword("MixedCase", 9), 1);
  EXPECT_EQ(restored->IsKeyword("mixedcase", 9), -1);
  EXPECT_EQ(restored->IsKeyword("Upper", 5), 2);

  // Colours of predefined sections are written but not read back.
  auto host = HostStyle();
  host->SetKeywordColor(RGB(5, 5, 5), "Statements", 1, 0);
  host->SaveSettings("P");
  EXPECT_EQ(registry_binary<unsigned long>(kRoot + "P\\Colors\\Statements\\FRG_UNSELECT",
                                           HKEY_CURRENT_USER, 0).read(),
            RGB(5, 5, 5));
  ASSERT_TRUE(restored->RestoreFromFile("P"));
  EXPECT_NE(restored->GetKeywordColor("Statements", 1, 0), RGB(5, 5, 5));

  // A saved section makes a section the host now predefines under its name custom.
  host->InitKeywordSection("My Words", nullptr, nullptr, false);
  ASSERT_TRUE(host->RestoreFromFile(nullptr));
  EXPECT_TRUE(host->IsCustom("My Words"));
  EXPECT_EQ(host->IsKeyword("alpha", 5), 1);
}

TEST_F(StylePersistenceTest, ProfileNamesWithSpacesAndPaths) {
  auto saved = UserStyle();
  auto prompt = std::make_shared<HeadlessFilePrompt>();
  InstallFilePrompt(prompt);
  prompt->QueueAnswer(std::string("C:\\styles dir\\netlists.syn"));
  saved->SaveToFile();
  ASSERT_EQ(prompt->Requests().size(), 1u);
  EXPECT_TRUE(prompt->Requests()[0].save);
  EXPECT_EQ(prompt->Requests()[0].defaultExtension, "syn");
  ExpectRoundTrip("C:\\styles dir\\netlists.syn");
  // A cancelled prompt, or a name too long for the dialog's buffer, writes nothing.
  store = InstallMemorySettingsStore();
  prompt->QueueAnswer(std::nullopt);
  saved->SaveToFile();
  prompt->QueueAnswer(std::string(600, 'x'));
  saved->SaveToFile();
  EXPECT_TRUE(store->EnumKeys(store->OpenKey("", false)).empty());
}

TEST_F(StylePersistenceTest, WhatIsAndIsNotWritten) {
  auto s = HostStyle();
  s->InitKeywordSection("Empty", nullptr, nullptr, true);
  s->SaveSettings(nullptr);
  EXPECT_EQ(Dump("SPICE").count("\\NumOfSections"), 0u);
  EXPECT_FALSE(KeyExists("SPICE\\Colors\\StringConstColors"));
  EXPECT_FALSE(KeyExists("SPICE\\PreprocDirectives"));
  EXPECT_EQ(Int("SPICE\\Colors\\Empty\\CUSTOM"), 1);
  EXPECT_EQ(Int("SPICE\\FontSize"), -13);  // the font is always written

  // A custom section without keywords does not come back.
  auto restored = HostStyle();
  restored->RestoreFromFile(nullptr);
  EXPECT_EQ(restored->GetIndexByName("Empty"), -1);

  // Saving replaces everything the profile held before.
  UserStyle()->SaveSettings(nullptr);
  s->SaveSettings(nullptr);
  EXPECT_FALSE(KeyExists("SPICE\\My Words"));
}

// A stored tab size outside 1..64 (an older version accepted 0 to 1000000) is clamped.
TEST_F(StylePersistenceTest, StoredTabSizesAreClampedAndMissingValuesKeptWhenRead) {
  for (const auto& [stored, read] : {std::pair{0, 1}, {-5, 1}, {64, 64}, {1000000, 64}}) {
    registry_int<int>(kRoot + "SPICE\\TabSize", HKEY_CURRENT_USER, 0).write(stored);
    auto s = HostStyle();
    ASSERT_TRUE(s->RestoreFromFile(nullptr));
    EXPECT_EQ(s->GetTabSize(), read) << stored;
  }
  // A profile without values keeps the current ones.
  auto s = HostStyle();
  s->SetTabSize(5);
  s->SetCommentsColor(RGB(1, 2, 3), 1, 0);
  ASSERT_TRUE(s->RestoreFromFile("Nothing Saved"));
  EXPECT_EQ(s->GetTabSize(), 5);
  EXPECT_EQ(s->GetFontName(), "Courier New");
  EXPECT_EQ(s->GetCommentsColor(1, 0), RGB(1, 2, 3));
}

}  // namespace
}  // namespace quill
