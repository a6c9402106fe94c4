// The document properties dialog over a view: counts of the text and the selection, the
// file's facts, and the view commands that show it.

#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "../settings/temp_dir.h"

#include "dialogs/statistics_dlg.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_statistics.h"
#include "settings/store.h"
#include "view/clike_view.h"

namespace quill {
namespace {

using testing::CLikeView;
using testing::Fill;

class NetlistView : public CLikeView {
 public:
  using CLikeView::CLikeView;
  std::string GetCaption() const override { return "SPICE"; }
};

class Properties : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallMemorySettingsStore();
    view.SetDocument(&doc);
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.OnInitialUpdate();
  }
  void TearDown() override { view.OnDestroy(); }
  // Runs OnProperties and returns the texts of count value controls from the first.
  std::vector<std::string> Shown(std::size_t first, std::size_t count) {
    static constexpr int kIds[] = {IDC_STAT_CHARS_TOTAL, IDC_STAT_WORDS_TOTAL, IDC_STAT_LINES_TOTAL,
                                   IDC_STAT_CHARS_SELECTED, IDC_STAT_WORDS_SELECTED, IDC_STAT_LINES_SELECTED,
                                   IDC_STAT_FILESIZE, IDC_STAT_LASTSAVED, IDC_STAT_FILETYPE, IDC_STAT_FULLNAME};
    dialogs.Runner().Reset();
    view.OnProperties();
    const HeadlessDialogHost* host = dialogs.Runner().LastHost();
    std::vector<std::string> texts;
    for (std::size_t i = first; host != nullptr && i < first + count; ++i)
      texts.push_back(host->GetDlgItemText(kIds[i]));
    return texts;
  }

  ScopedHeadlessDialogs dialogs;
  CDocument doc;
  QuillTextBuffer buffer;
  NetlistView view{&buffer};
  HeadlessWindow window{CSize(400, 160)};
};

TEST(WordCount, RunsBetweenBlanksAndPunctuationAreWords) {
  const std::pair<std::string, int> cases[] = {
      {"a-b c", 3}, {"x, y", 2}, {"...", 0}, {";;;", 0}, {"", 0},
      {"  M1 d g s b nch w=1u", 8}, {"\xe9t\xe9\tcaf\xe9", 2}};
  for (const auto& [text, words] : cases)
    EXPECT_EQ(TStatisticsDlg::CountWords(text.data(), static_cast<int>(text.size())), words) << text;
}

TEST_F(Properties, CountsTheTextAndTheSelection) {
  Fill(buffer, {"ab cd", "", "x, y z"});
  // Characters, words and lines of the text, then of the selection.
  const struct {
    CPoint start, end;
    std::vector<std::string> counts;
  } cases[] = {
      {{0, 0}, {0, 0}, {"11", "5", "3", "0", "0", "0"}},
      {{4, 0}, {0, 0}, {"11", "5", "3", "4", "2", "1"}},  // either order
      {{3, 0}, {2, 2}, {"11", "5", "3", "4", "2", "3"}},
      // Ending at the start of a line counts that line, and the word the end touches.
      {{0, 0}, {0, 2}, {"11", "5", "3", "5", "3", "3"}},
  };
  for (const auto& c : cases) {
    view.Select(c.start, c.end);
    EXPECT_EQ(Shown(0, 6), c.counts) << c.start.x << "," << c.start.y << " " << c.end.x << "," << c.end.y;
  }

  Fill(buffer, {});
  view.Select(CPoint(0, 0), CPoint(0, 0));
  EXPECT_EQ(Shown(0, 3), (std::vector<std::string>{"0", "0", "1"}));
}

TEST_F(Properties, ShowsTheFileTypeSizeAndLastSave) {
  // Never saved: no size and no time.
  EXPECT_EQ(Shown(6, 3), (std::vector<std::string>{"0", "", "SPICE Document"}));

  quill_test::TempDir files;
  const std::string path = files.Write("sample.sp", "M1 d g s b nch\r\n.end\r\n");
  // 2006-03-06 15:07:09 UTC, read in UTC.
  const timeval times[2] = {{1141657629, 0}, {1141657629, 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  doc.SetPathName(path);
  {
    quill_test::ScopedEnv utc("TZ", "UTC");
    tzset();
    EXPECT_EQ(Shown(6, 4), (std::vector<std::string>{"22", "03:07:09 PM, Monday, March 06, 2006",
                                                     "SPICE Document", path}));
  }
  tzset();

  // A file that has gone: size 0 and no time again.
  std::filesystem::remove(path);
  EXPECT_EQ(Shown(6, 2), (std::vector<std::string>{"0", ""}));
}

TEST_F(Properties, TheOptionDialogNeedsAStyle) {
  view.DoOptionDialog(nullptr);
  EXPECT_EQ(dialogs.Runner().Runs().size(), 1u);
  QuillView plain;  // no style: nothing is shown
  plain.DoOptionDialog(nullptr);
  EXPECT_EQ(dialogs.Runner().Runs().size(), 1u);
}

}  // namespace
}  // namespace quill
