#pragma once
// The languages quillpad edits: which document type a file is, and the syntax data each
// type puts into its style (delimiters, escapes, the preprocessor character, predefined
// keyword sections with their colours and keywords).

#include <string>
#include <string_view>
#include <vector>

#include "style/document_style.h"

namespace quillpad {

// One document type as quillpad offers it in File > Open, View > Document Type and
// Tools > Options: its name and its file extensions (lower case, ';' between them).
struct LanguageInfo {
  quill::DocumentType type;
  const char* name;
  const char* extensions;
};
// Every type, in the order the menus list them.
const std::vector<LanguageInfo>& Languages();
// The File > Open filter: one entry per type, then all files.
std::string OpenFilter();
// Every extension of every type, ".txt;.sp;.spi;..." (plain text first).
std::string AllExtensions();

// The document type a file name calls for, by its extension (case-insensitive, see
// Languages(); .lib is Liberty and .inc SPICE); TEXT for any other name.
quill::DocumentType DocumentTypeForPath(std::string_view path);
// The type the first lines of a file tell (a SPEF or DSPF header, a Liberty library
// group, a Verilog module or directive, SPICE dot statements, Spectre's simulator
// statement, LEF/DEF header statements, Tcl, SDC or UPF commands), or DOCTYPE_NONE.
quill::DocumentType DocumentTypeOfText(std::string_view head);
// The type of a file from its name and first lines: the extension decides, except for
// names without one and for .lib and .inc, which several languages use: there the text
// decides first (a .lib of SPICE models stays SPICE).
quill::DocumentType DocumentTypeForFile(std::string_view path, std::string_view head);

// Fills a freshly constructed style with the language of its document type. The
// user's settings are not read here (the view does that after this).
void DefineLanguage(quill::TDocumentStyle& style);

// Names of the predefined keyword sections (also their registry keys).
inline constexpr const char* kSpiceStatements = "SPICE Statements";
inline constexpr const char* kSpiceModelTypes = "SPICE Model Types";
inline constexpr const char* kSpiceElements = "SPICE Element Names";
inline constexpr const char* kCalibreKeywords = "Calibre Keywords";
inline constexpr const char* kCalibreOperations = "Calibre Operations";
inline constexpr const char* kCalibreOptions = "Calibre Options";
inline constexpr const char* kDraculaKeywords = "Dracula Keywords";
inline constexpr const char* kDraculaOperations = "Dracula Operations";
inline constexpr const char* kDraculaOptions = "Dracula Options";
inline constexpr const char* kCppKeywords = "C/C++ Keywords";
inline constexpr const char* kCppTypes = "C/C++ Types";
inline constexpr const char* kLogErrors = "Errors";
inline constexpr const char* kLogWarnings = "Warnings";
inline constexpr const char* kLogInfo = "Information";
inline constexpr const char* kVerilogKeywords = "Verilog Keywords";
inline constexpr const char* kVerilogGates = "Verilog Gate Primitives";
inline constexpr const char* kVerilogSystemTasks = "Verilog System Tasks";
inline constexpr const char* kVerilogMacros = "Verilog Macros";
inline constexpr const char* kLibertyGroups = "Liberty Groups";
inline constexpr const char* kLibertyAttributes = "Liberty Attributes";
inline constexpr const char* kLibertyValues = "Liberty Values";
inline constexpr const char* kSpefKeywords = "SPEF Keywords";
inline constexpr const char* kSpefUnits = "SPEF Units and Directions";
inline constexpr const char* kSpefReferences = "SPEF Name References";
inline constexpr const char* kDspfRecords = "DSPF Records";
inline constexpr const char* kSpectreStatements = "Spectre Statements";
inline constexpr const char* kSpectreAnalyses = "Spectre Analyses";
inline constexpr const char* kSpectrePrimitives = "Spectre Primitives and Parameters";
inline constexpr const char* kLefDefStatements = "LEF/DEF Statements";
inline constexpr const char* kLefDefKeywords = "LEF/DEF Keywords";
inline constexpr const char* kTclCommands = "Tcl Commands";
inline constexpr const char* kSdcUpfCommands = "SDC and UPF Commands";
inline constexpr const char* kTclVariables = "Tcl Variables";
inline constexpr const char* kTclOptions = "Command Options";

// True for the letters that start a SPICE element name (R1, M3, X12 ...).
bool IsSpiceElementLetter(char c);

}  // namespace quillpad
