#pragma once
// TDocumentStyle: everything that decides how the text of one document type is
// highlighted and shown: delimiters, escape and preprocessor characters, keyword sections
// and their keywords, the colours of each kind of text, the font and the tab size.
// The host fills a style with its language; the line parser reads it.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"
#include "style/document_type.h"
#include "style/parse_checkpoints.h"
#include "style/text_block.h"
#include "style/text_style_impl.h"

namespace quill {

class TDocumentStyle {
 public:
  // One keyword section, or the colours of one fixed kind of text.
  struct Section {
    Section();
    std::string name;
    // [fg + 2 * sel]: 0 background, 1 text, 2 selected background, 3 selected text.
    COLORREF colors[4];
    bool custom = false;
    int ignoreCase = 0;
    std::string allowedChars;
    // Identifiers that start with this character (0 = none) and are neither keywords nor
    // numbers take the section's colour: $variables, `macros, *123 references.
    char wordPrefix = 0;
  };

  // Parse state bits of ParseLine's cookie.
  static constexpr unsigned long COOKIE_COMMENT = 0x01;
  static constexpr unsigned long COOKIE_PREPROCESSOR = 0x02;
  static constexpr unsigned long COOKIE_EXT_COMMENT = 0x04;
  static constexpr unsigned long COOKIE_STRING = 0x08;
  static constexpr unsigned long COOKIE_CHAR = 0x10;

  // Colour indices of the runs ParseLine writes (background = foreground + 17, keyword
  // section k: 256 + k and 512 + k).
  static constexpr int COLORINDEX_NORMALTEXT = 2;
  static constexpr int COLORINDEX_COMMENT = 6;
  static constexpr int COLORINDEX_NUMBER = 7;
  static constexpr int COLORINDEX_STRING = 9;
  static constexpr int COLORINDEX_PREPROCESSOR = 10;
  static constexpr int COLORINDEX_BKGND_OFFSET = 17;
  static constexpr int COLORINDEX_KEYWORD = 256;
  static constexpr int COLORINDEX_KEYWORD_BKGND = 512;

  TDocumentStyle(DocumentType type, const char* name);
  TDocumentStyle(const TDocumentStyle& other);
  TDocumentStyle& operator=(const TDocumentStyle& other);
  virtual ~TDocumentStyle();

  virtual bool IsLegalChar(char c) const;
  virtual std::string GetProfileName() const;
  // A new style of the same type with the built-in defaults; the caller owns it.
  virtual TDocumentStyle* GetDefaultStyle() const;
  virtual COLORREF GetKeywordColor(const char* section, int fg, int sel);
  virtual COLORREF GetKeywordColor(int index, int fg, int sel);
  virtual void SetKeywordColor(unsigned long color, const char* section, int fg, int sel);
  virtual void SetKeywordColor(unsigned long color, int index, int fg, int sel);
  virtual COLORREF GetStringColor(int fg, int sel);
  virtual void SetStringColor(unsigned long color, int fg, int sel);
  virtual COLORREF GetCommentsColor(int fg, int sel);
  virtual void SetCommentsColor(unsigned long color, int fg, int sel);
  virtual COLORREF GetNumbersColor(int fg, int sel);
  virtual void SetNumbersColor(unsigned long color, int fg, int sel);
  virtual COLORREF GetPreprocessorColor(int fg, int sel);
  virtual void SetPreprocessorColor(unsigned long color, int fg, int sel);
  virtual COLORREF GetDefaultColor(int fg, int sel);
  virtual void SetDefaultColor(unsigned long color, int fg, int sel);

  DocumentType GetDocumentType() const { return m_type; }

  // Scalar properties. Setters given a null pointer do nothing.
  bool GetIgnoreCase() const { return m_bIgnoreCase; }
  void SetIgnoreCase(bool ignore) { m_bIgnoreCase = ignore; }
  char GetPreprocChar() const { return m_cPreproc; }
  void SetPreprocChar(char c);
  char GetStringEsc() const { return m_cStringEsc; }
  void SetStringEsc(char c) { m_cStringEsc = c; }
  char GetCharEsc() const { return m_cCharEsc; }
  void SetCharEsc(char c) { m_cCharEsc = c; }
  const char* GetHexPrefix() const { return m_strHexPrefix.c_str(); }
  void SetHexPrefix(const char* prefix);
  // Identifier escape (0 = none): from this character to the next blank or the line's end
  // the text is one identifier in normal text, in which no delimiter counts (the escaped
  // identifiers of hardware description languages: \bus[3] ).
  char GetIdentifierEscape() const { return m_cIdentEscape; }
  void SetIdentifierEscape(char c);
  // Number base mark (0 = none): an identifier made of an optional size of digits, this
  // mark, an optional 's', a base letter (b, o, d, h, either case) and digits of any base
  // with x, z, ? and _ (32'h00ff, 'b1010, 4'sd3), or of the mark and one of 0 1 x z, is
  // a number. The mark must be an identifier character of some section, and neither a
  // letter, a digit nor '_'.
  char GetNumberBaseMark() const { return m_cNumberBase; }
  void SetNumberBaseMark(char c) { m_cNumberBase = c; }

  // Delimiter pairs: set only when both are given. The getters hand out copies made with
  // new[] (freeing the caller's previous buffer with delete[]); an empty delimiter leaves
  // the caller's pointer alone.
  void SetCommentsDelims(const char* open, const char* close);
  void GetCommentsDelims(char** open, char** close) const;
  void SetStringDelims(const char* open, const char* close);
  void GetStringDelims(char** open, char** close) const;
  void SetCharDelims(const char* open, const char* close);
  void GetCharDelims(char** open, char** close) const;

  // Single-line comments: three slots (0..2), each a delimiter, the characters that may
  // stand before it (empty = any) and whether it counts at the first column.
  void SetSingleCommentsDelims(const char* delim, int slot);
  void GetSingleCommentsDelims(char** delim, int slot) const;
  void SetSingleCommentsPrefix(const char* prefix, int slot);
  void GetSingleCommentsPrefix(char** prefix, int slot) const;
  void SetSingleCommentsBOL(bool bol, int slot);
  bool GetSingleCommentsBOL(int slot) const;

  int GetTabSize() const;
  void SetTabSize(int tabSize);
  int GetFontSize() const;
  void SetFontSize(int size);
  std::string GetFontName() const;
  void SetFontName(const char* name);
  void GetFont(LOGFONT& lf) const;
  void SetFont(const LOGFONT& lf);

  bool IsModified() const { return m_bModified; }
  void SetModified(bool modified) { m_bModified = modified; }
  bool IsRestored() const { return m_bRestored; }

  // Keyword sections.
  int InitKeywordSection(const char* name, const unsigned long* colors, const char* allowedChars,
                         bool custom);
  int GetIndexByName(const char* name) const;
  int GetSectionCount() const { return static_cast<int>(m_sections.size()); }
  std::string GetSectionName(int section) const;
  bool IsCustom(int section) const;
  bool IsCustom(const char* section) const;
  int IgnoreCase(int section) const;
  void IgnoreCase(int section, int flag);
  std::string AllowedChars(int section);
  void AllowedChars(int section, const std::string& chars);
  bool RemoveKeywordSection(const char* name);
  // The word prefix of a section (see Section::wordPrefix); 0 for an invalid section. A
  // prefix that is a letter takes no effect.
  char GetWordPrefix(int section) const;
  void SetWordPrefix(int section, char prefix);

  // Keywords.
  int AddKeyword(const char* keyword, const char* section);
  int AddKeyword(const char* keyword, int section);
  void RemoveKeywords(int section);
  void RemoveKeywords(const char* section);
  std::string GetFirstKeyword(int section);
  std::string GetNextKeyword(int section);
  std::string GetFirstKeyword(const char* section);
  std::string GetNextKeyword(const char* section);
  int IsKeyword(const char* text, int length) const;
  bool IsNumber(const char* text, int length) const;

  // Preprocessor directives: kept and persisted for the host, not used by the parser.
  void AddPreprocDirective(const char* directive);
  void RemovePreprocDirectives() { m_directives.clear(); }
  const std::set<std::string>& GetPreprocDirectives() const { return m_directives; }

  // Splits a line into coloured runs, appending them at pBuf[nActualItems], and returns
  // the parse state at the line's end. pBuf may be null: then only the state is computed.
  // The caller supplies room for 3 * nLength + 3 runs.
  unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                          int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) const;
  // ParseLine over the first nTo characters of a long line, resumed from the last state
  // in states at or before nFrom: the runs written are those of ParseLine from the run in
  // force at that state on (it starts one character before the state), and the cookie
  // returned is ParseLine's. states keeps what it learns for the next call; states of
  // another line or start cookie are dropped first.
  unsigned long ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                              int nLineIndex, TParseCheckpoints& states, int nFrom, int nTo,
                              TEXTBLOCK* pBuf, int& nActualItems) const;

  // Persistence in the settings store, under the profile's key.
  void SaveSettings(const char* profile) const;
  bool RestoreFromFile(const char* profile);
  void GetFromRegistry() { RestoreFromFile(nullptr); }
  bool LookUpRegistry() { return false; }
  bool Restore(const char* name);
  void SaveToFile() const;

  // Applies the built-in defaults to style.
  static void RestoreDefaults(TDocumentStyle* style);

 protected:
  // Call after changing what IsLegalChar answers in a derived style.
  void InvalidateCharClasses() const { m_bTablesValid = false; }

 private:
  using KeywordMap = std::map<std::string, std::uint8_t, std::less<>>;
  struct ParserTables;
  // Where the parse loop starts: position i with this cookie. At a saved state (i > 0)
  // the run in force is written again one character back.
  struct ParsePosition {
    unsigned long cookie = 0;
    int i = 0;
    bool redefineAtPrevious = false;
    bool lineStart = false;
  };
  unsigned long ParseRange(const char* line, int length, ParsePosition at,
                           TEXTBLOCK* blocks, int& count) const;
  // Computes the cookie along the line without runs, from the last state of states on,
  // saving states, until a state at or after nUpTo is saved or the line ends (then the
  // cookie at its end is kept too).
  void ScanParseStates(const char* line, int length, TParseCheckpoints& states, int nUpTo) const;
  // A blank after which a saved state can stand: no identifier or delimiter holds it.
  bool BlankSyncs(char c, const ParserTables& t) const;
  // Inside a string, character constant or block comment (per the cookie): moves i past
  // its end and clears its bit, or to the line's end. Returns false in any other state.
  bool LeaveOpenSpan(const char* line, int length, int& i, unsigned long& cookie) const;

  static const std::array<std::pair<const char*, Section TDocumentStyle::*>, 5>& FixedKinds();
  COLORREF KindColor(const Section& kind, int fg, int sel);
  static void SetKindColor(Section& kind, unsigned long color, int fg, int sel);
  COLORREF WithWindowFallback(COLORREF color, int fg);
  bool ValidSection(int section) const {
    return section >= 0 && section < static_cast<int>(m_sections.size());
  }
  void KeywordsChanged();
  void AllowedCharsChanged();
  void DelimitersChanged() { m_bTablesValid = false; }
  void SetDelimPair(std::string (&pair)[2], const char* open, const char* close);
  static void GetDelimPair(const std::string (&pair)[2], char** open, char** close);
  const ParserTables& Tables() const;
  // IsKeyword with the tables at hand; text is not null and length > 0.
  int FindKeyword(const char* text, int length, const ParserTables& t) const;
  // Colour index of an identifier: a keyword's, the number colour, or -1.
  int ClassifyIdentifier(const char* text, int length, const ParserTables& t) const;

  DocumentType m_type;
  bool m_bIgnoreCase = false;
  char m_cPreproc = 0;
  char m_cStringEsc = 0;
  char m_cCharEsc = 0;
  char m_cIdentEscape = 0;
  char m_cNumberBase = 0;
  // Delimiter pairs: [0] opening, [1] closing.
  std::string m_strMLComment[2];
  std::string m_strSLComment[3];
  std::string m_strSLPrefix[3];
  bool m_bSLBol[3] = {true, true, true};
  std::string m_strString[2];
  std::string m_strChar[2];
  std::string m_strHexPrefix;
  KeywordMap m_keywords;
  std::set<std::string> m_directives;
  KeywordMap::const_iterator m_keywordCursor;
  std::vector<Section> m_sections;
  Section m_stringColors, m_commentColors, m_numberColors, m_preprocColors, m_defaultColors;
  std::unique_ptr<TTextStyleImpl> m_pImpl;
  mutable std::string m_strLastName;
  mutable int m_nLastIndex = -1;
  bool m_bModified = false;
  bool m_bRestored = false;
  mutable std::string m_strAllowedCache;

  // Lookup tables derived from the data above, rebuilt on first use after a change.
  mutable std::unique_ptr<ParserTables> m_pTables;
  mutable bool m_bTablesValid = false;
  mutable bool m_bKeywordFilterValid = false;
};

}  // namespace quill
