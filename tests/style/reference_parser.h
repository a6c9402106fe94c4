#pragma once
// A plain, position-by-position line parser written straight from the parsing rules,
// with a stream-based number test and a locale query per character. It is slow and
// obvious; the tests compare the real parser's runs and cookies against it.

#include <cctype>
#include <locale>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "style/document_style.h"

namespace quill::testing {

inline std::string Take(char* p) {
  std::string s = p ? p : "";
  delete[] p;
  return s;
}

inline bool StreamIsNumber(const char* text, int length) {
  if (!text || length <= 0) return false;
  std::istringstream in(std::string(text, static_cast<std::size_t>(length)));
  double d;
  if (!(in >> d)) return false;
  in >> std::ws;
  return in.eof();
}

// A number with a base mark m (not a letter, digit or '_'): [size]m[s]base digits, or m
// and one of 0 1 x z.
inline bool MarkedNumber(const std::string& text, char m) {
  if (m == 0 || m == '_' || std::isalnum(static_cast<unsigned char>(m)) || text.empty()) return false;
  std::string mark = "\\x00";
  const char* hex = "0123456789abcdef";
  mark[2] = hex[static_cast<unsigned char>(m) >> 4];
  mark[3] = hex[static_cast<unsigned char>(m) & 15];
  const std::regex based("[0-9_]*" + mark + "[sS]?[bBoOdDhH][0-9a-fA-FxXzZ?_]+|" + mark + "[01xXzZ]");
  return std::regex_match(text, based);
}

struct ReferenceParser {
  explicit ReferenceParser(const TDocumentStyle& s)
      : style(s), strEsc(s.GetStringEsc()), chrEsc(s.GetCharEsc()), preproc(s.GetPreprocChar()) {
    // The style's getters hand out new[] copies, or nothing.
    char* d[6] = {};
    s.GetCommentsDelims(&d[0], &d[1]);
    s.GetStringDelims(&d[2], &d[3]);
    s.GetCharDelims(&d[4], &d[5]);
    for (int k = 0; k < 6; ++k) delims[k] = Take(d[k]);
    for (int k = 0; k < 3; ++k) {
      char *delim = nullptr, *before = nullptr;
      s.GetSingleCommentsDelims(&delim, k);
      s.GetSingleCommentsPrefix(&before, k);
      sl[k] = Take(delim);
      prefix[k] = Take(before);
      bol[k] = s.GetSingleCommentsBOL(k);
    }
  }
  // The delimiter names below refer into this object's own table.
  ReferenceParser(const ReferenceParser&) = delete;

  bool Match(const std::string& d, const std::string& line, int i) const {
    const int len = static_cast<int>(d.size());
    return len > 0 && i - len + 1 >= 0 && line.compare(i - len + 1, len, d) == 0;
  }

  unsigned long Parse(const std::string& line, unsigned long cookie,
                      std::vector<TEXTBLOCK>* runs) const {
    const int length = static_cast<int>(line.size());
    if (length < 1) return cookie & 0x04;
    auto add = [&](int pos, int fg, int bg) {
      if (runs && (runs->empty() || runs->back().charPos <= pos)) runs->push_back({pos, fg, bg});
    };
    auto classify = [&](int start, int end) {
      const int k = style.IsKeyword(line.data() + start, end - start);
      if (k >= 0 && k < style.GetSectionCount()) add(start, 256 + k, 512 + k);
      else if (StreamIsNumber(line.data() + start, end - start)) add(start, 7, 24);
      else if (MarkedNumber(line.substr(start, end - start), style.GetNumberBaseMark())) add(start, 7, 24);
      else if (!std::isalpha(static_cast<unsigned char>(line[start])))
        for (int k = 0; k < style.GetSectionCount(); ++k)
          if (style.GetWordPrefix(k) == line[start]) {
            add(start, 256 + k, 512 + k);
            break;
          }
    };
    int i = 0, idStart = -1;
    bool redefine = true, atPrev = false;
    bool lineStart = (cookie & ~0x04UL) == 0;
    for (;; ++i) {
      if (redefine) {
        const int c = (cookie & 0x05) ? 6 : (cookie & 0x18) ? 9 : (cookie & 0x02) ? 10 : 2;
        add(atPrev ? i - 1 : i, c, c == 2 ? 17 : c + 17);
        redefine = atPrev = false;
      }
      if (i == length) break;
      if (cookie & 0x01) {
        add(i, 6, 23);
        break;
      }
      if (cookie & 0x18) {
        // A string, else a character literal, ends at its unescaped opening character.
        const bool str = cookie & 0x08;
        const std::string& open = str ? strOpen : chrOpen;
        const char esc = str ? strEsc : chrEsc;
        if (!open.empty() && line[i] == open[0] && !(i > 0 && esc != 0 && line[i - 1] == esc)) {
          cookie &= ~(str ? 0x08UL : 0x10UL);
          redefine = true;
        }
        continue;
      }
      if ((cookie & 0x04) && !mlClose.empty()) {
        if (Match(mlClose, line, i)) {
          cookie &= ~0x04UL;
          redefine = true;
        }
        continue;
      }
      // An escaped identifier: the state's colour up to the next blank.
      const char esc = style.GetIdentifierEscape();
      if (esc != 0 && line[i] == esc && !((cookie & 0x02) && !mlOpen.empty())) {
        if (idStart >= 0) classify(idStart, i);
        idStart = -1;
        const int c = (cookie & 0x05) ? 6 : (cookie & 0x18) ? 9 : (cookie & 0x02) ? 10 : 2;
        add(i, c, c == 2 ? 17 : c + 17);
        while (i + 1 < length && line[i + 1] != ' ' && line[i + 1] != '\t') ++i;
        lineStart = false;
        continue;
      }
      for (int k = 0; k < 3; ++k) {
        if (!Match(sl[k], line, i)) continue;
        const bool ok = i == 0 ? bol[k] : prefix[k].empty() || prefix[k].find(line[i - 1]) != std::string::npos;
        if (ok) {
          add(i - static_cast<int>(sl[k].size()) + 1, 6, 23);
          cookie |= 0x01;
          break;
        }
      }
      // Inside a preprocessor line only a block comment starts.
      const bool inPreproc = (cookie & 0x02) && !mlOpen.empty();
      if (!inPreproc && (Match(strOpen, line, i) || Match(chrOpen, line, i))) {
        add(i, 9, 26);
        cookie |= Match(strOpen, line, i) ? 0x08 : 0x10;
        continue;
      }
      const bool opensComment = Match(mlOpen, line, i);
      if (opensComment) {
        add(i - static_cast<int>(mlOpen.size()) + 1, 6, 23);
        cookie |= 0x04;
      }
      if (opensComment || inPreproc) continue;
      if (lineStart && preproc != 0) {
        if (line[i] == preproc) {
          add(i, 10, 27);
          cookie |= 0x02;
          continue;
        }
        if (!std::isspace(static_cast<unsigned char>(line[i]))) lineStart = false;
      }
      const bool word = std::isalnum(line[i], std::locale()) || style.IsLegalChar(line[i]);
      if (word && idStart < 0) idStart = i;
      if (word || idStart < 0) continue;
      classify(idStart, i);
      redefine = atPrev = true;
      idStart = -1;
    }
    if (idStart >= 0) classify(idStart, i);
    const char last = line[length - 1];
    if ((strEsc == 0 || strEsc == last) && (chrEsc == 0 || chrEsc == last)) return cookie;
    return cookie & 0x04;
  }

  const TDocumentStyle& style;
  char strEsc, chrEsc, preproc;
  // Block comment, string and character delimiters, each an opening and a closing one.
  std::string delims[6], sl[3], prefix[3];
  const std::string &mlOpen = delims[0], &mlClose = delims[1], &strOpen = delims[2], &chrOpen = delims[4];
  bool bol[3];
};

}  // namespace quill::testing
