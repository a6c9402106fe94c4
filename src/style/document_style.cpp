#include "style/document_style.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/display.h"
#include "resources/strings.h"
#include "style/style_tables.h"

namespace quill {
namespace {

// Hands a copy of text to the caller as a new[] array, freeing the previous one; an empty
// text leaves the caller's pointer alone.
void CopyOut(const std::string& text, char** out) {
  if (!out || text.empty()) return;
  delete[] *out;
  *out = new char[text.size() + 1];
  std::memcpy(*out, text.c_str(), text.size() + 1);
}

bool ValidSlot(int slot) { return slot >= 0 && slot < 3; }
bool ValidColorSlot(int fg, int sel) {
  const int slot = fg + 2 * sel;
  return slot >= 0 && slot < 4;
}

}  // namespace

TDocumentStyle::Section::Section()
    : colors{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
             GetSysColor(COLOR_HIGHLIGHTTEXT), ~GetSysColor(COLOR_WINDOWTEXT) & 0xFFFFFFu} {}

TDocumentStyle::TDocumentStyle(DocumentType type, const char*)
    : m_type(type), m_keywordCursor(m_keywords.end()), m_pImpl(std::make_unique<TTextStyleImpl>()) {
  m_stringColors.name = LoadString(IDS_STYLE_STRING_CONSTANTS);
  m_commentColors.name = LoadString(IDS_STYLE_COMMENTS);
  m_numberColors.name = LoadString(IDS_STYLE_NUMBERS);
  m_preprocColors.name = LoadString(IDS_STYLE_PREPROCESSOR);
  m_defaultColors.name = LoadString(IDS_STYLE_NORMAL_TEXT);
  RestoreDefaults(this);
}

TDocumentStyle::TDocumentStyle(const TDocumentStyle& other)
    : m_type(other.m_type), m_keywordCursor(m_keywords.end()) {
  *this = other;
  m_bRestored = false;
}

TDocumentStyle& TDocumentStyle::operator=(const TDocumentStyle& other) {
  if (this == &other) return *this;
  m_type = other.m_type;
  m_bIgnoreCase = other.m_bIgnoreCase;
  m_cPreproc = other.m_cPreproc;
  m_cStringEsc = other.m_cStringEsc;
  m_cCharEsc = other.m_cCharEsc;
  m_cIdentEscape = other.m_cIdentEscape;
  m_cNumberBase = other.m_cNumberBase;
  for (int i = 0; i < 2; ++i) {
    m_strMLComment[i] = other.m_strMLComment[i];
    m_strString[i] = other.m_strString[i];
    m_strChar[i] = other.m_strChar[i];
  }
  for (int i = 0; i < 3; ++i) {
    m_strSLComment[i] = other.m_strSLComment[i];
    m_strSLPrefix[i] = other.m_strSLPrefix[i];
    m_bSLBol[i] = other.m_bSLBol[i];
  }
  m_strHexPrefix = other.m_strHexPrefix;
  m_keywords = other.m_keywords;
  m_directives = other.m_directives;
  m_sections = other.m_sections;
  m_stringColors = other.m_stringColors;
  m_commentColors = other.m_commentColors;
  m_numberColors = other.m_numberColors;
  m_preprocColors = other.m_preprocColors;
  m_defaultColors = other.m_defaultColors;
  m_pImpl = other.m_pImpl ? std::make_unique<TTextStyleImpl>(*other.m_pImpl) : nullptr;
  m_strLastName = other.m_strLastName;
  m_nLastIndex = other.m_nLastIndex;
  m_bModified = other.m_bModified;
  KeywordsChanged();
  AllowedCharsChanged();
  return *this;
}

TDocumentStyle::~TDocumentStyle() = default;

const char* ProfileNameOf(DocumentType type) {
  switch (type) {
    case DOCTYPE_LOGS: return "LOGS";
    case DOCTYPE_TEXT: return "TEXT";
    case DOCTYPE_CPP: return "CPP";
    case DOCTYPE_DRACULA: return "DRACULA";
    case DOCTYPE_CALIBRE: return "CALIBRE";
    case DOCTYPE_SPICE: return "SPICE";
    case DOCTYPE_VERILOG: return "VERILOG";
    case DOCTYPE_LIBERTY: return "LIBERTY";
    case DOCTYPE_SPEF: return "SPEF";
    case DOCTYPE_DSPF: return "DSPF";
    case DOCTYPE_SPECTRE: return "SPECTRE";
    case DOCTYPE_LEFDEF: return "LEFDEF";
    case DOCTYPE_TCL: return "TCL";
    default: return "";
  }
}

std::string TDocumentStyle::GetProfileName() const { return ProfileNameOf(m_type); }

TDocumentStyle* TDocumentStyle::GetDefaultStyle() const {
  return new TDocumentStyle(m_type, nullptr);
}

void TDocumentStyle::KeywordsChanged() {
  m_keywordCursor = m_keywords.end();
  m_bKeywordFilterValid = false;
}

void TDocumentStyle::AllowedCharsChanged() {
  m_strAllowedCache.clear();
  m_bTablesValid = false;
}

// ---- scalar properties ----------------------------------------------------------------

void TDocumentStyle::SetPreprocChar(char c) {
  m_cPreproc = c;
  DelimitersChanged();
}

void TDocumentStyle::SetIdentifierEscape(char c) {
  m_cIdentEscape = c;
  DelimitersChanged();
}

void TDocumentStyle::SetHexPrefix(const char* prefix) {
  if (prefix) m_strHexPrefix = prefix;
}

void TDocumentStyle::SetDelimPair(std::string (&pair)[2], const char* open, const char* close) {
  if (!open || !close) return;
  pair[0] = open;
  pair[1] = close;
  DelimitersChanged();
}

void TDocumentStyle::GetDelimPair(const std::string (&pair)[2], char** open, char** close) {
  if (!open || !close) return;
  CopyOut(pair[0], open);
  CopyOut(pair[1], close);
}

void TDocumentStyle::SetCommentsDelims(const char* open, const char* close) {
  SetDelimPair(m_strMLComment, open, close);
}
void TDocumentStyle::GetCommentsDelims(char** open, char** close) const {
  GetDelimPair(m_strMLComment, open, close);
}
void TDocumentStyle::SetStringDelims(const char* open, const char* close) {
  SetDelimPair(m_strString, open, close);
}
void TDocumentStyle::GetStringDelims(char** open, char** close) const {
  GetDelimPair(m_strString, open, close);
}
void TDocumentStyle::SetCharDelims(const char* open, const char* close) {
  SetDelimPair(m_strChar, open, close);
}
void TDocumentStyle::GetCharDelims(char** open, char** close) const {
  GetDelimPair(m_strChar, open, close);
}

void TDocumentStyle::SetSingleCommentsDelims(const char* delim, int slot) {
  if (!delim || !ValidSlot(slot)) return;
  m_strSLComment[slot] = delim;
  DelimitersChanged();
}

void TDocumentStyle::GetSingleCommentsDelims(char** delim, int slot) const {
  if (ValidSlot(slot)) CopyOut(m_strSLComment[slot], delim);
}

void TDocumentStyle::SetSingleCommentsPrefix(const char* prefix, int slot) {
  if (prefix && ValidSlot(slot)) m_strSLPrefix[slot] = prefix;
}

void TDocumentStyle::GetSingleCommentsPrefix(char** prefix, int slot) const {
  if (ValidSlot(slot)) CopyOut(m_strSLPrefix[slot], prefix);
}

void TDocumentStyle::SetSingleCommentsBOL(bool bol, int slot) {
  if (ValidSlot(slot)) m_bSLBol[slot] = bol;
}

bool TDocumentStyle::GetSingleCommentsBOL(int slot) const {
  return ValidSlot(slot) && m_bSLBol[slot];
}

int TDocumentStyle::GetTabSize() const { return m_pImpl ? m_pImpl->GetTabSize() : 0; }
void TDocumentStyle::SetTabSize(int tabSize) {
  if (m_pImpl) m_pImpl->SetTabSize(tabSize);
}
int TDocumentStyle::GetFontSize() const { return m_pImpl ? m_pImpl->GetFontSize() : 0; }
void TDocumentStyle::SetFontSize(int size) {
  if (m_pImpl) m_pImpl->SetFontSize(size);
}
std::string TDocumentStyle::GetFontName() const {
  return m_pImpl ? std::string(m_pImpl->GetFontName()) : std::string();
}
void TDocumentStyle::SetFontName(const char* name) {
  if (m_pImpl) m_pImpl->SetFontName(name);
}
void TDocumentStyle::GetFont(LOGFONT& lf) const {
  if (m_pImpl) lf = m_pImpl->GetFont();
}
void TDocumentStyle::SetFont(const LOGFONT& lf) {
  if (m_pImpl) m_pImpl->SetFont(lf);
}

// ---- keyword sections -----------------------------------------------------------------

int TDocumentStyle::InitKeywordSection(const char* name, const unsigned long* colors,
                                       const char* allowedChars, bool custom) {
  if (!name) return -1;
  const int existing = GetIndexByName(name);
  if (existing >= 0) return existing;
  Section section;
  section.name = name;
  if (colors)
    for (int i = 0; i < 4; ++i) section.colors[i] = static_cast<COLORREF>(colors[i]);
  if (allowedChars) section.allowedChars = allowedChars;
  section.custom = custom;
  m_sections.push_back(std::move(section));
  AllowedCharsChanged();
  return GetSectionCount() - 1;
}

int TDocumentStyle::GetIndexByName(const char* name) const {
  if (!name) return -1;
  if (m_nLastIndex >= 0 && m_strLastName == name) return m_nLastIndex;
  for (int i = 0; i < GetSectionCount(); ++i) {
    if (m_sections[i].name == name) {
      m_strLastName = name;
      m_nLastIndex = i;
      return i;
    }
  }
  return -1;
}

std::string TDocumentStyle::GetSectionName(int section) const {
  return ValidSection(section) ? m_sections[section].name : std::string();
}

bool TDocumentStyle::IsCustom(int section) const {
  return ValidSection(section) && m_sections[section].custom;
}

bool TDocumentStyle::IsCustom(const char* section) const { return IsCustom(GetIndexByName(section)); }

int TDocumentStyle::IgnoreCase(int section) const {
  if (!ValidSection(section)) return 0;
  const Section& s = m_sections[section];
  return s.custom ? s.ignoreCase : (m_bIgnoreCase ? 1 : 0);
}

void TDocumentStyle::IgnoreCase(int section, int flag) {
  if (IsCustom(section)) m_sections[section].ignoreCase = flag;
}

std::string TDocumentStyle::AllowedChars(int section) {
  return IsCustom(section) ? m_sections[section].allowedChars : std::string();
}

void TDocumentStyle::AllowedChars(int section, const std::string& chars) {
  if (!IsCustom(section)) return;
  m_sections[section].allowedChars = chars;
  AllowedCharsChanged();
}

bool TDocumentStyle::RemoveKeywordSection(const char* name) {
  const int section = GetIndexByName(name);
  if (section < 0) return false;
  m_sections.erase(m_sections.begin() + section);
  m_strLastName.clear();
  m_nLastIndex = -1;
  const auto number = static_cast<std::uint8_t>(section);
  for (auto it = m_keywords.begin(); it != m_keywords.end();) {
    if (it->second == number) {
      it = m_keywords.erase(it);
    } else {
      if (it->second > number) --it->second;
      ++it;
    }
  }
  KeywordsChanged();
  AllowedCharsChanged();
  SaveSettings(nullptr);
  return true;
}

char TDocumentStyle::GetWordPrefix(int section) const {
  return ValidSection(section) ? m_sections[static_cast<std::size_t>(section)].wordPrefix : 0;
}

void TDocumentStyle::SetWordPrefix(int section, char prefix) {
  if (ValidSection(section)) m_sections[static_cast<std::size_t>(section)].wordPrefix = prefix;
}

// ---- keywords -------------------------------------------------------------------------

int TDocumentStyle::AddKeyword(const char* keyword, const char* section) {
  if (!keyword || !section) return -1;
  const int number = GetIndexByName(section);
  if (number < 0) return -1;
  return AddKeyword(keyword, number);
}

int TDocumentStyle::AddKeyword(const char* keyword, int section) {
  if (!keyword || !ValidSection(section)) return -1;
  std::string text(keyword);
  if (IgnoreCase(section))
    for (char& c : text) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
  if (m_keywords.emplace(std::move(text), static_cast<std::uint8_t>(section)).second)
    KeywordsChanged();
  return static_cast<int>(m_keywords.size());
}

void TDocumentStyle::RemoveKeywords(int section) {
  if (!ValidSection(section)) return;
  const auto number = static_cast<std::uint8_t>(section);
  std::erase_if(m_keywords, [number](const auto& entry) { return entry.second == number; });
  KeywordsChanged();
}

void TDocumentStyle::RemoveKeywords(const char* section) { RemoveKeywords(GetIndexByName(section)); }

std::string TDocumentStyle::GetFirstKeyword(int section) {
  m_keywordCursor = m_keywords.begin();
  return GetNextKeyword(section);
}

std::string TDocumentStyle::GetNextKeyword(int section) {
  const auto number = static_cast<std::uint8_t>(section);
  while (m_keywordCursor != m_keywords.end()) {
    auto it = m_keywordCursor++;
    if (it->second == number) return it->first;
  }
  return std::string();
}

std::string TDocumentStyle::GetFirstKeyword(const char* section) {
  const int number = GetIndexByName(section);
  return number < 0 ? std::string() : GetFirstKeyword(number);
}

std::string TDocumentStyle::GetNextKeyword(const char* section) {
  const int number = GetIndexByName(section);
  return number < 0 ? std::string() : GetNextKeyword(number);
}

void TDocumentStyle::AddPreprocDirective(const char* directive) {
  if (directive) m_directives.insert(directive);
}

// ---- colours --------------------------------------------------------------------------

// A background equal to the window colour shows the default background instead, when
// the default background has been changed from it.
COLORREF TDocumentStyle::WithWindowFallback(COLORREF color, int fg) {
  if (fg != 0) return color;
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  if (color != window) return color;
  const COLORREF background = GetDefaultColor(0, 0);
  return background != window ? background : color;
}

COLORREF TDocumentStyle::KindColor(const Section& kind, int fg, int sel) {
  if (!ValidColorSlot(fg, sel)) return 0;
  return WithWindowFallback(kind.colors[fg + 2 * sel], fg);
}

void TDocumentStyle::SetKindColor(Section& kind, unsigned long color, int fg, int sel) {
  if (ValidColorSlot(fg, sel)) kind.colors[fg + 2 * sel] = static_cast<COLORREF>(color);
}

COLORREF TDocumentStyle::GetStringColor(int fg, int sel) { return KindColor(m_stringColors, fg, sel); }
void TDocumentStyle::SetStringColor(unsigned long color, int fg, int sel) {
  SetKindColor(m_stringColors, color, fg, sel);
}
COLORREF TDocumentStyle::GetCommentsColor(int fg, int sel) {
  return KindColor(m_commentColors, fg, sel);
}
void TDocumentStyle::SetCommentsColor(unsigned long color, int fg, int sel) {
  SetKindColor(m_commentColors, color, fg, sel);
}
COLORREF TDocumentStyle::GetNumbersColor(int fg, int sel) { return KindColor(m_numberColors, fg, sel); }
void TDocumentStyle::SetNumbersColor(unsigned long color, int fg, int sel) {
  SetKindColor(m_numberColors, color, fg, sel);
}
COLORREF TDocumentStyle::GetPreprocessorColor(int fg, int sel) {
  return KindColor(m_preprocColors, fg, sel);
}
void TDocumentStyle::SetPreprocessorColor(unsigned long color, int fg, int sel) {
  SetKindColor(m_preprocColors, color, fg, sel);
}
COLORREF TDocumentStyle::GetDefaultColor(int fg, int sel) {
  return ValidColorSlot(fg, sel) ? m_defaultColors.colors[fg + 2 * sel] : 0;
}
void TDocumentStyle::SetDefaultColor(unsigned long color, int fg, int sel) {
  SetKindColor(m_defaultColors, color, fg, sel);
}

COLORREF TDocumentStyle::GetKeywordColor(int index, int fg, int sel) {
  const int section = fg == 1 ? index - COLORINDEX_KEYWORD : index - COLORINDEX_KEYWORD_BKGND;
  if (!ValidSection(section) || !ValidColorSlot(fg, sel)) return GetDefaultColor(fg, sel);
  return WithWindowFallback(m_sections[section].colors[fg + 2 * sel], fg);
}

void TDocumentStyle::SetKeywordColor(unsigned long color, int index, int fg, int sel) {
  const int section = fg == 1 ? index - COLORINDEX_KEYWORD : index - COLORINDEX_KEYWORD_BKGND;
  if (ValidSection(section)) SetKindColor(m_sections[section], color, fg, sel);
}

COLORREF TDocumentStyle::GetKeywordColor(const char* section, int fg, int sel) {
  const int number = GetIndexByName(section);
  if (number < 0) return GetDefaultColor(fg, 0);
  return GetKeywordColor(number + (fg == 1 ? COLORINDEX_KEYWORD : COLORINDEX_KEYWORD_BKGND), fg, sel);
}

void TDocumentStyle::SetKeywordColor(unsigned long color, const char* section, int fg, int sel) {
  const int number = GetIndexByName(section);
  if (number < 0) return;
  SetKeywordColor(color, number + (fg == 1 ? COLORINDEX_KEYWORD : COLORINDEX_KEYWORD_BKGND), fg, sel);
}

// ---- defaults -------------------------------------------------------------------------

void TDocumentStyle::RestoreDefaults(TDocumentStyle* style) {
  if (!style) return;
  const bool none = style->m_type == DOCTYPE_NONE;
  style->m_bIgnoreCase = none;
  style->m_cPreproc = 0;
  style->m_cStringEsc = none ? 0 : '\\';
  style->m_cCharEsc = none ? 0 : '\\';
  style->m_cIdentEscape = 0;
  style->m_cNumberBase = 0;
  for (int i = 0; i < 2; ++i) {
    style->m_strMLComment[i].clear();
    style->m_strString[i].clear();
    style->m_strChar[i].clear();
  }
  for (int i = 0; i < 3; ++i) {
    style->m_strSLComment[i].clear();
    style->m_strSLPrefix[i].clear();
    style->m_bSLBol[i] = true;
  }
  style->m_strHexPrefix.clear();
  style->m_keywords.clear();
  style->m_directives.clear();
  style->KeywordsChanged();
  style->AllowedCharsChanged();

  using Setter = void (TDocumentStyle::*)(unsigned long, int, int);
  static constexpr Setter kSetters[] = {
      &TDocumentStyle::SetDefaultColor, &TDocumentStyle::SetStringColor,
      &TDocumentStyle::SetCommentsColor, &TDocumentStyle::SetNumbersColor,
      &TDocumentStyle::SetPreprocessorColor};
  for (Setter set : kSetters) {
    (style->*set)(GetSysColor(COLOR_WINDOWTEXT), 1, 0);
    (style->*set)(GetSysColor(COLOR_WINDOW), 0, 0);
    (style->*set)(GetSysColor(COLOR_HIGHLIGHTTEXT), 1, 1);
    (style->*set)(style->GetStringColor(1, 1) & 0xFFFFFFu, 0, 1);
  }
}

bool TDocumentStyle::Restore(const char*) {
  m_pImpl = std::make_unique<TTextStyleImpl>();
  RestoreDefaults(this);
  return false;
}

}  // namespace quill
