#pragma once
// The languages quillpad edits: which document type a file is, and the syntax data each
// type puts into its style (delimiters, escapes, the preprocessor character, predefined
// keyword sections with their colours and keywords).

#include <string_view>

#include "style/document_style.h"

namespace quillpad {

// The document type a file name calls for, by its extension (case-insensitive):
// .sp .spi .cir .net .cdl SPICE; .svrf .cal .rul CALIBRE; .drc .dra DRACULA;
// .c .h .cpp .cc .hpp .cxx CPP; .log LOGS; anything else TEXT.
quill::DocumentType DocumentTypeForPath(std::string_view path);

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

// True for the letters that start a SPICE element name (R1, M3, X12 ...).
bool IsSpiceElementLetter(char c);

}  // namespace quillpad
