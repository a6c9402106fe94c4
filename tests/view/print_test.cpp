#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input_fixture.h"
#include "platform/display.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_printer.h"

namespace quill {
namespace {

using testing::CLikeView;

// At 254 dpi a 10 mm margin is 100 device units and the printer font (from the style's
// 13 px) has 46 x 23 cells: this sheet leaves a text rectangle of 20 columns and 10 rows
// (100, 100, 560, 560) above a 69-unit footer band.
constexpr int kTop = 100;
constexpr int kRow = 46;
const HeadlessPaper kPaper{254, CSize(660, 729), CPoint(0, 0)};

class PrintView : public CLikeView {
 public:
  using CLikeView::CLikeView;
  using QuillView::m_bShowPrintFooter;
  using QuillView::m_bShowPrintHeader;
  using QuillView::m_pPrinterFont;
  std::string header;
  void GetPrintHeaderText(int nPageNum, std::string& text) override {
    text = header.empty() ? header : header + std::to_string(nPageNum);
  }
};

// A view of another document type.
class SpiceView : public PrintView {
 public:
  using PrintView::PrintView;
  TDocumentStyle* CreateStyle() override { return new TDocumentStyle(DOCTYPE_SPICE, "SPICE"); }
};

class Printing : public testing::ViewTest<PrintView> {
 protected:
  void SetUp() override {
    services.paper = kPaper;
    SetPrintServices(&services);
    app.m_bEcho = false;
    Open({});
  }
  void TearDown() override { SetPrintServices(nullptr); }
  // Prints the view and returns the pages (their texts in printing order).
  const std::vector<PrintedPage>& Print(QuillView& v) {
    v.OnFilePrint();
    static const std::vector<PrintedPage> none;
    return services.lastJob ? services.lastJob->pages : none;
  }

  ScopedHeadlessServices app;
  HeadlessPrintServices services;
};

std::vector<std::string> Lines(int count, const std::string& text = "x") {
  return std::vector<std::string>(static_cast<std::size_t>(count), text);
}

TEST_F(Printing, PageBreaksFallBetweenWholeLines) {
  const std::string twoRows(30, 'w');   // wraps inside the word: 20 + 10 columns
  const std::string huge(300, 'h');     // 15 rows: taller than a page
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::vector<int> pageFirstLines;
  };
  std::vector<Case> cases = {
      {"ten rows fill the page exactly", Lines(10), {0}},
      {"the eleventh row starts a page", Lines(11), {0, 10}},
      {"a wrapped line that does not fit moves whole", Lines(9), {0, 9}},
      {"a line taller than the page gets a page of its own", {"a", huge, "b"}, {0, 1, 2}},
  };
  cases[2].lines.push_back(twoRows);
  for (const Case& c : cases) {
    Open(c.lines);
    const std::vector<PrintedPage>& pages = Print(view);
    ASSERT_EQ(pages.size(), c.pageFirstLines.size()) << c.name;
    for (std::size_t p = 0; p < pages.size(); ++p) {
      // The footer comes first on each page, then the page's first line at the text top.
      const std::vector<PrintedText>& texts = pages[p].texts;
      const std::string& first = c.lines[static_cast<std::size_t>(c.pageFirstLines[p])];
      ASSERT_GE(texts.size(), 2u) << c.name << " page " << p + 1;
      EXPECT_EQ(texts[0].text, "Page " + std::to_string(p + 1) + "/" + std::to_string(pages.size()));
      EXPECT_EQ(texts[1].text, first.substr(0, 20)) << c.name << " page " << p + 1;
      EXPECT_EQ(texts[1].origin, CPoint(100, kTop)) << c.name;
    }
  }
  EXPECT_TRUE(services.lastJob->ended);
  EXPECT_EQ(view.GetPageCount(), 0);  // freed at the end of the job: the next lays out again
}

TEST_F(Printing, LinesWrapAtWordsInsideTheTextWidthWithTabsExpanded) {
  Open({"alpha beta gamma delta epsilon", std::string(45, 'x'), "a\tb", "", "end"});
  const std::vector<PrintedPage>& pages = Print(view);
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<std::string> expected = {"alpha beta gamma", "delta epsilon",
                                             std::string(20, 'x'), std::string(20, 'x'),
                                             "xxxxx", "a   b", "end"};
  const std::vector<int> rows = {0, 1, 2, 3, 4, 5, 7};  // the empty line keeps its row
  ASSERT_EQ(pages[0].texts.size(), expected.size() + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const PrintedText& t = pages[0].texts[i + 1];
    EXPECT_EQ(t.text, expected[i]);
    EXPECT_EQ(t.origin, CPoint(100, kTop + rows[i] * kRow)) << t.text;
  }
}

TEST_F(Printing, HeaderAndFooterBandsFollowTheirFlags) {
  Open(Lines(25));
  // Footer only: "Page 2/3" centred, at the bottom of the band below the text rectangle.
  EXPECT_EQ(Print(view)[1].texts[0].origin, CPoint(100 + (460 - 8 * 23) / 2, 560 + 69 - kRow));

  // Header and no footer: the header band sits above the text rectangle, which reaches
  // the bottom margin.
  view.m_bShowPrintHeader = true;
  view.m_bShowPrintFooter = false;
  view.header = "Deck ";
  const std::vector<PrintedPage>& pages = Print(view);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].texts[0].text, "Deck 1");
  EXPECT_EQ(pages[0].texts[0].origin.y, kTop);
  EXPECT_EQ(pages[0].texts[1].origin.y, kTop + 69);

  // An empty header text draws nothing but keeps its band (and no footer is drawn); without
  // either band 11 rows fit.
  view.header.clear();
  EXPECT_EQ(Print(view)[0].texts.size(), 10u);
  view.m_bShowPrintHeader = false;
  EXPECT_EQ(Print(view)[0].texts.size(), 11u);
  view.ResetView();
  EXPECT_FALSE(view.m_bShowPrintHeader);
  EXPECT_TRUE(view.m_bShowPrintFooter);
}

TEST_F(Printing, PageSetupMarginsAreKeptPerDocumentType) {
  Open({"text"});
  SpiceView spice{&buffer};
  ASSERT_EQ(spice.OnCreate(&window), 0);
  spice.OnInitialUpdate();

  services.pageSetup = [](CPageSetupDialog& dlg) {
    dlg.m_psd.rtMargin = CRect(2000, 2000, 2000, 2000);
    dlg.GetDevMode()->dmOrientation = DMORIENT_LANDSCAPE;
    return IDOK;
  };
  view.OnFilePageSetup();  // preset with 10 mm, as the quillpad window test shows

  // 20 mm on the same type; the other type keeps 10 mm. The orientation only presets the
  // next page setup: the print stays portrait.
  EXPECT_EQ(Print(view)[0].texts[1].origin, CPoint(200, 200));
  EXPECT_EQ(services.lastJob->pages[0].orientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(Print(spice)[0].texts[1].origin, CPoint(100, 100));

  // A cancelled dialog stores nothing; the next one is preset from the store.
  services.pageSetup = [](CPageSetupDialog& dlg) {
    dlg.m_psd.rtMargin = CRect(5, 5, 5, 5);
    return IDCANCEL;
  };
  view.OnFilePageSetup();
  EXPECT_EQ(services.lastPageSetupPreset.rtMargin, CRect(2000, 2000, 2000, 2000));
  EXPECT_EQ(services.lastPageSetupOrientation, DMORIENT_LANDSCAPE);
  spice.OnDestroy();
}

TEST_F(Printing, PrinterFontIsAFixedPitchFontScaledToThePrinter) {
  HeadlessPrinterDC dc(kPaper);
  CPrintInfo info;
  view.OnBeginPrinting(&dc, &info);
  ASSERT_NE(view.m_pPrinterFont, nullptr);
  const LOGFONT& lf = view.m_pPrinterFont->GetLogFont();
  // Its height shows in the row positions of the layout tests.
  EXPECT_EQ(lf.lfPitchAndFamily & 0x03, FIXED_PITCH);
  EXPECT_EQ(std::string(lf.lfFaceName), view.GetTextStyle()->GetFontName());
  view.OnEndPrinting(&dc, &info);
  EXPECT_EQ(view.m_pPrinterFont, nullptr);
}

TEST_F(Printing, TheChosenOrientationResetsThePrinterForEachPage) {
  Open(Lines(17));
  services.AddPrinter("Plotter");
  services.printDialog = [](CPrintDialog& dlg) {
    dlg.m_strDeviceName = "Plotter";
    dlg.SetDevMode(DEVMODE{.dmFields = DM_ORIENTATION, .dmOrientation = DMORIENT_LANDSCAPE});
    return true;
  };
  const std::vector<PrintedPage>& pages = Print(view);
  // The portrait printer is reset to landscape before every page: 8 rows fit a page.
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].orientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(services.lastJob->resets, 3);

  // A driver that refuses the block leaves the device as it is; the pages still print.
  services.RefuseDevModes("Plotter");
  EXPECT_EQ(Print(view).size(), 2u);
  EXPECT_EQ(services.lastJob->resets, 0);

  EXPECT_EQ(QuillView::ChangeDevMode(nullptr, "No Such Printer", DMORIENT_LANDSCAPE), nullptr);
}

TEST_F(Printing, PreviewNeedsNoDialogAndCancelledDialogsOrMissingPrintersPrintNothing) {
  Open(Lines(12));
  view.OnFilePrintPreview();
  EXPECT_EQ(services.previews, 1);
  EXPECT_EQ(services.printDialogs, 0);
  ASSERT_NE(services.lastJob, nullptr);
  EXPECT_EQ(services.lastJob->pages.size(), 2u);

  services.lastJob = nullptr;
  services.printDialog = [](CPrintDialog&) { return false; };
  view.OnFilePrint();
  EXPECT_EQ(services.lastJob, nullptr);
  EXPECT_EQ(services.printDialogs, 1);

  services.printDialog = nullptr;
  services.RemoveAllPrinters();
  view.OnFilePrint();
  EXPECT_EQ(services.lastJob, nullptr);
  ASSERT_EQ(app.m_messages.size(), 1u);  // said once
}

}  // namespace
}  // namespace quill
