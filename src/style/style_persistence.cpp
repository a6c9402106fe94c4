// Saving a style to the settings store and restoring it, one key per profile.

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "platform/prompts.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "style/document_style.h"

namespace quill {
namespace {

constexpr const char* kColorNames[4] = {"BKG_UNSELECT", "FRG_UNSELECT", "BKG_SELECT", "FRG_SELECT"};

// Paths below the profile's key: Value("TabSize"), Value("Colors\\" + section, "CUSTOM").
class ProfilePaths {
 public:
  explicit ProfilePaths(std::string profile) : m_profile(std::move(profile)) {}
  std::string Key() const { return RegistryPath(m_profile, ""); }
  std::string Value(const std::string& name) const { return RegistryPath(m_profile, "\\" + name); }
  std::string Value(const std::string& key, const std::string& name) const {
    return RegistryPath(m_profile, "\\" + key + "\\" + name);
  }

 private:
  std::string m_profile;
};

std::string Numbered(const char* name, int n) { return name + std::to_string(n); }

void WriteInt(const std::string& path, int value) {
  registry_int<int>(path, HKEY_CURRENT_USER, 0).write(value);
}
void WriteText(const std::string& path, const std::string& value) {
  registry_string<std::string>(path, HKEY_CURRENT_USER, std::string()).write(value);
}
void WriteColor(const std::string& path, COLORREF value) {
  registry_binary<unsigned long>(path, HKEY_CURRENT_USER, 0).write(value);
}
int ReadInt(const std::string& path, int def) {
  return registry_int<int>(path, HKEY_CURRENT_USER, def).read();
}
COLORREF ReadColor(const std::string& path, COLORREF def) {
  return static_cast<COLORREF>(registry_binary<unsigned long>(path, HKEY_CURRENT_USER, def).read());
}
// The text of a value that is there; nothing when it is absent.
bool ReadText(const std::string& path, std::string* out) {
  registry_string<std::string> value(path, HKEY_CURRENT_USER, std::string());
  if (!value.exists()) return false;
  *out = value.read();
  return true;
}

}  // namespace

// The registry keys of the five fixed kinds of text, in the order they are stored.
const std::array<std::pair<const char*, TDocumentStyle::Section TDocumentStyle::*>, 5>&
TDocumentStyle::FixedKinds() {
  static const std::array<std::pair<const char*, Section TDocumentStyle::*>, 5> kinds = {{
      {"StringConstColors", &TDocumentStyle::m_stringColors},
      {"CommentsColors", &TDocumentStyle::m_commentColors},
      {"NumbersColors", &TDocumentStyle::m_numberColors},
      {"PreProcColors", &TDocumentStyle::m_preprocColors},
      {"DefaultColors", &TDocumentStyle::m_defaultColors},
  }};
  return kinds;
}

void TDocumentStyle::SaveSettings(const char* name) const {
  const std::string profile = name ? std::string(name) : GetProfileName();
  if (profile.empty()) return;
  const ProfilePaths p(profile);

  GetSettingsStore()->Transact([&] {
    if (!RegDeleteKey(HKEY_CURRENT_USER, p.Key())) SHDeleteKey(HKEY_CURRENT_USER, p.Key());
    const std::unique_ptr<TDocumentStyle> defaults(GetDefaultStyle());

    // Keywords of custom sections, numbered within their section in map order.
    std::vector<int> counters(m_sections.size(), 0);
    for (const auto& [text, section] : m_keywords) {
      if (!IsCustom(section)) continue;
      WriteText(p.Value(m_sections[section].name, Numbered("Keyword", counters[section]++)), text);
    }
    int saved = 0;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
      if (counters[s] == 0) continue;
      const Section& sec = m_sections[s];
      WriteText(p.Value(Numbered("KeywordsSection", saved++)), sec.name);
      WriteInt(p.Value(sec.name, "IgnoreCase"), sec.ignoreCase != 0 ? 1 : 0);
      WriteInt(p.Value(sec.name, "UserDefined"), sec.custom ? 1 : 0);
      WriteText(p.Value(sec.name, "SectionName"), sec.name);
      WriteInt(p.Value(sec.name, "NumOfKeywords"), counters[s]);
      WriteText(p.Value(sec.name, "AllowedChars"), sec.allowedChars);
    }
    if (saved > 0) WriteInt(p.Value("NumOfSections"), saved);

    WriteInt(p.Value("TabSize"), GetTabSize());
    WriteText(p.Value("FontName"), GetFontName());
    WriteInt(p.Value("FontSize"), GetFontSize());

    int directive = 0;
    for (const std::string& d : m_directives)
      WriteText(p.Value("PreprocDirectives", Numbered("Keyword", directive++)), d);
    if (directive > 0) WriteInt(p.Value("PreprocDirectives", "NumOfKeywords"), directive);

    for (const Section& sec : m_sections) {
      const std::string key = "Colors\\" + sec.name;
      for (int c = 0; c < 4; ++c) WriteColor(p.Value(key, kColorNames[c]), sec.colors[c]);
      WriteInt(p.Value(key, "CUSTOM"), sec.custom ? 1 : 0);
      WriteInt(p.Value(key, "IgnoreCase"), sec.ignoreCase != 0 ? 1 : 0);
    }
    for (const auto& [key, kind] : FixedKinds())
      for (int c = 0; c < 4; ++c)
        if ((this->*kind).colors[c] != ((*defaults).*kind).colors[c])
          WriteColor(p.Value(std::string("Colors\\") + key, kColorNames[c]), (this->*kind).colors[c]);
    return true;
  });
}

bool TDocumentStyle::RestoreFromFile(const char* name) {
  const std::string profile = name ? std::string(name) : GetProfileName();
  if (profile.empty()) return false;
  const ProfilePaths p(profile);

  std::string face;
  if (!ReadText(p.Value("FontName"), &face) || face.empty()) face = GetFontName();
  SetFontName(face.c_str());
  SetFontSize(ReadInt(p.Value("FontSize"), GetFontSize()));
  SetTabSize(ClampTabSize(ReadInt(p.Value("TabSize"), GetTabSize())));

  // One flag variable serves both section switches: a missing value repeats the last one
  // read.
  short flag = 0;
  const int sections = ReadInt(p.Value("NumOfSections"), 0);
  for (int i = 0; i < sections; ++i) {
    std::string s;
    if (!ReadText(p.Value(Numbered("KeywordsSection", i)), &s)) continue;
    flag = registry_int<short>(p.Value(s, "UserDefined"), HKEY_CURRENT_USER, flag).read();
    if (flag != 1) continue;
    const int number = InitKeywordSection(s.c_str(), nullptr, nullptr, false);
    Section& sec = m_sections[static_cast<std::size_t>(number)];
    sec.custom = true;
    flag = registry_int<short>(p.Value(s, "IgnoreCase"), HKEY_CURRENT_USER, flag).read();
    sec.ignoreCase = flag == 1 ? 1 : 0;
    const int keywords = ReadInt(p.Value(s, "NumOfKeywords"), 0);
    ReadText(p.Value(s, "AllowedChars"), &sec.allowedChars);
    for (int c = 0; c < 4; ++c)
      sec.colors[c] = ReadColor(p.Value("Colors\\" + s, kColorNames[c]), sec.colors[c]);
    for (int k = 0; k < keywords; ++k) {
      std::string text;
      if (ReadText(p.Value(s, Numbered("Keyword", k)), &text))
        m_keywords.emplace(std::move(text), static_cast<std::uint8_t>(number));
    }
  }

  const int directives = ReadInt(p.Value("PreprocDirectives", "NumOfKeywords"), 0);
  for (int k = 0; k < directives; ++k) {
    std::string text;
    if (ReadText(p.Value("PreprocDirectives", Numbered("Keyword", k)), &text))
      m_directives.insert(std::move(text));
  }

  for (const auto& [key, kind] : FixedKinds())
    for (int c = 0; c < 4; ++c)
      (this->*kind).colors[c] =
          ReadColor(p.Value(std::string("Colors\\") + key, kColorNames[c]), (this->*kind).colors[c]);

  KeywordsChanged();
  AllowedCharsChanged();
  m_bRestored = true;
  return true;
}

void TDocumentStyle::SaveToFile() const {
  FilePromptRequest request;
  request.save = true;
  request.defaultExtension = "syn";
  request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  std::error_code ec;
  request.initialDirectory = std::filesystem::current_path(ec).string();
  request.maxPathLength = 512;
  if (const std::optional<std::string> path = PromptForFileName(request))
    SaveSettings(path->c_str());
}

}  // namespace quill
