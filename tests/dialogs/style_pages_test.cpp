// The text-style page, its keyword dialogs, the colour picker and the options page, driven
// through the headless dialog host and modal runner as a user would drive them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "documents/document.h"
#include "dialogs/text_options_page.h"
#include "dialogs/text_style_page.h"
#include "platform/display.h"
#include "platform/headless/headless_common_dialogs.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dc.h"
#include "platform/headless/headless_dialog_runner.h"
#include "platform/headless/headless_sheet_runner.h"
#include "platform/headless/headless_window.h"
#include "settings/registry.h"
#include "settings/sqlite_store.h"
#include "settings/store.h"
#include "style/document_style.h"
#include "view/text_document_mgr.h"
#include "../settings/temp_dir.h"

namespace quill {
namespace {

const std::string kSpice = "Software\\Corvane\\Verurozu Doriru\\SPICE\\";
constexpr COLORREF kRed = 0x0000FF;
constexpr int kRedIndex = 10;  // in the colour pickers
constexpr int kComments = 5;   // in the text groups of a SPICE netlist
using Names = std::vector<std::string>;

// A host view: its language's predefined section, then the user's settings.
class HostView : public QuillView {
 public:
  explicit HostView(DocumentType type) : m_type(type) {}
  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(m_type, nullptr);
    style->InitKeywordSection("Statements", nullptr, nullptr, false);
    style->GetFromRegistry();
    m_pStyle.reset(style);
    return style;
  }
  int GetDocumentType() const override { return m_type; }

 private:
  DocumentType m_type;
};

// An open document with a view in a window.
struct OpenView {
  OpenView(QuillDocument& doc, DocumentType type) : view(type) {
    view.SetDocument(&doc);
    view.OnCreate(&window);
    view.AttachToBuffer();
    window.ClearRecord();
  }
  HeadlessWindow window{CSize(400, 200)};
  HostView view;
};

class StylePagesTest : public ::testing::Test {
 protected:
  StylePagesTest() {
    InstallMemorySettingsStore();
    InstallCommonDialogs(m_common);
    m_mgr.AddDocument("SPICE netlist", [] { return std::make_unique<HostView>(DOCTYPE_SPICE); });
    m_mgr.AddDocument("Text", [] { return std::make_unique<HostView>(DOCTYPE_TEXT); });
  }
  ~StylePagesTest() override { InstallCommonDialogs(nullptr); }

  // Opens the options sheet, lets the script work the style page (and the sheet), then
  // presses the button (IDOK, IDCANCEL or 0 for none).
  using Script = std::function<void(HeadlessDialogSession&, HeadlessSheetSession&)>;
  int RunSheet(Script script, int button) {
    TTextStylePage page(&m_mgr);
    TTextOptionsPage options;
    CPropertySheet sheet("Options");
    sheet.AddPage(&page);
    sheet.AddPage(&options);
    sheet.SetApplyAction([&] {
      page.ApplyChanges();
      options.SaveSettings();
    });
    m_sheets.Push([&](HeadlessSheetSession& s) {
      script(s.Page(0), s);
      if (button == IDOK) s.PressOK();
      if (button == IDCANCEL) s.PressCancel();
    });
    return sheet.DoModal();
  }
  static Names Items(HeadlessDialogHost& host, int nID) {
    Names items;
    for (int i = 0; i < host.GetCount(nID); ++i) items.push_back(host.GetItemText(nID, i));
    return items;
  }
  // Adds a custom section through the name dialog and gives it keywords.
  void AddSection(HeadlessDialogSession& page, const std::string& name, const std::string& keywords) {
    m_dialogs.Push([name](HeadlessDialogSession& dlg) {
      dlg.Type(IDC_SECTION_NAME, "  " + name + " ");
      dlg.Press(IDOK);
    });
    page.Press(IDC_ADD_SECTION);
    m_dialogs.Push([keywords](HeadlessDialogSession& dlg) {
      dlg.Type(IDC_KEYWORDS, keywords);
      dlg.Press(IDOK);
    });
    page.Press(IDC_EDIT_SECTION);
  }

  std::shared_ptr<HeadlessCommonDialogs> m_common = std::make_shared<HeadlessCommonDialogs>();
  ScopedHeadlessDialogs m_dialogs;
  ScopedHeadlessSheets m_sheets;
  ScopedHeadlessServices m_boxes;
  TTextDocumentMgr m_mgr;
};


TEST_F(StylePagesTest, AppliedChangesReachTheStoreTheOpenViewsOfTheTypeAndANewProcess) {
  quill_test::TempDir dir;
  SetSettingsStore(std::make_shared<SqliteSettingsStore>(dir.Path() + "/registry.db"));
  QuillDocument netlist, notes;
  OpenView first(netlist, DOCTYPE_SPICE), second(netlist, DOCTYPE_SPICE), text(notes, DOCTYPE_TEXT);

  m_common->QueueColor(RGB(1, 2, 3));
  m_common->QueueFont(LOGFONT{.lfHeight = -19, .lfFaceName = "Lucida Console"});
  ASSERT_EQ(RunSheet([&](HeadlessDialogSession& dlg, HeadlessSheetSession&) {
    dlg.Select(IDC_TEXT_ENTITIES, kComments);
    dlg.Select(IDC_FOREGROUND, kRedIndex);
    dlg.Select(IDC_BACKGROUND, TColorPicker::kCustomIndex);  // the colour dialog answers
    dlg.Press(IDC_CHOOSE_FONT);
    dlg.Type(IDC_TAB_SIZE, "7");
    AddSection(dlg, "My Words", "beta, Alpha");
  }, IDOK), IDOK);
  ASSERT_EQ(m_common->m_fontRequests.size(), 1u);
  EXPECT_TRUE(m_common->m_fontRequests[0].flags & CF_FIXEDPITCHONLY);

  for (OpenView* open : {&first, &second}) {
    EXPECT_EQ(open->view.GetTabSize(), 7);
    EXPECT_EQ(open->view.GetColor(23), RGB(1, 2, 3));
    LOGFONT lf;
    open->view.GetFont(lf);
    EXPECT_STREQ(lf.lfFaceName, "Lucida Console");
    EXPECT_EQ(open->view.GetTextStyle()->IsKeyword("beta", 4), 1);
    ASSERT_FALSE(open->window.invalidations.empty());
    EXPECT_TRUE(open->window.invalidations.back().all);
  }
  EXPECT_EQ(text.view.GetTabSize(), 3);  // another document type

  // A fresh process opens the store anew and builds its styles from it.
  SetSettingsStore(std::make_shared<SqliteSettingsStore>(dir.Path() + "/registry.db"));
  std::unique_ptr<TDocumentStyle> reread(TTextDocumentMgr(m_mgr).GetDocStyle(0));
  ASSERT_NE(reread, nullptr);
  EXPECT_EQ(reread->GetFontSize(), -19);
  EXPECT_EQ(reread->GetCommentsColor(1, 0), kRed);
  EXPECT_EQ(reread->GetFirstKeyword("My Words"), "Alpha");
  InstallMemorySettingsStore();
}

// A tab size outside 1..64 keeps the sheet open with a message. (A cancelled sheet is
// checked on the quillpad window, where Escape cancels it.)
TEST_F(StylePagesTest, RefusedTabSizesChangeNothing) {
  QuillDocument netlist;
  OpenView open(netlist, DOCTYPE_SPICE);
  RunSheet([&](HeadlessDialogSession& dlg, HeadlessSheetSession& s) {
    dlg.Select(IDC_FOREGROUND, kRedIndex);
    for (const char* size : {"0", "65"}) {
      dlg.Type(IDC_TAB_SIZE, size);
      EXPECT_FALSE(s.Sheet().OnSheetOK());
    }
  }, 0);
  ASSERT_EQ(m_boxes.m_messages.size(), 2u);
  for (const auto& message : m_boxes.m_messages)
    EXPECT_EQ(message.text, "Please enter an integer between 1 and 64.");
  EXPECT_EQ(registry_int<int>(kSpice + "TabSize", HKEY_CURRENT_USER, -1).exists(), false);
  EXPECT_EQ(open.view.GetTabSize(), 3);
}

TEST_F(StylePagesTest, GroupsFollowTheDocumentTypeAndSectionsAreAddedRemovedAndProtected) {
  RunSheet([&](HeadlessDialogSession& dlg, HeadlessSheetSession&) {
    EXPECT_EQ(Items(dlg.Host(), IDC_DOC_TYPE), (Names{"SPICE netlist", "Text"}));
    EXPECT_EQ(Items(dlg.Host(), IDC_TEXT_ENTITIES),
              (Names{"Normal text", "Statements", "Preprocessor directives", "String Constants", "Numbers",
                     "Comments"}));
    EXPECT_EQ(dlg.Host().GetDlgItemText(IDC_FONT_SIZE), "10");
    EXPECT_EQ(dlg.Host().GetDlgItemText(IDC_FONT_NAME), "Courier New");
    dlg.Select(IDC_DOC_TYPE, 1);
    EXPECT_EQ(Items(dlg.Host(), IDC_TEXT_ENTITIES), (Names{"Normal text", "Statements"}));

    // Predefined groups can be neither edited nor removed.
    dlg.Select(IDC_TEXT_ENTITIES, 1);
    dlg.Press(IDC_EDIT_SECTION);
    dlg.Press(IDC_REMOVE_SECTION);
    ASSERT_EQ(m_boxes.m_messages.size(), 2u);
    EXPECT_EQ(m_boxes.m_messages[0].text, "Predefined style cannot be changed.");
    EXPECT_EQ(m_boxes.m_messages[1].text, "Predefined style cannot be removed.");
    EXPECT_EQ(m_boxes.m_messages[1].type, MB_OK | MB_ICONINFORMATION);

    // A name that exists selects that section; a new one is added and selected.
    m_dialogs.Push([](HeadlessDialogSession& name) {
      EXPECT_FALSE(name.Press(IDOK));  // disabled while the name is empty
      name.Type(IDC_SECTION_NAME, "   ");
      EXPECT_FALSE(name.Host().IsDlgItemEnabled(IDOK));
      name.Type(IDC_SECTION_NAME, "Statements");
      name.Press(IDOK);
    });
    dlg.Press(IDC_ADD_SECTION);
    EXPECT_EQ(dlg.Host().GetCurSel(IDC_TEXT_ENTITIES), 1);
    AddSection(dlg, "Mine", "x");
    EXPECT_EQ(dlg.Host().GetDlgItemText(IDC_TEXT_ENTITIES), "Mine");

    // Removing the last group leaves nothing selected at its place.
    dlg.Press(IDC_REMOVE_SECTION);
    EXPECT_EQ(Items(dlg.Host(), IDC_TEXT_ENTITIES), (Names{"Normal text", "Statements"}));
    EXPECT_EQ(dlg.Host().GetCurSel(IDC_TEXT_ENTITIES), LB_ERR);
  }, IDCANCEL);
}

TEST_F(StylePagesTest, KeywordTextIsSplitAtCommasUpToTheFirstEmptyToken) {
  // The text, whether case counts, and the keywords and allowed characters it gives.
  const std::tuple<const char*, bool, Names, const char*> cases[] = {
      {"for, While,do", true, {"While", "do", "for"}, ""},  // byte order
      {"a , b", true, {"a"}, ""},
      {"Big Word, X", false, {"big word", "x"}, " "},
      {"", true, {"old"}, ""},  // an empty text keeps the keywords
  };
  for (const auto& [text, caseSensitive, expected, allowed] : cases) {
    SCOPED_TRACE(text);
    TDocumentStyle style(DOCTYPE_CPP, nullptr);
    const int section = style.InitKeywordSection("Mine", nullptr, nullptr, true);
    style.AddKeyword("old", section);
    m_dialogs.Push([&](HeadlessDialogSession& dlg) {
      EXPECT_EQ(dlg.Host().GetDlgItemText(IDC_KEYWORDS), "old");
      EXPECT_EQ(dlg.Host().IsDlgButtonChecked(IDC_CASE_SENSITIVE), BST_CHECKED);
      dlg.Type(IDC_KEYWORDS, text);
      if (!caseSensitive) dlg.Press(IDC_CASE_SENSITIVE);
      dlg.Press(IDOK);
    });
    CKeywordsPage dlg(section, &style);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    Names keywords;
    for (std::string k = style.GetFirstKeyword(section); !k.empty(); k = style.GetNextKeyword(section))
      keywords.push_back(k);
    EXPECT_EQ(keywords, expected);
    EXPECT_EQ(style.AllowedChars(section), allowed);
  }
}

TEST_F(StylePagesTest, ColorPickerSelectsAndDrawsNamedAutomaticAndCustomColours) {
  HeadlessDialogHost host;
  TColorPicker fg(TColorPicker::TEXT_COLOR), bg(TColorPicker::BACKGROUND_COLOR);
  fg.SubclassDlgItem(&host, 1);
  bg.SubclassDlgItem(&host, 2);
  EXPECT_EQ(fg.GetColorValue(18), 0u);  // past the last colour

  // The last white item is the custom entry while it still holds white.
  fg.SetSelectedColorValue(0xFFFFFF);
  EXPECT_EQ(fg.GetCurSel(), 17);
  EXPECT_EQ(fg.SetCurColor(kRed), kRedIndex);
  EXPECT_EQ(bg.SetCurColor(0xFFFFFF), 0);  // the window colour is white: "Automatic"
  EXPECT_EQ(fg.SetCurColor(RGB(1, 2, 3)), 17);

  // Custom...: the colour dialog opens preset; Cancel keeps the custom colour.
  fg.OnSelchange();
  ASSERT_EQ(m_common->m_colorRequests.size(), 1u);
  EXPECT_EQ(m_common->m_colorRequests[0].initial, RGB(1, 2, 3));
  EXPECT_TRUE(m_common->m_colorRequests[0].flags & CC_FULLOPEN);
  EXPECT_EQ(fg.GetSelectedColorValue(), RGB(1, 2, 3));

  // Names compare without case.
  EXPECT_EQ(fg.AddColor("Orange", RGB(255, 128, 0)), 18);
  fg.SetSelectedColorName("ORANGE");
  EXPECT_EQ(fg.GetCurSel(), 18);
  EXPECT_TRUE(fg.RemoveColor("black"));
  EXPECT_EQ(fg.GetColorName(16), "Custom...");

  // An item is drawn as a framed swatch with the name after it.
  HeadlessDC dc(CSize(200, 20));
  DRAWITEMSTRUCT dis{
      .itemID = 9, .pDC = &dc, .rcItem = CRect(0, 0, 200, 20), .itemData = fg.GetColorValue(9)};
  fg.DrawItem(&dis);
  EXPECT_EQ(dc.At(25, 10).bkColor, kRed);              // inside the swatch
  EXPECT_EQ(dc.At(2, 2).bkColor, RGB(0, 0, 0));         // its black frame
  EXPECT_EQ(dc.At(53, 10).ch, 'R');                     // the name after it
  dis.itemState = ODS_SELECTED;
  fg.DrawItem(&dis);
  EXPECT_EQ(dc.At(150, 10).bkColor, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(StylePagesTest, OptionsPageShowsStoredValuesAndWritesOnlyWhenApplied) {
  // Each run shows what the one before stored (the first, the defaults); the last one is
  // cancelled.
  const struct {
    int shownCheck, shownRadio, radio, button;
    TAutoLoad autoLoad;
    TSaveOptions save;
  } cases[] = {
      {BST_UNCHECKED, IDC_SAVE_ALL, IDC_DONT_SAVE, IDOK, AUTOLOAD_ON, SAVEOPTION_DONT_SAVE},
      {BST_CHECKED, IDC_DONT_SAVE, IDC_PROMPT_SAVE, IDOK, AUTOLOAD_OFF, SAVEOPTION_PROMPT},
      {BST_UNCHECKED, IDC_PROMPT_SAVE, IDC_SAVE_ALL, IDCANCEL, AUTOLOAD_OFF, SAVEOPTION_PROMPT},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunSheet([&](HeadlessDialogSession&, HeadlessSheetSession& s) {
      HeadlessDialogSession& p = s.Page(1);
      EXPECT_EQ(p.Host().IsDlgButtonChecked(IDC_AUTO_LOAD), c.shownCheck);
      EXPECT_EQ(p.Host().IsDlgButtonChecked(c.shownRadio), BST_CHECKED);
      EXPECT_FALSE(s.Sheet().IsApplyEnabled());
      p.Press(IDC_AUTO_LOAD);
      p.Press(c.radio);
      EXPECT_TRUE(s.Sheet().IsApplyEnabled());
    }, c.button), c.button);
    EXPECT_EQ(GetRegistryAutoLoad(), c.autoLoad);
    EXPECT_EQ(GetRegistrySaveOptions(), c.save);
  }
}

TEST_F(StylePagesTest, DocumentManagerHandsOutIndependentCopies) {
  m_mgr.AddDocument("No view class", nullptr);
  m_mgr.AddDocument("Base view", [] { return std::make_unique<QuillView>(); });
  for (int none : {2, 3, 4}) EXPECT_EQ(m_mgr.GetDocStyle(none), nullptr) << none;
  std::unique_ptr<TDocumentStyle> a(m_mgr.GetDocStyle(0)), b(m_mgr.GetDocStyle(0));
  ASSERT_TRUE(a && b);
  a->SetTabSize(11);
  EXPECT_EQ(b->GetTabSize(), 3);
}

}  // namespace
}  // namespace quill
