// Syntax data of the languages quillpad edits. Each language is a table: its delimiters,
// escape and preprocessor characters, and its predefined keyword sections with a colour,
// the extra identifier characters and the keywords.

#include "languages.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>

#include "platform/display.h"

namespace quillpad {

using quill::COLORREF;
using quill::RGB;
using quill::TDocumentStyle;

namespace {

struct SectionDef {
  const char* name;
  COLORREF color;
  const char* allowedChars;
  std::initializer_list<const char*> keywords;
};

struct SingleCommentDef {
  const char* delim;
  const char* prefix;  // characters allowed before the delimiter; "" = any
  bool atLineStart;    // the delimiter counts in the first column
};

struct LanguageDef {
  bool ignoreCase;
  char preproc;
  char escape;
  const char* commentOpen;
  const char* commentClose;
  std::initializer_list<SingleCommentDef> singleComments;
  const char* stringDelim;
  const char* charDelim;
  const char* hexPrefix;
  std::initializer_list<SectionDef> sections;
  std::initializer_list<const char*> directives;
};

// Colours of the fixed kinds, shared by every language but plain text.
constexpr COLORREF kCommentColor = RGB(0, 128, 0);
constexpr COLORREF kStringColor = RGB(163, 21, 21);
constexpr COLORREF kNumberColor = RGB(9, 120, 150);
constexpr COLORREF kPreprocColor = RGB(160, 0, 160);
constexpr COLORREF kKeywordColor = RGB(0, 0, 220);
constexpr COLORREF kOperationColor = RGB(128, 0, 128);
constexpr COLORREF kOptionColor = RGB(0, 110, 110);
constexpr COLORREF kTypeColor = RGB(30, 100, 180);
constexpr COLORREF kElementColor = RGB(150, 75, 0);
constexpr COLORREF kErrorColor = RGB(210, 0, 0);
constexpr COLORREF kWarningColor = RGB(190, 110, 0);
constexpr COLORREF kInfoColor = RGB(0, 90, 200);

// A prefix no character of a line can satisfy: the delimiter then counts only in the
// first column (lines hold no line breaks).
constexpr const char* kFirstColumnOnly = "\n";

// ---- SPICE netlists ----
// '*' in the first column comments a line, '$' after a blank and ';' anywhere comment the
// rest of it. Dot statements are identifiers thanks to '.', so that '.subckt' is one word
// (and '1.5' one number). Names are not case-sensitive.
const LanguageDef kSpice = {
    true, 0, '\\', "", "",
    {{"*", kFirstColumnOnly, true}, {"$", " \t", true}, {";", "", true}},
    "\"", "'", "",
    {
        {kSpiceStatements, kKeywordColor, "._",
         {".subckt", ".ends", ".model", ".param", ".params", ".include", ".inc", ".lib",
          ".endl", ".tran", ".dc", ".ac", ".op", ".noise", ".tf", ".pz", ".four", ".disto",
          ".sens", ".meas", ".measure", ".print", ".plot", ".probe", ".option", ".options",
          ".global", ".end", ".ic", ".nodeset", ".temp", ".save", ".connect", ".func",
          ".if", ".elseif", ".else", ".endif", ".alter", ".data", ".enddata", ".control",
          ".endc", ".hdl", ".protect", ".unprotect", ".csparam", ".step", ".title"}},
        {kSpiceModelTypes, kOptionColor, "",
         {"nmos", "pmos", "npn", "pnp", "njf", "pjf", "nmf", "pmf",
          "sw", "csw", "vswitch", "iswitch", "ltra", "urc", "txl", "cpl",
          "pulse", "sin", "exp", "pwl", "sffm", "am", "dec", "oct", "lin", "poly",
          "trig", "targ", "find", "when", "avg", "rms", "max", "min", "pp", "integ",
          "deriv", "rise", "fall", "cross", "val", "td", "at", "from", "to", "params",
          "sweep", "uic", "start", "stop"}},
        {kSpiceElements, kElementColor, "", {}},
    },
    {}};

// ---- Calibre SVRF rule decks ----
// '//' and '/* */' comments, '@' opens the comment line of a rule check, '#' starts the
// preprocessor statements (#DEFINE, #IFDEF, #INCLUDE). Not case-sensitive; '_' belongs to
// rule names such as M1_SPACE or M1.S.1 (and '.' keeps 0.25 one number).
const LanguageDef kCalibre = {
    true, '#', '\\', "/*", "*/",
    {{"//", "", true}, {"@", " \t{", true}},
    "\"", "", "",
    {
        {kCalibreKeywords, kKeywordColor, "_.",
         {"layer", "layout", "primary", "path", "system", "case", "precision",
          "resolution", "drc", "results", "database", "summary", "report", "maximum",
          "check", "map", "text", "depth", "top", "include", "title", "source", "lvs",
          "erc", "svrf", "error", "flag", "acute", "offgrid", "nonsimple", "skew",
          "unit", "length", "variable", "group", "select", "exclude", "polygon",
          "magnify", "cell", "list", "incremental", "connect", "keep", "empty", "gds",
          "oasis", "ascii", "binary", "pseudo", "yes", "no", "dfm", "property",
          "virtual", "power", "ground", "name", "label", "order", "attach", "port",
          "mask", "sconnect", "device", "abort", "softchk", "isolate", "nets", "box",
          "recognize", "gates", "reduce", "parallel", "series", "split", "filter"}},
        {kCalibreOperations, kOperationColor, "",
         {"internal", "external", "enclosure", "enc", "int", "ext", "density", "and",
          "or", "not", "xor", "size", "grow", "shrink", "holes", "donut", "interact",
          "inside", "outside", "touch", "enclose", "cut", "coincident", "area",
          "perimeter", "vertex", "angle", "rectangle", "extents", "merge", "copy",
          "edge", "expand", "convex", "rectangles", "with", "width", "net", "stamp",
          "drawn", "offgrid", "ornet", "topex", "extent", "shift", "rotate", "flatten"}},
        {kCalibreOptions, kOptionColor, "",
         {"opposite", "region", "singular", "abut", "angled", "only", "measure", "all",
          "by", "window", "step", "print", "overlap", "projecting", "parallel", "square",
          "extended", "intersecting", "notch", "space", "exclude_false", "undersize",
          "overunder", "underover", "truncate", "centers", "bevel", "inside_of",
          "backup", "gradient", "relative", "magnitude", "corner", "even", "odd",
          "connected", "not_connected", "orthogonal", "symmetric", "obtuse"}},
    },
    {"define", "undefine", "ifdef", "ifndef", "else", "endif", "include", "encrypt",
     "endcrypt"}};

// ---- Dracula rule decks ----
// '*' block keywords (*DESCRIPTION, *INPUT-LAYER, *OPERATION, *END) are identifiers thanks
// to '*' and '-' ('.' keeps 0.25 one number); ';' comments the rest of a line. Not
// case-sensitive.
const LanguageDef kDracula = {
    true, 0, '\\', "", "",
    {{";", "", true}},
    "", "", "",
    {
        {kDraculaKeywords, kKeywordColor, "*-_.",
         {"*description", "*input-layer", "*operation", "*end", "*node", "*cont",
          "primary", "indisk", "outdisk", "system", "scale", "resolution", "mode",
          "printfile", "program-dir", "keepdata", "listerror", "cnames-csen",
          "flag-acuteangle", "flag-nonorthogonal", "flag-offgrid", "flag-selfintersect",
          "check-mode", "text-pri-only", "conect-layer", "connect-layer", "substrate",
          "model", "exec", "outlvs", "output", "abort-softchk", "lvscheck", "lpecheck",
          "erccheck", "element", "parameter", "text", "device", "window"}},
        {kDraculaOperations, kOperationColor, "",
         {"and", "or", "not", "xor", "width", "ext", "enc", "int", "select", "connect",
          "stamp", "length", "area", "size", "grow", "shrink", "explode", "edge",
          "over", "cut", "touch", "inside", "outside", "enclose", "hole", "hedge",
          "sconnect", "perimeter", "angle", "dense", "density", "ecomp", "nonortho",
          "overlap", "topex", "vertex", "attribute", "linkcell", "ptext"}},
        {kDraculaOptions, kOptionColor, "",
         {"lt", "le", "gt", "ge", "eq", "ne", "opposite", "parallel", "corner",
          "notch", "space", "cplusm", "clusters", "ins", "out", "tou", "ovl", "cpt",
          "ctp", "epe", "r", "t", "s", "m", "by", "range", "ptg", "ovlp"}},
    },
    {}};

// ---- C and C++ sources ----
const LanguageDef kCpp = {
    false, '#', '\\', "/*", "*/",
    {{"//", "", true}},
    "\"", "'", "0x",
    {
        {kCppKeywords, kKeywordColor, "_",
         {"alignas", "alignof", "asm", "auto", "break", "case", "catch", "class",
          "co_await", "co_return", "co_yield", "concept", "const", "const_cast",
          "consteval", "constexpr", "constinit", "continue", "decltype", "default",
          "delete", "do", "dynamic_cast", "else", "enum", "explicit", "export",
          "extern", "false", "final", "for", "friend", "goto", "if", "inline",
          "mutable", "namespace", "new", "noexcept", "nullptr", "operator", "override",
          "private", "protected", "public", "register", "reinterpret_cast", "requires",
          "restrict", "return", "sizeof", "static", "static_assert", "static_cast",
          "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
          "typedef", "typeid", "typename", "union", "using", "virtual", "volatile",
          "while", "NULL"}},
        {kCppTypes, kTypeColor, "",
         {"bool", "char", "char8_t", "char16_t", "char32_t", "double", "float", "int",
          "long", "short", "signed", "unsigned", "void", "wchar_t", "size_t",
          "ssize_t", "ptrdiff_t", "intptr_t", "uintptr_t", "int8_t", "int16_t",
          "int32_t", "int64_t", "uint8_t", "uint16_t", "uint32_t", "uint64_t", "FILE",
          "string", "string_view", "vector", "map", "set", "unique_ptr",
          "shared_ptr", "std"}},
    },
    {"define", "undef", "include", "if", "ifdef", "ifndef", "elif", "else", "endif",
     "error", "warning", "pragma", "line"}};

// ---- Log files ----
// Severity words in the cases tools print them; numbers stand out, quoted text is a string.
const LanguageDef kLogs = {
    false, 0, '\\', "", "",
    {},
    "\"", "", "",
    {
        {kLogErrors, kErrorColor, "",
         {"ERROR", "Error", "error", "FATAL", "Fatal", "fatal", "FAILED", "Failed",
          "failed", "FAIL", "ABORT", "Abort", "aborted", "CRITICAL", "Critical",
          "SEVERE", "PANIC", "Exception", "EXCEPTION", "Segmentation"}},
        {kLogWarnings, kWarningColor, "",
         {"WARNING", "Warning", "warning", "WARN", "Warn", "CAUTION", "Caution",
          "DEPRECATED", "Deprecated", "timestep"}},
        {kLogInfo, kInfoColor, "",
         {"INFO", "Info", "NOTE", "Note", "DEBUG", "Debug", "TRACE", "NOTICE", "Notice",
          "OK", "PASSED", "Passed", "SUCCESS", "Success", "DONE", "Done", "completed"}},
    },
    {}};

// ---- Plain text: no delimiters, no keywords, every kind in the normal text colour ----
const LanguageDef kText = {false, 0, '\\', "", "", {}, "", "", "", {}, {}};

const LanguageDef& LanguageOf(quill::DocumentType type) {
  switch (type) {
    case quill::DOCTYPE_SPICE: return kSpice;
    case quill::DOCTYPE_CALIBRE: return kCalibre;
    case quill::DOCTYPE_DRACULA: return kDracula;
    case quill::DOCTYPE_CPP: return kCpp;
    case quill::DOCTYPE_LOGS: return kLogs;
    default: return kText;
  }
}

// Foreground colour of a kind, unselected and selected; backgrounds stay the style's.
template <typename Setter>
void SetForeground(TDocumentStyle& style, Setter setter, COLORREF color) {
  (style.*setter)(color, 1, 0);
  (style.*setter)(quill::GetSysColor(quill::COLOR_HIGHLIGHTTEXT), 1, 1);
}

}  // namespace

quill::DocumentType DocumentTypeForPath(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return quill::DOCTYPE_TEXT;
  std::string ext(name.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  struct Entry {
    const char* ext;
    quill::DocumentType type;
  };
  static constexpr Entry kTable[] = {
      {"sp", quill::DOCTYPE_SPICE},     {"spi", quill::DOCTYPE_SPICE},
      {"cir", quill::DOCTYPE_SPICE},    {"net", quill::DOCTYPE_SPICE},
      {"cdl", quill::DOCTYPE_SPICE},    {"svrf", quill::DOCTYPE_CALIBRE},
      {"cal", quill::DOCTYPE_CALIBRE},  {"rul", quill::DOCTYPE_CALIBRE},
      {"drc", quill::DOCTYPE_DRACULA},  {"dra", quill::DOCTYPE_DRACULA},
      {"c", quill::DOCTYPE_CPP},        {"h", quill::DOCTYPE_CPP},
      {"cpp", quill::DOCTYPE_CPP},      {"cc", quill::DOCTYPE_CPP},
      {"hpp", quill::DOCTYPE_CPP},      {"cxx", quill::DOCTYPE_CPP},
      {"log", quill::DOCTYPE_LOGS},
  };
  for (const Entry& e : kTable)
    if (ext == e.ext) return e.type;
  return quill::DOCTYPE_TEXT;
}

bool IsSpiceElementLetter(char c) {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper != 0 && std::string_view("BCDEFGHIJKLMQRSTUVWXYZ").find(upper) !=
                           std::string_view::npos;
}

void DefineLanguage(TDocumentStyle& style) {
  const LanguageDef& def = LanguageOf(style.GetDocumentType());
  style.SetIgnoreCase(def.ignoreCase);
  style.SetPreprocChar(def.preproc);
  style.SetStringEsc(def.escape);
  style.SetCharEsc(def.escape);
  style.SetCommentsDelims(def.commentOpen, def.commentClose);
  int slot = 0;
  for (const SingleCommentDef& c : def.singleComments) {
    style.SetSingleCommentsDelims(c.delim, slot);
    style.SetSingleCommentsPrefix(c.prefix, slot);
    style.SetSingleCommentsBOL(c.atLineStart, slot);
    ++slot;
  }
  style.SetStringDelims(def.stringDelim, def.stringDelim);
  style.SetCharDelims(def.charDelim, def.charDelim);
  style.SetHexPrefix(def.hexPrefix);
  for (const char* d : def.directives) style.AddPreprocDirective(d);

  if (&def != &kText) {
    SetForeground(style, &TDocumentStyle::SetCommentsColor, kCommentColor);
    SetForeground(style, &TDocumentStyle::SetStringColor, kStringColor);
    SetForeground(style, &TDocumentStyle::SetNumbersColor, kNumberColor);
    SetForeground(style, &TDocumentStyle::SetPreprocessorColor, kPreprocColor);
  }
  for (const SectionDef& s : def.sections) {
    const unsigned long colors[4] = {quill::GetSysColor(quill::COLOR_WINDOW), s.color,
                                     quill::GetSysColor(quill::COLOR_HIGHLIGHT),
                                     quill::GetSysColor(quill::COLOR_HIGHLIGHTTEXT)};
    const int section = style.InitKeywordSection(s.name, colors, s.allowedChars, false);
    for (const char* k : s.keywords) style.AddKeyword(k, section);
  }
}

}  // namespace quillpad
