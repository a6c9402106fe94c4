#include "dialogs/statistics_dlg.h"

#include <boost/tokenizer.hpp>

#include <algorithm>
#include <ctime>
#include <iomanip>
#include <iterator>
#include <locale>
#include <sstream>

#include "platform/dialog_host.h"
#include "platform/document.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "resources/dlg_statistics.h"
#include "view/text_source.h"

using namespace quill;

namespace {

// A token that keeps nothing: the count is all that is wanted, so the tokenizer's
// characters go nowhere and no word is ever allocated.
struct CountedWord {
  CountedWord& operator+=(char) { return *this; }
};

// 100-ns units since 1601 to the local time "03:07:09 PM, Monday, March 06, 2006".
std::string FormatLastWrite(std::uint64_t fileTime) {
  constexpr std::int64_t kEpochDifference = 11644473600LL;  // 1601 to 1970, seconds
  constexpr std::int64_t kSecondsBefore1900 = 2208988800LL;  // 1900 to 1970
  std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10000000ULL) - kEpochDifference;
  if (seconds < -kSecondsBefore1900) seconds = 0;
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return std::string();
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << std::put_time(&local, "%I:%M:%S %p, %A, %B %d, %Y");
  return out.str();
}

}  // namespace

TStatisticsDlg::TStatisticsDlg(ITextSource* pView)
    : CDialog(IDD_STATISTICS_DIALOG, pView != nullptr ? pView->GetSourceWindow() : nullptr),
      m_pView(pView) {}

std::int64_t TStatisticsDlg::CountWords(const char* pszText, int nLength) {
  if (pszText == nullptr || nLength <= 0) return 0;
  // The tokenizer's own separator, stepped directly: one token per call. It keeps no
  // state between calls, so one serves every count.
  thread_local boost::char_delimiters_separator<char> separator;
  const char* next = pszText;
  const char* const end = pszText + nLength;
  CountedWord word;
  std::int64_t count = 0;
  while (separator(next, end, word)) ++count;
  return count;
}

int TStatisticsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_pView == nullptr) return 1;
  CalcStatistics();
  DoDataExchange();
  return 1;
}

void TStatisticsDlg::CalcStatistics() {
  const int nLineCount = m_pView->GetLineCount();
  m_nCharsTotal = 0;
  m_nWordsTotal = 0;
  for (int nLine = 0; nLine < nLineCount; ++nLine) {
    const int nLength = m_pView->GetLineLength(nLine);
    m_nCharsTotal += nLength;
    m_nWordsTotal += CountWords(m_pView->GetLineChars(nLine), nLength);
  }
  m_nLinesTotal = nLineCount;
  CalcSelection();
  const CDocument* pDoc = m_pView->GetSourceDocument();
  m_strFullName = pDoc != nullptr ? pDoc->GetPathName() : std::string();
  m_strFileType = Format("%s Document", m_pView->GetCaption().c_str());
  CalcFileFacts();
}

void TStatisticsDlg::CalcSelection() {
  m_nCharsSelected = m_nWordsSelected = m_nLinesSelected = 0;
  CPoint ptStart;
  CPoint ptEnd;
  if (!m_pView->GetSelectedRange(ptStart, ptEnd)) return;
  const int x0 = ptStart.x, y0 = ptStart.y, x1 = ptEnd.x, y1 = ptEnd.y;
  const char* pszFirst = m_pView->GetLineChars(y0);
  const int nFirstLength = m_pView->GetLineLength(y0);
  if (y0 == y1) {
    m_nCharsSelected = x1 - x0;
    m_nWordsSelected = CountWords(pszFirst + x0, x1 - x0);
  } else {
    m_nCharsSelected = nFirstLength - x0 + x1;
    m_nWordsSelected = CountWords(pszFirst + x0, nFirstLength - x0);
    for (int nLine = y0 + 1; nLine <= y1; ++nLine) {
      const int nLength = m_pView->GetLineLength(nLine);
      if (nLine < y1) m_nCharsSelected += nLength;
      m_nWordsSelected += CountWords(m_pView->GetLineChars(nLine), nLength);
    }
    // Less the words after the end; a word the end cuts stays counted.
    const int nLastLength = m_pView->GetLineLength(y1);
    const int nFrom = std::min(x1 + 1, nLastLength);
    m_nWordsSelected -= CountWords(m_pView->GetLineChars(y1) + nFrom, nLastLength - nFrom);
  }
  m_nLinesSelected = y1 - y0 + 1;
}

void TStatisticsDlg::CalcFileFacts() {
  m_nFileSize = 0;
  m_strLastSaved.clear();
  if (m_strFullName.empty()) return;
  IFileService& files = GetFileService();
  std::unique_ptr<IFile> file =
      files.Open(m_strFullName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                 OPEN_EXISTING);
  std::uint64_t size = 0;
  std::uint64_t lastWrite = 0;
  if (file == nullptr || !file->GetSize(size) || !files.GetLastWriteTime(m_strFullName, lastWrite))
    return;
  m_nFileSize = size;
  m_strLastSaved = FormatLastWrite(lastWrite);
}

void TStatisticsDlg::DoDataExchange() {
  IDialogHost* host = GetHost();
  if (host == nullptr) return;
  host->SetDlgItemText(IDC_STAT_FULLNAME, m_strFullName);
  host->SetDlgItemText(IDC_STAT_CHARS_TOTAL, Format("%lld", static_cast<long long>(m_nCharsTotal)));
  host->SetDlgItemText(IDC_STAT_WORDS_TOTAL, Format("%lld", static_cast<long long>(m_nWordsTotal)));
  host->SetDlgItemText(IDC_STAT_LINES_TOTAL, Format("%lld", static_cast<long long>(m_nLinesTotal)));
  host->SetDlgItemText(IDC_STAT_CHARS_SELECTED, Format("%lld", static_cast<long long>(m_nCharsSelected)));
  host->SetDlgItemText(IDC_STAT_WORDS_SELECTED, Format("%lld", static_cast<long long>(m_nWordsSelected)));
  host->SetDlgItemText(IDC_STAT_LINES_SELECTED, Format("%lld", static_cast<long long>(m_nLinesSelected)));
  host->SetDlgItemText(IDC_STAT_FILETYPE, m_strFileType);
  host->SetDlgItemText(IDC_STAT_FILESIZE, Format("%llu", static_cast<unsigned long long>(m_nFileSize)));
  host->SetDlgItemText(IDC_STAT_LASTSAVED, m_strLastSaved);
}
