#pragma once
// quillpad's view classes, one per document type. Each builds its language's style (the
// language data, then the user's settings from the registry) and parses lines through it.

#include <functional>
#include <memory>

#include "style/document_style.h"
#include "view/quill_view.h"

namespace quillpad {

extern const char kReadOnlyNulMessage[];
extern const char kReadOnlyFileMessage[];

class LanguageView : public quill::QuillView {
 public:
  explicit LanguageView(quill::DocumentType type) : m_type(type) {}

  quill::TDocumentStyle* CreateStyle() override;
  unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                          int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) override;
  unsigned long ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                              int nLineIndex, quill::TParseCheckpoints& states, int nFrom, int nTo,
                              TEXTBLOCK* pBuf, int& nActualItems) override;
  int GetDocumentType() const override { return m_type; }
  std::string GetCaption() const override { return quill::ProfileNameOf(m_type); }
  // Read-only buffers (write-protected files, files with NUL bytes among them) take no
  // edits; the status bar says why (one of the two messages below).
  bool QueryEditable() override;
  // An update without a sender finds a file changed outside: with onFileChanged set the
  // host decides what happens (the component alone would reload it silently, edits and
  // all); without it the component's rule applies.
  void OnUpdate(quill::QuillView* pSender, long lHint, void* pHint) override;
  // Reloads, then lets the document look at the new file.
  void ReloadFromFile() override;
  std::function<void()> onFileChanged;

  // Deletes the word before (after) the caret as Ctrl+Left (Ctrl+Right) would select it,
  // or the selection when there is one: one undo step. Nothing when the view refuses edits.
  void DeleteWord(bool bBefore);

  // The page orientation (DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE) kept for the document
  // type beside its page-setup margins ("Orientation"), portrait until one is chosen.
  short StoredPageOrientation() const;
  // File > Page Setup: the dialog starts from the kept orientation and keeps what the user
  // chose on OK.
  void PageSetup();

 protected:
  void SetType(quill::DocumentType type) { m_type = type; }

 private:
  quill::DocumentType m_type;
};

// SPICE netlists: besides the style's runs, the element name that opens an element line
// (R1, M3, X12 ...) gets the colour of the element-name section.
class SpiceView : public LanguageView {
 public:
  SpiceView() : LanguageView(quill::DOCTYPE_SPICE) {}
  unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                          int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) override;
  unsigned long ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                              int nLineIndex, quill::TParseCheckpoints& states, int nFrom, int nTo,
                              TEXTBLOCK* pBuf, int& nActualItems) override;

 private:
  // Gives the element name at the line's start its colour in the runs from pBuf[first].
  void MarkElementName(const char* pszChars, int nLength, unsigned long dwCookie, int nLineIndex,
                       TEXTBLOCK* pBuf, int first, int nActualItems);
};

// DSPF parasitics: SPICE lines, and '*|' records (*|NET, *|P, *|I ...) whose first word
// takes the colour of the records section while the rest of the line is parsed as SPICE
// (a '*' in the first column would otherwise make the record a comment).
class DspfView : public SpiceView {
 public:
  DspfView() { SetType(quill::DOCTYPE_DSPF); }
  unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                          int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) override;
  unsigned long ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                              int nLineIndex, quill::TParseCheckpoints& states, int nFrom, int nTo,
                              TEXTBLOCK* pBuf, int& nActualItems) override;

 private:
  // The length of the record word at the line's start ("*|NET"), or 0 for other lines.
  static int RecordLength(const char* pszChars, int nLength, unsigned long dwCookie);
};

class CalibreView : public LanguageView {
 public:
  CalibreView() : LanguageView(quill::DOCTYPE_CALIBRE) {}
};

class DraculaView : public LanguageView {
 public:
  DraculaView() : LanguageView(quill::DOCTYPE_DRACULA) {}
};

class CppView : public LanguageView {
 public:
  CppView() : LanguageView(quill::DOCTYPE_CPP) {}
};

class LogView : public LanguageView {
 public:
  LogView() : LanguageView(quill::DOCTYPE_LOGS) {}
};

// Verilog, Liberty, SPEF, Spectre, LEF/DEF and Tcl: the style's runs as they are.
class DesignFileView : public LanguageView {
 public:
  explicit DesignFileView(quill::DocumentType type) : LanguageView(type) {}
};

class TextView : public LanguageView {
 public:
  TextView() : LanguageView(quill::DOCTYPE_TEXT) {}
};

// A new view of the class that shows documents of that type.
std::unique_ptr<LanguageView> CreateViewFor(quill::DocumentType type);

}  // namespace quillpad
