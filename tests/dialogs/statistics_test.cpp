// The document properties dialog over a view: counts of the text and the selection, the
// file's facts, and the view commands that show it.

#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "../quillpad/temp_dir.h"
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
  // Runs OnProperties and returns the texts of the value controls.
  std::vector<std::string> Shown() {
    dialogs.Runner().Reset();
    view.OnProperties();
    std::vector<std::string> texts;
    const HeadlessDialogHost* host = dialogs.Runner().LastHost();
    if (host == nullptr) return texts;
    for (int id : {IDC_STAT_CHARS_TOTAL, IDC_STAT_WORDS_TOTAL, IDC_STAT_LINES_TOTAL,
                   IDC_STAT_CHARS_SELECTED, IDC_STAT_WORDS_SELECTED, IDC_STAT_LINES_SELECTED,
                   IDC_STAT_FILESIZE, IDC_STAT_LASTSAVED, IDC_STAT_FILETYPE, IDC_STAT_FULLNAME})
      texts.push_back(host->GetDlgItemText(id));
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
  struct Case {
    CPoint start, end;
    std::vector<std::string> selected;  // characters, words, lines
  } cases[] = {
      {{0, 0}, {0, 0}, {"0", "0", "0"}},
      {{0, 0}, {4, 0}, {"4", "2", "1"}},
      {{4, 0}, {0, 0}, {"4", "2", "1"}},   // either order
      {{3, 0}, {2, 2}, {"4", "2", "3"}},
      // Ending at the start of a line counts that line, and the word the end touches.
      {{0, 0}, {0, 2}, {"5", "3", "3"}},
  };
  for (const Case& c : cases) {
    view.Select(c.start, c.end);
    const std::vector<std::string> shown = Shown();
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::string>{"11", "5", "3"}));
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 3, shown.begin() + 6), c.selected)
        << c.start.x << "," << c.start.y << " " << c.end.x << "," << c.end.y;
  }
  EXPECT_EQ(dialogs.Runner().Runs(), std::vector<unsigned>{111});

  Fill(buffer, {});
  view.Select(CPoint(0, 0), CPoint(0, 0));
  const std::vector<std::string> empty = Shown();
  EXPECT_EQ(std::vector<std::string>(empty.begin(), empty.begin() + 3),
            (std::vector<std::string>{"0", "0", "1"}));
}

TEST_F(Properties, ShowsTheFileTypeSizeAndLastSave) {
  // Never saved: no size and no time.
  std::vector<std::string> shown = Shown();
  EXPECT_EQ(shown[6], "0");
  EXPECT_EQ(shown[7], "");
  EXPECT_EQ(shown[8], "SPICE Document");

  quillpad::testing::TempDir files;
  const std::string path = files.Write("sample.sp", "M1 d g s b nch\r\n.end\r\n");
  // 2006-03-06 15:07:09 UTC, read in UTC.
  const timeval times[2] = {{1141657629, 0}, {1141657629, 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  {
    quill_test::ScopedEnv utc("TZ", "UTC");
    tzset();
    doc.SetPathName(path);
    shown = Shown();
  }
  tzset();
  EXPECT_EQ(shown[6], "22");
  EXPECT_EQ(shown[7], "03:07:09 PM, Monday, March 06, 2006");
  EXPECT_EQ(shown[9], path);
  std::filesystem::remove(path);

  // A file that has gone: size 0 and no time again.
  shown = Shown();
  EXPECT_EQ(shown[6], "0");
  EXPECT_EQ(shown[7], "");
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
