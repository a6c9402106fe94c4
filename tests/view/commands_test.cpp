// The command table, the accelerator keys, the context menu, the indicators and the
// message pane; the base view finding its document's buffer.

#include <gtest/gtest.h>

#include <tuple>

#include "input_fixture.h"
#include "platform/headless/headless_app_services.h"
#include "view/command_ids.h"

namespace quill {
namespace {


using CommandTest = testing::InputTest;

unsigned Translate(const HeadlessWindow& window, unsigned message, unsigned key) {
  const MSG msg{nullptr, message, key, 0};
  return TranslateAccelerator(&window, LoadAccelerators(IDR_QUILL_ACCELERATORS), &msg);
}

TEST(Accelerators, KeysGiveTheirCommandsAndTheFirstEntryWins) {
  HeadlessWindow window;
  EXPECT_EQ(LoadAccelerators(22900), nullptr);
  // The message and its key, Shift, Ctrl and Alt held, and the command.
  const std::tuple<unsigned, unsigned, bool, bool, bool, unsigned> cases[] = {
      {WM_CHAR, 27, false, false, false, 40015},  // Esc and Ctrl+[
      {WM_CHAR, 29, false, false, false, 40014},  // Ctrl+]
      {WM_KEYDOWN, '2', false, true, false, 37202},  // not the second Ctrl+2
      {WM_SYSKEYDOWN, '2', false, false, true, 37212},
      {WM_KEYDOWN, VK_LEFT, false, false, true, 0},  // Alt+Left: no entry
      {WM_KEYUP, VK_LEFT, false, false, false, 0},
  };
  for (const auto& [message, key, shift, control, alt, id] : cases) {
    window.SetKeyDown(VK_SHIFT, shift);
    window.SetKeyDown(VK_CONTROL, control);
    window.SetKeyDown(VK_MENU, alt);
    EXPECT_EQ(Translate(window, message, key), id) << key;
  }
}

TEST_F(CommandTest, TranslatedKeysAreConsumedAndUnhandledOnesGoToTheFrame) {
  Open({"abc"});
  EXPECT_TRUE(Key(VK_BACK, FCONTROL));  // nothing in the view handles it
  EXPECT_TRUE(Key('S', FCONTROL));
  EXPECT_EQ(window.routedCommands, (std::vector<unsigned>{37002, 57603}));
  EXPECT_FALSE(Key('Q', FCONTROL));
  MSG mouse{&window, 0x0200, 0, 0};
  EXPECT_FALSE(view.PreTranslateMessage(&mouse));
  Key(VK_F5);
  EXPECT_EQ(view.f5, 1);
  EXPECT_TRUE(view.HasCommandHandler(37205));  // a bookmark of the range
  EXPECT_FALSE(view.HasCommandHandler(ID_FILE_SAVE));
}

TEST_F(CommandTest, IndicatorsShowPositionModesAndState) {
  Open({"abc", "\tx"});
  auto update = [&](unsigned id) {
    CCmdUI state(id);
    EXPECT_TRUE(view.OnUpdateCommand(id, &state));
    return state;
  };
  Key(VK_END);
  EXPECT_EQ(update(ID_EDIT_INDICATOR_POSITION).m_text, "Ln 1, Col 4");
  Key(VK_DOWN);  // after the tab: the style's tab size of 4
  Key(VK_END);
  EXPECT_EQ(update(ID_EDIT_INDICATOR_POSITION).m_text, "Ln 2, Col 6");
  EXPECT_EQ(update(ID_EDIT_INDICATOR_COL).m_enabled, false);
  EXPECT_EQ(update(ID_INDICATOR_OVR).m_enabled, false);
  view.m_bOvrMode = true;
  EXPECT_EQ(update(ID_INDICATOR_OVR).m_enabled, true);
  EXPECT_EQ(update(ID_EDIT_INDICATOR_READ).m_enabled, false);
  buffer.SetReadOnly(1);
  EXPECT_EQ(update(ID_EDIT_INDICATOR_READ).m_enabled, true);
  const char* const modes[] = {"DOS", "UNIX", "MAC"};
  for (int mode = 0; mode < 3; ++mode) {
    buffer.SetCRLFMode(mode);
    EXPECT_EQ(update(ID_EDIT_INDICATOR_CRLF).m_text, modes[mode]);
  }
  view.DetachFromBuffer();
  const CCmdUI none = update(ID_EDIT_INDICATOR_CRLF);
  EXPECT_EQ(none.m_text, "");
  EXPECT_EQ(none.m_enabled, false);
  EXPECT_EQ(update(ID_EDIT_INDICATOR_READ).m_enabled, false);
}

std::vector<std::string> Texts(const CMenu& menu) {
  std::vector<std::string> texts;
  for (const CMenu::Item& item : menu.Items()) texts.push_back(item.separator ? "-" : item.text);
  return texts;
}

TEST_F(CommandTest, ContextMenuOffersTheStylesCommentsAndIsTracked) {
  Open({"abc"});
  EXPECT_EQ(Texts(view.GetContextMenu()),
            (std::vector<std::string>{"Undo", "Redo", "-", "Copy", "Paste", "Cut", "-",
                                      "Insert Single Line Comment (//...)",
                                      "Insert Multi Line Comment (/*...*/)",
                                      "Remove Single Line Comment (//...)",
                                      "Remove Multi Line Comment (/*...*/)", "-",
                                      "Page Setup...", "Print...", "Print Preview"}));
  view.OnContextMenu(&window, CPoint(300, 200));
  EXPECT_EQ(window.menuCount, 1);
  EXPECT_EQ(window.lastMenuPoint, CPoint(300, 200));
  EXPECT_TRUE(window.lastMenuFlags & TPM_RIGHTBUTTON);

  // A style without comment strings: the edit and print items only.
  struct PlainView : testing::InputView {
    using InputView::InputView;
    TDocumentStyle* CreateStyle() override { return new TDocumentStyle(DOCTYPE_TEXT, "TEXT"); }
  } plain(&buffer);
  HeadlessWindow plainWindow;
  ASSERT_EQ(plain.OnCreate(&plainWindow), 0);
  EXPECT_EQ(Texts(plain.GetContextMenu()),
            (std::vector<std::string>{"Undo", "Redo", "-", "Copy", "Paste", "Cut", "-",
                                      "Page Setup...", "Print...", "Print Preview"}));
  plain.OnDestroy();
}

// Its texts are checked by the search tests.
TEST(ToolBarMessage, WithoutAStatusBarNothingHappens) {
  ScopedHeadlessServices services;
  services.m_statusBar.SetPaneText(0, "kept");
  services.m_bHasStatusBar = false;
  QuillView().SetToolBarMessage("lost");
  EXPECT_EQ(services.m_statusBar.GetPaneText(0), "kept");
}

}  // namespace
}  // namespace quill
