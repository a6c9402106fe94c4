#include "language_views.h"

#include <cctype>

#include "documents/document.h"
#include "buffer/text_buffer.h"
#include "languages.h"
#include "pad_document.h"
#include "platform/print.h"
#include "settings/page_margins.h"
#include "settings/registry.h"

namespace quillpad {

using quill::TDocumentStyle;

const char kReadOnlyNulMessage[] =
    "Read-only: this file holds NUL bytes, which an edit could lose.";
const char kReadOnlyFileMessage[] =
    "Read-only: the file is write-protected. Save As writes a copy that can be edited.";

TDocumentStyle* LanguageView::CreateStyle() {
  auto* style = new TDocumentStyle(m_type, quill::ProfileNameOf(m_type));
  DefineLanguage(*style);
  style->GetFromRegistry();
  m_pStyle.reset(style);
  return style;
}

bool LanguageView::QueryEditable() {
  if (!QuillView::QueryEditable()) return false;
  if (!m_pTextBuffer->GetReadOnly()) return true;
  // Every edit is refused here: the status bar says why, so a key does not just do nothing.
  const auto* doc = dynamic_cast<const PadDocument*>(GetDocument());
  SetToolBarMessage(doc != nullptr && doc->HoldsNulBytes() ? kReadOnlyNulMessage
                                                           : kReadOnlyFileMessage);
  return false;
}

void LanguageView::OnUpdate(quill::QuillView* pSender, long lHint, void* pHint) {
  if (pSender == nullptr && onFileChanged && GetLastWriteTime() != 0 && CheckTimestamp()) {
    onFileChanged();
    return;
  }
  QuillView::OnUpdate(pSender, lHint, pHint);
}

void LanguageView::ReloadFromFile() {
  QuillView::ReloadFromFile();
  if (auto* doc = dynamic_cast<PadDocument*>(GetDocument())) doc->OnReloaded();
}

void LanguageView::DeleteWord(bool bBefore) {
  if (!QueryEditable()) return;
  if (!IsSelection()) {
    if (bBefore) MoveWordLeft(1);
    else MoveWordRight(1);
  }
  if (IsSelection()) OnEditDelete();
}

namespace {
std::string OrientationPath(const std::string& profile) {
  return quill::RegistryPath(quill::PageSetupSection(profile), "\\Orientation");
}
}  // namespace

short LanguageView::StoredPageOrientation() const {
  registry_int<int> value(OrientationPath(quill::ProfileNameOf(m_type)), quill::HKEY_CURRENT_USER,
                          quill::DMORIENT_PORTRAIT);
  return value.read() == quill::DMORIENT_LANDSCAPE ? quill::DMORIENT_LANDSCAPE
                                                   : quill::DMORIENT_PORTRAIT;
}

void LanguageView::PageSetup() {
  m_nPageOrientation = StoredPageOrientation();
  OnFilePageSetup();
  // The view takes the dialog's orientation only on OK.
  if (m_nPageOrientation != StoredPageOrientation()) {
    registry_int<int> value(OrientationPath(quill::ProfileNameOf(m_type)),
                            quill::HKEY_CURRENT_USER, quill::DMORIENT_PORTRAIT);
    value.write(m_nPageOrientation);
  }
}

unsigned long LanguageView::ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                                      int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) {
  if (m_pStyle == nullptr) return 0;
  return m_pStyle->ParseLine(pszChars, nLength, dwCookie, nLineIndex, pBuf, nActualItems);
}

unsigned long LanguageView::ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                                          int nLineIndex, quill::TParseCheckpoints& states,
                                          int nFrom, int nTo, TEXTBLOCK* pBuf, int& nActualItems) {
  if (m_pStyle == nullptr) return 0;
  return m_pStyle->ParseLinePart(pszChars, nLength, dwCookie, nLineIndex, states, nFrom, nTo, pBuf,
                                 nActualItems);
}

unsigned long SpiceView::ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                                   int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) {
  const int first = nActualItems;
  const unsigned long cookie =
      LanguageView::ParseLine(pszChars, nLength, dwCookie, nLineIndex, pBuf, nActualItems);
  MarkElementName(pszChars, nLength, dwCookie, nLineIndex, pBuf, first, nActualItems);
  return cookie;
}

unsigned long SpiceView::ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                                       int nLineIndex, quill::TParseCheckpoints& states, int nFrom,
                                       int nTo, TEXTBLOCK* pBuf, int& nActualItems) {
  const int first = nActualItems;
  const unsigned long cookie = LanguageView::ParseLinePart(pszChars, nLength, dwCookie, nLineIndex,
                                                           states, nFrom, nTo, pBuf, nActualItems);
  // Runs resumed mid-line do not start at 0 and are left alone.
  MarkElementName(pszChars, nTo, dwCookie, nLineIndex, pBuf, first, nActualItems);
  return cookie;
}

void SpiceView::MarkElementName(const char* pszChars, int nLength, unsigned long dwCookie,
                                int nLineIndex, TEXTBLOCK* pBuf, int first, int nActualItems) {
  // The first line of a netlist is its title, and a line that starts inside some open
  // construct or with anything but a letter is no element line.
  if (pBuf == nullptr || m_pStyle == nullptr || nLineIndex == 0 || dwCookie != 0 ||
      nLength < 1 || !IsSpiceElementLetter(pszChars[0]) || nActualItems <= first)
    return;
  TEXTBLOCK& run = pBuf[first];
  if (run.charPos != 0 || run.fgColorIndex != TDocumentStyle::COLORINDEX_NORMALTEXT) return;
  // A keyword or number run at 0 would follow the normal one; keep those.
  if (nActualItems > first + 1 && pBuf[first + 1].charPos == 0) return;
  const int section = m_pStyle->GetIndexByName(kSpiceElements);
  if (section < 0) return;
  run.fgColorIndex = TDocumentStyle::COLORINDEX_KEYWORD + section;
  run.bgColorIndex = TDocumentStyle::COLORINDEX_KEYWORD_BKGND + section;
}

int DspfView::RecordLength(const char* pszChars, int nLength, unsigned long dwCookie) {
  if (dwCookie != 0 || nLength < 2 || pszChars[0] != '*' || pszChars[1] != '|') return 0;
  int n = 2;
  while (n < nLength && (std::isalnum(static_cast<unsigned char>(pszChars[n])) || pszChars[n] == '_'))
    ++n;
  return n;
}

unsigned long DspfView::ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                                  int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems) {
  const int record = RecordLength(pszChars, nLength, dwCookie);
  if (record == 0 || m_pStyle == nullptr)
    return SpiceView::ParseLine(pszChars, nLength, dwCookie, nLineIndex, pBuf, nActualItems);
  if (const int section = m_pStyle->GetIndexByName(kDspfRecords); pBuf != nullptr && section >= 0)
    pBuf[nActualItems++] = TEXTBLOCK{0, TDocumentStyle::COLORINDEX_KEYWORD + section,
                                     TDocumentStyle::COLORINDEX_KEYWORD_BKGND + section};
  // The rest of the line, as text of its own, with its runs moved behind the record word.
  const int rest = nActualItems;
  const unsigned long cookie = m_pStyle->ParseLine(pszChars + record, nLength - record, 0, nLineIndex,
                                                   pBuf, nActualItems);
  if (pBuf != nullptr)
    for (int r = rest; r < nActualItems; ++r) pBuf[r].charPos += record;
  return cookie;
}

unsigned long DspfView::ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                                      int nLineIndex, quill::TParseCheckpoints& states, int nFrom,
                                      int nTo, TEXTBLOCK* pBuf, int& nActualItems) {
  if (RecordLength(pszChars, nLength, dwCookie) == 0)
    return SpiceView::ParseLinePart(pszChars, nLength, dwCookie, nLineIndex, states, nFrom, nTo,
                                    pBuf, nActualItems);
  // Records are short: the whole line up to nTo.
  return ParseLine(pszChars, nTo, dwCookie, nLineIndex, pBuf, nActualItems);
}

std::unique_ptr<LanguageView> CreateViewFor(quill::DocumentType type) {
  switch (type) {
    case quill::DOCTYPE_SPICE: return std::make_unique<SpiceView>();
    case quill::DOCTYPE_CALIBRE: return std::make_unique<CalibreView>();
    case quill::DOCTYPE_DRACULA: return std::make_unique<DraculaView>();
    case quill::DOCTYPE_CPP: return std::make_unique<CppView>();
    case quill::DOCTYPE_LOGS: return std::make_unique<LogView>();
    case quill::DOCTYPE_DSPF: return std::make_unique<DspfView>();
    case quill::DOCTYPE_VERILOG:
    case quill::DOCTYPE_LIBERTY:
    case quill::DOCTYPE_SPEF:
    case quill::DOCTYPE_SPECTRE:
    case quill::DOCTYPE_LEFDEF:
    case quill::DOCTYPE_TCL: return std::make_unique<DesignFileView>(type);
    default: return std::make_unique<TextView>();
  }
}

}  // namespace quillpad
