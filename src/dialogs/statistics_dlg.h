#pragma once
// TStatisticsDlg: the modal "Document Properties" dialog of a view. It shows the
// document's full name, the characters, words and lines of the whole text and of the
// selection, the document type, the file's size and the local time of its last save, and
// changes nothing. Words are what Boost.Tokenizer's default separator leaves between
// white space and punctuation.

#include <cstdint>
#include <string>

#include "dialogs/dialog.h"

namespace quill {
class ITextSource;
}

class TStatisticsDlg : public quill::CDialog {
 public:
  // A dialog on template 111 whose parent is the window of the text (a view).
  explicit TStatisticsDlg(quill::ITextSource* pView);

  // Computes the fields from the text (none: only the framework's initialisation).
  using quill::CDialog::OnInitDialog;
  int OnInitDialog() override;
  // Writes the fields to their controls.
  void DoDataExchange();
  // Fills every field from the text and its document's file.
  void CalcStatistics();

  // The number of words in nLength characters from pszText.
  static std::int64_t CountWords(const char* pszText, int nLength);

  std::string m_strFullName;
  std::int64_t m_nCharsTotal = 0;
  std::int64_t m_nWordsTotal = 0;
  std::int64_t m_nLinesTotal = 0;
  std::int64_t m_nCharsSelected = 0;
  std::int64_t m_nWordsSelected = 0;
  std::int64_t m_nLinesSelected = 0;
  std::string m_strFileType;
  std::uint64_t m_nFileSize = 0;
  std::string m_strLastSaved;

 private:
  void CalcSelection();
  void CalcFileFacts();

  quill::ITextSource* m_pView;
};
