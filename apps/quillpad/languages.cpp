// Syntax data of the languages quillpad edits. Each language is a table: its delimiters,
// escape and preprocessor characters, and its predefined keyword sections with a colour,
// the extra identifier characters and the keywords.

#include "languages.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ascii.h"
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
  // Sections whose colour goes to every word that starts with a character.
  std::initializer_list<std::pair<const char*, char>> wordPrefixes;
  char identifierEscape;
  char numberBaseMark;
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
    {}, {}, 0, 0};

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
     "endcrypt"}, {}, 0, 0};

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
    {}, {}, 0, 0};

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
     "error", "warning", "pragma", "line"}, {}, 0, 0};

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
    {}, {}, 0, 0};

// ---- Verilog, gate-level and RTL (SystemVerilog keywords included) ----
// '//' and '/* */' comments; '`' opens a compiler directive at a line's start
// (`timescale, `define) and names a macro elsewhere (`WIDTH); '$' starts a system task
// ($display); '\' an escaped identifier up to the next blank (\bus[3] ); "'" makes sized
// numbers one word (32'h00ff, 1'b0). Case-sensitive.
const LanguageDef kVerilog = {
    false, '`', '\\', "/*", "*/",
    {{"//", "", true}},
    "\"", "", "",
    {
        {kVerilogKeywords, kKeywordColor, "_$'`",
         {"module", "endmodule", "macromodule", "input", "output", "inout", "wire", "reg",
          "logic", "bit", "byte", "int", "integer", "real", "time", "realtime", "signed",
          "unsigned", "supply0", "supply1", "tri", "tri0", "tri1", "wand", "wor", "trireg",
          "parameter", "localparam", "defparam", "specparam", "assign", "deassign", "force",
          "release", "always", "always_ff", "always_comb", "always_latch", "initial",
          "final", "begin", "end", "fork", "join", "join_any", "join_none", "if", "else",
          "case", "casex", "casez", "endcase", "default", "for", "foreach", "while",
          "repeat", "forever", "do", "break", "continue", "return", "function",
          "endfunction", "task", "endtask", "generate", "endgenerate", "genvar",
          "posedge", "negedge", "edge", "wait", "disable", "automatic", "specify",
          "endspecify", "primitive", "endprimitive", "table", "endtable", "interface",
          "endinterface", "modport", "package", "endpackage", "import", "export",
          "typedef", "enum", "struct", "union", "packed", "class", "endclass", "extends",
          "virtual", "const", "static", "localparam", "unique", "priority", "assert",
          "property", "endproperty", "sequence", "endsequence", "covergroup",
          "endgroup", "config", "endconfig", "library", "cell", "use", "design",
          "event", "string", "void", "null"}},
        {kVerilogGates, kTypeColor, "",
         {"and", "nand", "or", "nor", "xor", "xnor", "not", "buf", "bufif0", "bufif1",
          "notif0", "notif1", "pullup", "pulldown", "nmos", "pmos", "cmos", "rnmos",
          "rpmos", "rcmos", "tran", "tranif0", "tranif1", "rtran", "rtranif0",
          "rtranif1"}},
        {kVerilogSystemTasks, kOperationColor, "", {}},
        {kVerilogMacros, kPreprocColor, "", {}},
    },
    {"timescale", "define", "undef", "include", "ifdef", "ifndef", "elsif", "else",
     "endif", "celldefine", "endcelldefine", "default_nettype", "resetall"},
    {{kVerilogSystemTasks, '$'}, {kVerilogMacros, '`'}},
    '\\', '\''};

// ---- Liberty timing libraries ----
// Groups (library, cell, pin, timing ...) and attributes (direction, capacitance ...)
// with their enumerated values; '/* */' comments and quoted strings; '\' continues a
// line. '.' keeps 0.0123 one number.
const LanguageDef kLiberty = {
    false, 0, '\\', "/*", "*/",
    {},
    "\"", "", "",
    {
        {kLibertyGroups, kKeywordColor, "_.",
         {"library", "cell", "pin", "bus", "bundle", "pg_pin", "timing", "internal_power",
          "leakage_power", "cell_rise", "cell_fall", "rise_transition", "fall_transition",
          "rise_constraint", "fall_constraint", "rise_power", "fall_power",
          "lu_table_template", "power_lut_template", "output_current_template",
          "operating_conditions", "wire_load", "wire_load_selection", "type", "ff",
          "latch", "statetable", "test_cell", "input_voltage", "output_voltage",
          "voltage_map", "memory", "ccsn_first_stage", "ccsn_last_stage",
          "receiver_capacitance", "output_current_rise", "output_current_fall", "vector",
          "normalized_driver_waveform", "dynamic_current", "min_pulse_width",
          "minimum_period", "max_trans", "max_cap", "fanout_length", "mode", "pin_group"}},
        {kLibertyAttributes, kOptionColor, "",
         {"direction", "capacitance", "rise_capacitance", "fall_capacitance", "function",
          "three_state", "area", "related_pin", "related_power_pin", "related_ground_pin",
          "related_pg_pin", "timing_sense", "timing_type", "values", "index_1", "index_2",
          "index_3", "variable_1", "variable_2", "variable_3", "time_unit",
          "voltage_unit", "current_unit", "pulling_resistance_unit", "capacitive_load_unit",
          "leakage_power_unit", "delay_model", "nom_process", "nom_voltage",
          "nom_temperature", "default_operating_conditions", "cell_leakage_power",
          "cell_footprint", "dont_touch", "dont_use", "max_capacitance", "max_transition",
          "min_capacitance", "clock", "next_state", "clocked_on", "preset", "clear",
          "data_in", "enable", "value", "when", "sdf_cond", "pg_type", "voltage_name",
          "process", "temperature", "voltage", "tree_type", "slope", "fanout_capacitance",
          "fanout_resistance", "fanout_area", "resistance", "date", "revision", "comment",
          "technology", "bus_type", "bit_width", "bit_from", "bit_to", "downto",
          "base_type", "data_type", "in_place_swap_mode", "library_features",
          "input_threshold_pct_rise", "input_threshold_pct_fall",
          "output_threshold_pct_rise", "output_threshold_pct_fall",
          "slew_lower_threshold_pct_rise", "slew_upper_threshold_pct_rise",
          "slew_lower_threshold_pct_fall", "slew_upper_threshold_pct_fall",
          "slew_derate_from_library", "default_max_transition", "default_fanout_load",
          "fanout_load", "is_level_shifter", "switch_function", "pg_function"}},
        {kLibertyValues, kTypeColor, "",
         {"input", "output", "inout", "internal", "positive_unate", "negative_unate",
          "non_unate", "combinational", "combinational_rise", "combinational_fall",
          "rising_edge", "falling_edge", "setup_rising", "setup_falling", "hold_rising",
          "hold_falling", "recovery_rising", "removal_rising", "three_state_enable",
          "three_state_disable", "table_lookup", "true", "false",
          "input_net_transition", "total_output_net_capacitance",
          "related_pin_transition", "constrained_pin_transition", "primary_power",
          "primary_ground", "nwell", "pwell", "balanced_tree", "best_case_tree",
          "worst_case_tree", "bit", "array"}},
    },
    {}, {}, 0, 0};

// ---- SPEF parasitics ----
// The '*' keywords (*D_NET, *CONN, *CAP, *RES, *END ...) are words thanks to '*'; any
// other word that starts with '*' is a name-map reference (*123, *5:2). '//' and
// '/* */' comments, quoted strings; ':' joins a reference to its pin, '.' keeps numbers
// whole.
const LanguageDef kSpef = {
    false, 0, '\\', "/*", "*/",
    {{"//", "", true}},
    "\"", "", "",
    {
        {kSpefKeywords, kKeywordColor, "*_",
         {"*SPEF", "*DESIGN", "*DATE", "*VENDOR", "*PROGRAM", "*VERSION", "*DESIGN_FLOW",
          "*DIVIDER", "*DELIMITER", "*BUS_DELIMITER", "*T_UNIT", "*C_UNIT", "*R_UNIT",
          "*L_UNIT", "*NAME_MAP", "*POWER_NETS", "*GROUND_NETS", "*PORTS",
          "*PHYSICAL_PORTS", "*DEFINE", "*PDEFINE", "*VARIATION_PARAMETERS", "*D_NET",
          "*R_NET", "*D_PNET", "*R_PNET", "*CONN", "*CAP", "*RES", "*INDUC", "*END",
          "*P", "*I", "*N", "*C", "*L", "*S", "*D", "*V", "*Q", "*K"}},
        {kSpefUnits, kOptionColor, "",
         {"PS", "NS", "US", "FF", "PF", "NF", "UF", "OHM", "KOHM", "HENRY", "MH", "UH",
          "I", "O", "B"}},
        {kSpefReferences, kElementColor, ":.", {}},
    },
    {}, {{kSpefReferences, '*'}}, 0, 0};

// ---- DSPF parasitics ----
// SPICE lines (the SPICE sections and comments) and '*|' records, whose word the view
// colours as a record (*|NET, *|P, *|I, *|S).
const LanguageDef kDspf = {
    true, 0, '\\', "", "",
    {{"*", kFirstColumnOnly, true}, {"$", " \t", true}, {";", "", true}},
    "\"", "'", "",
    {
        {kSpiceStatements, kKeywordColor, "._",
         {".subckt", ".ends", ".end", ".include", ".param", ".global", ".option",
          ".model"}},
        {kSpiceElements, kElementColor, "", {}},
        {kDspfRecords, kOperationColor, "", {}},
    },
    {}, {}, 0, 0};

// ---- Spectre netlists ----
// '//' comments anywhere and '*' comments in the first column; statements, analyses and
// primitives are case-sensitive words; 'lang=spice' switches a section to SPICE, whose
// lines still read well as Spectre.
const LanguageDef kSpectre = {
    false, 0, '\\', "", "",
    {{"//", "", true}, {"*", kFirstColumnOnly, true}},
    "\"", "", "",
    {
        {kSpectreStatements, kKeywordColor, "_.",
         {"simulator", "lang", "spectre", "spice", "subckt", "ends", "inline", "model",
          "parameters", "include", "ahdl_include", "section", "endsection", "library",
          "endlibrary", "global", "ground", "statistics", "process", "mismatch", "vary",
          "correlate", "truncate", "real", "if", "else", "export", "save", "ic",
          "nodeset", "options", "set", "alter", "altergroup", "check", "checklimit",
          "info", "paramset", "assert", "function", "return"}},
        {kSpectreAnalyses, kOperationColor, "",
         {"tran", "dc", "ac", "noise", "xf", "sp", "stb", "pz", "pss", "pac", "pnoise",
          "pxf", "psp", "qpss", "hb", "hbac", "hbnoise", "sweep", "montecarlo", "envlp",
          "dcmatch", "acmatch", "sens", "fourier"}},
        {kSpectrePrimitives, kTypeColor, "",
         {"resistor", "capacitor", "inductor", "mutual_inductor", "vsource", "isource",
          "vcvs", "vccs", "ccvs", "cccs", "pvcvs", "pvccs", "bsource", "diode", "bjt",
          "mos1", "mos3", "bsim3v3", "bsim4", "bsimsoi", "bsimcmg", "psp103", "hisim2",
          "switch", "port", "nport", "tline", "relay", "iprobe",
          "type", "mag", "val0", "val1", "period", "delay", "rise", "fall",
          "width", "wave", "file", "stop", "start", "step", "errpreset", "reltol",
          "vabstol", "iabstol", "temp", "tnom", "scale", "gmin"}},
    },
    {}, {}, 0, 0};

// ---- LEF and DEF ----
// Statements and their keywords in any case, '#' comments after a blank or in the first
// column, quoted strings; '.' keeps 0.14 one number.
const LanguageDef kLefDef = {
    true, 0, '\\', "", "",
    {{"#", " \t", true}},
    "\"", "", "",
    {
        {kLefDefStatements, kKeywordColor, "_.",
         {"version", "namescasesensitive", "busbitchars", "dividerchar", "units",
          "manufacturinggrid", "useminspacing", "clearancemeasure", "propertydefinitions",
          "layer", "via", "viarule", "generate", "nondefaultrule", "nondefaultrules",
          "site", "macro", "pin", "port", "obs", "end", "library", "design",
          "technology", "diearea", "row", "tracks", "gcellgrid", "vias", "components",
          "pins", "pinproperties", "blockages", "specialnets", "nets", "regions",
          "groups", "fills", "styles", "scanchains", "history", "beginext", "endext",
          "maxviastack", "antenna", "property"}},
        {kLefDefKeywords, kOptionColor, "",
         {"type", "routing", "cut", "masterslice", "overlap", "implant", "direction",
          "horizontal", "vertical", "pitch", "offset", "width", "spacing", "area",
          "resistance", "rpersq", "capacitance", "cpersqdist", "edgecapacitance",
          "thickness", "minwidth", "maxwidth", "database", "microns", "class", "core",
          "pad", "block", "ring", "cover", "endcap", "feedthru", "tiehigh", "tielow",
          "spacer", "antennacell", "welltap", "origin", "foreign", "size", "by",
          "symmetry", "x", "y", "r90", "use", "signal", "power", "ground", "clock",
          "analog", "input", "output", "inout", "shape", "abutment", "rect", "polygon",
          "path", "placed", "fixed", "unplaced", "routed", "new", "source", "dist",
          "netlist", "timing", "user", "weight", "orient", "n", "s", "e", "w", "fn",
          "fs", "fe", "fw", "do", "step", "net", "special", "mask", "shield", "rule",
          "halo", "placement", "partial", "soft", "enclosure", "minimumcut",
          "minenclosedarea", "frequency", "default", "keepout"}},
    },
    {}, {}, 0, 0};

// ---- Tcl scripts, SDC constraints and UPF power intent ----
// '#' comments where a command starts (first column, after a blank or a ';'); Tcl
// commands and the commands of the timing and power formats; words starting with '$'
// are variables and with '-' options (-period, -clock); '{' '}' '[' ']' group words and
// are plain text (a quote inside braces still opens a string); quoted strings may span
// lines; '.' keeps 0.05 one number.
const LanguageDef kTcl = {
    false, 0, '\\', "", "",
    {{"#", " \t;", true}},
    "\"", "", "",
    {
        {kTclCommands, kKeywordColor, "_:.",
         {"set", "unset", "proc", "return", "if", "elseif", "else", "then", "for",
          "foreach", "while", "break", "continue", "switch", "source", "puts", "expr",
          "incr", "append", "lappend", "list", "lindex", "llength", "lrange", "lsearch",
          "lsort", "concat", "join", "split", "string", "regexp", "regsub", "format",
          "scan", "global", "upvar", "uplevel", "variable", "namespace", "package",
          "catch", "error", "eval", "info", "array", "dict", "exit", "open", "close",
          "gets", "file", "glob", "exec", "after", "subst", "lassign", "try", "throw"}},
        {kSdcUpfCommands, kOperationColor, "",
         {"create_clock", "create_generated_clock", "set_clock_uncertainty",
          "set_clock_latency", "set_clock_transition", "set_clock_groups",
          "set_clock_gating_check", "set_propagated_clock", "set_input_delay",
          "set_output_delay", "set_false_path", "set_multicycle_path", "set_max_delay",
          "set_min_delay", "set_load", "set_driving_cell", "set_drive",
          "set_input_transition", "set_max_transition", "set_max_capacitance",
          "set_max_fanout", "set_case_analysis", "set_disable_timing", "set_dont_touch",
          "set_dont_use", "set_ideal_network", "set_operating_conditions",
          "set_wire_load_model", "set_units", "set_timing_derate", "set_max_area",
          "group_path", "current_design", "current_instance", "get_ports", "get_pins",
          "get_cells", "get_nets", "get_clocks", "get_lib_cells", "get_libs",
          "all_inputs", "all_outputs", "all_clocks", "all_registers", "sdc_version",
          "upf_version", "load_upf", "set_scope", "create_power_domain",
          "create_supply_port", "create_supply_net", "create_supply_set",
          "connect_supply_net", "set_domain_supply_net", "associate_supply_set",
          "create_power_switch", "set_isolation", "set_isolation_control",
          "set_level_shifter", "set_retention", "set_retention_control",
          "add_power_state", "create_pst", "add_pst_state", "add_port_state",
          "map_isolation_cell", "map_level_shifter_cell", "map_retention_cell",
          "set_port_attributes", "set_design_attributes", "read_verilog", "read_liberty",
          "read_sdc", "read_spef", "link_design", "report_timing", "report_checks"}},
        {kTclVariables, kElementColor, "$", {}},
        {kTclOptions, kOptionColor, "-", {}},
    },
    {}, {{kTclVariables, '$'}, {kTclOptions, '-'}}, 0, 0};

// ---- Plain text: no delimiters, no keywords, every kind in the normal text colour ----
const LanguageDef kText = {false, 0, '\\', "", "", {}, "", "", "", {}, {}, {}, 0, 0};

const LanguageDef& LanguageOf(quill::DocumentType type) {
  switch (type) {
    case quill::DOCTYPE_SPICE: return kSpice;
    case quill::DOCTYPE_CALIBRE: return kCalibre;
    case quill::DOCTYPE_DRACULA: return kDracula;
    case quill::DOCTYPE_CPP: return kCpp;
    case quill::DOCTYPE_LOGS: return kLogs;
    case quill::DOCTYPE_VERILOG: return kVerilog;
    case quill::DOCTYPE_LIBERTY: return kLiberty;
    case quill::DOCTYPE_SPEF: return kSpef;
    case quill::DOCTYPE_DSPF: return kDspf;
    case quill::DOCTYPE_SPECTRE: return kSpectre;
    case quill::DOCTYPE_LEFDEF: return kLefDef;
    case quill::DOCTYPE_TCL: return kTcl;
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

const std::vector<LanguageInfo>& Languages() {
  static const std::vector<LanguageInfo> kAll = {
      {quill::DOCTYPE_SPICE, "SPICE netlists", "sp;spi;cir;net;cdl;inc"},
      {quill::DOCTYPE_DSPF, "DSPF parasitics", "dspf;spf"},
      {quill::DOCTYPE_SPEF, "SPEF parasitics", "spef"},
      {quill::DOCTYPE_SPECTRE, "Spectre netlists", "scs"},
      {quill::DOCTYPE_VERILOG, "Verilog sources and netlists", "v;vg;sv;vh;svh"},
      {quill::DOCTYPE_LIBERTY, "Liberty libraries", "lib"},
      {quill::DOCTYPE_LEFDEF, "LEF and DEF", "lef;def"},
      {quill::DOCTYPE_TCL, "Tcl, SDC and UPF scripts", "tcl;sdc;upf"},
      {quill::DOCTYPE_CALIBRE, "Calibre rule decks", "svrf;cal;rul"},
      {quill::DOCTYPE_DRACULA, "Dracula rule decks", "drc;dra"},
      {quill::DOCTYPE_CPP, "C and C++ sources", "c;h;cpp;cc;hpp;cxx"},
      {quill::DOCTYPE_LOGS, "Log files", "log"},
      {quill::DOCTYPE_TEXT, "Text files", "txt"},
  };
  return kAll;
}

namespace {

// Calls f with each extension of a language's list.
template <typename F>
void ForEachExtension(const LanguageInfo& lang, F f) {
  std::string_view list(lang.extensions);
  while (!list.empty()) {
    const std::size_t semi = std::min(list.find(';'), list.size());
    f(list.substr(0, semi));
    list.remove_prefix(std::min(semi + 1, list.size()));
  }
}

// The lower-cased extension of the file name in path ("" when it has none).
std::string ExtensionOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot == 0) return "";
  return quill::AsciiLower(name.substr(dot + 1));
}

// The first word of a line: letters, digits, '_', '.', '`' and '*|'.
std::string_view FirstWord(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && (std::isalnum(static_cast<unsigned char>(line[n])) ||
                             std::strchr("_.`*|", line[n]) != nullptr))
    ++n;
  return line.substr(0, n);
}

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// The type one line of a file's start tells (trimmed, outside comments), or NONE.
quill::DocumentType TypeOfLine(std::string_view line) {
  using quill::DocumentType;
  const std::string_view word = FirstWord(line);
  const std::string lower = quill::AsciiLower(word);
  if (lower == "*spef") return quill::DOCTYPE_SPEF;
  if (line.substr(0, 2) == "*|") return quill::DOCTYPE_DSPF;
  if (line[0] == '*') return quill::DOCTYPE_NONE;  // a SPICE comment, or inside /* */
  if (quill::StartsWithNoCase(line, "simulator lang") ||
      OneOf(lower, {"subckt", "parameters", "ahdl_include"}) ||
      (lower == "include" && line.find('"') != std::string_view::npos))
    return quill::DOCTYPE_SPECTRE;
  if (lower == "library" && line.find('(') != std::string_view::npos) return quill::DOCTYPE_LIBERTY;
  if (OneOf(lower, {"module", "macromodule", "primitive", "`timescale", "`define", "`include",
                    "`ifdef", "`ifndef", "`celldefine", "`default_nettype"}))
    return quill::DOCTYPE_VERILOG;
  if (OneOf(lower, {".lib", ".model", ".subckt", ".param", ".include", ".inc", ".option",
                    ".options", ".global", ".temp", ".title", ".protect", ".data", ".hdl",
                    ".connect", ".end", ".ends", ".endl"}))
    return quill::DOCTYPE_SPICE;
  const bool statement = line.back() == ';';
  if (statement && OneOf(word, {"VERSION", "NAMESCASESENSITIVE", "BUSBITCHARS", "DIVIDERCHAR",
                                "DESIGN", "UNITS", "MANUFACTURINGGRID", "DIEAREA", "TECHNOLOGY"}))
    return quill::DOCTYPE_LEFDEF;
  if (word.find('_') != std::string_view::npos &&
      OneOf(lower.substr(0, lower.find('_') + 1),
            {"set_", "get_", "create_", "current_", "read_", "load_", "upf_", "sdc_", "all_",
             "connect_", "add_", "map_", "report_", "link_"}))
    return quill::DOCTYPE_TCL;
  if (OneOf(lower, {"proc", "source", "package", "namespace", "foreach"}) ||
      (lower == "set" && line.size() > 4 &&
       std::strchr("[{\"$0123456789-", line[line.find_last_of(" \t") + 1]) != nullptr))
    return quill::DOCTYPE_TCL;
  return quill::DOCTYPE_NONE;
}

}  // namespace

std::string OpenFilter() {
  std::string filter;
  for (const LanguageInfo& lang : Languages()) {
    filter += lang.name;
    char sep = '|';
    ForEachExtension(lang, [&](std::string_view ext) {
      filter += sep;
      filter += "*.";
      filter += ext;
      sep = ';';
    });
    filter += '|';
  }
  return filter + "All files|*||";
}

std::string AllExtensions() {
  std::string all;
  // Plain text first: its extension is the one a new file is saved with.
  for (const bool text : {true, false})
    for (const LanguageInfo& lang : Languages())
      if ((lang.type == quill::DOCTYPE_TEXT) == text)
        ForEachExtension(lang, [&](std::string_view ext) {
          all += all.empty() ? "." : ";.";
          all += ext;
        });
  return all;
}

quill::DocumentType DocumentTypeForPath(std::string_view path) {
  const std::string ext = ExtensionOf(path);
  if (ext.empty()) return quill::DOCTYPE_TEXT;
  for (const LanguageInfo& lang : Languages()) {
    bool found = false;
    ForEachExtension(lang, [&](std::string_view e) { found |= e == ext; });
    if (found) return lang.type;
  }
  return quill::DOCTYPE_TEXT;
}

quill::DocumentType DocumentTypeOfText(std::string_view head) {
  bool inComment = false;  // inside /* */
  for (int n = 0; n < 60 && !head.empty(); ++n) {
    const std::size_t eol = std::min(head.find('\n'), head.size());
    std::string_view line = head.substr(0, eol);
    head.remove_prefix(std::min(eol + 1, head.size()));
    line = quill::Trim(line);
    if (inComment) {
      const std::size_t close = line.find("*/");
      if (close == std::string_view::npos) continue;
      inComment = false;
      line.remove_prefix(close + 2);
      line = quill::TrimLeft(line);
    }
    if (line.substr(0, 2) == "/*") {
      inComment = line.find("*/", 2) == std::string_view::npos;
      continue;
    }
    if (line.empty() || line.substr(0, 2) == "//") continue;
    if (line[0] == '#') {
      if (line.substr(0, 2) == "#!" && line.find("tcl") != std::string_view::npos)
        return quill::DOCTYPE_TCL;
      continue;
    }
    const quill::DocumentType type = TypeOfLine(line);
    if (type != quill::DOCTYPE_NONE) return type;
  }
  return quill::DOCTYPE_NONE;
}

quill::DocumentType DocumentTypeForFile(std::string_view path, std::string_view head) {
  const std::string ext = ExtensionOf(path);
  if (!ext.empty() && ext != "lib" && ext != "inc") return DocumentTypeForPath(path);
  const quill::DocumentType byText = DocumentTypeOfText(head);
  if (byText != quill::DOCTYPE_NONE) return byText;
  return DocumentTypeForPath(path);
}

bool IsSpiceElementLetter(char c) {
  const char lower = quill::AsciiLower(c);
  return lower != 0 && std::string_view("bcdefghijklmqrstuvwxyz").find(lower) !=
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
  for (const auto& [name, prefix] : def.wordPrefixes)
    style.SetWordPrefix(style.GetIndexByName(name), prefix);
  style.SetIdentifierEscape(def.identifierEscape);
  style.SetNumberBaseMark(def.numberBaseMark);
}

}  // namespace quillpad
