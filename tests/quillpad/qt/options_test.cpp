// Tools > Options on real widgets: colours picked in the sheet's colour pickers reach the
// pixels of the open editors once the sheet is confirmed.

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "resources/dlg_text_options.h"
#include "resources/dlg_text_style.h"
#include "settings/registry.h"
#include "window_fixture.h"

namespace quillpad {
namespace {

// The pixels of exactly the colour.
int CountPixels(QWidget* widget, QRgb rgb) {
  const QImage image = widget->grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
  return n;
}

// Picks an item as the user does: the combo box reports the choice.
void Pick(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

using OptionsSheetTest = WindowTest;

TEST_F(OptionsSheetTest, ColoursChosenInThePickersShowInTheOpenEditorAfterOK) {
  ASSERT_TRUE(m_window->OpenFile(Write("a.sp", "* title\nR1 a b 1k\n.end\n")));
  QWidget* editor = qobject_cast<QAbstractScrollArea*>(Tabs()->currentWidget())->viewport();
  const QRgb yellow = qRgb(255, 255, 0), custom = qRgb(200, 30, 40);
  EXPECT_EQ(CountPixels(editor, yellow), 0);

  quill::qt::GetQtCommonDialogs()->SetColorDialogHook([&](QColorDialog& dialog) {
    dialog.setCurrentColor(QColor(custom));
    dialog.accept();
  });
  int swatchPixels = 0;
  bool shown = false;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    shown = true;
    EXPECT_EQ(sheet.Tabs()->count(), 2);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "Text Style");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "Text Editor");
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    quill::qt::QtTemplateDialog& page = sheet.Page(0);
    EXPECT_EQ(qobject_cast<QComboBox*>(page.Control(quill::IDC_DOC_TYPE))->currentText(),
              "SPICE netlists");
    // "Normal text" is selected: its background yellow, its text a custom colour.
    auto* background = qobject_cast<QComboBox*>(page.Control(quill::IDC_BACKGROUND));
    auto* foreground = qobject_cast<QComboBox*>(page.Control(quill::IDC_FOREGROUND));
    ASSERT_TRUE(background && foreground);
    Pick(background, "Yellow");
    Pick(foreground, "Custom...");
    sheet.UpdateButtons();
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
    swatchPixels = CountPixels(background, yellow);
    sheet.OKButton()->click();
  });
  quill::qt::GetQtCommonDialogs()->SetColorDialogHook(nullptr);
  ASSERT_TRUE(shown);
  EXPECT_GT(swatchPixels, 20);  // the closed picker draws the chosen colour's swatch

  EXPECT_GT(CountPixels(editor, yellow), editor->width() * editor->height() / 2);
  EXPECT_GT(CountPixels(editor, custom), 0);
}

TEST_F(OptionsSheetTest, EscapeInAPageCancelsTheWholeSheet) {
  bool closed = false;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    auto* tabSize = qobject_cast<QLineEdit*>(sheet.Page(0).Control(quill::IDC_TAB_SIZE));
    ASSERT_NE(tabSize, nullptr);
    tabSize->setText("9");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(tabSize, &escape);
    closed = !sheet.isVisible();
    if (!closed) sheet.reject();
  });
  EXPECT_TRUE(closed);  // the sheet went, not just the page
  EXPECT_FALSE(registry_int<int>("Software\\Corvane\\Verurozu Doriru\\SPICE\\TabSize",
                                        quill::HKEY_CURRENT_USER, 0).exists());
}

// A larger font from the sheet shows at once in whole rows: the editor draws what it draws
// after a resize, and the last rows are not cut.
TEST_F(OptionsSheetTest, ALargerFontRedrawsTheOpenEditorWhole) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "R" + std::to_string(i) + " a b 1k\n";
  ASSERT_TRUE(m_window->OpenFile(Write("big.sp", text)));
  auto* editor = qobject_cast<QAbstractScrollArea*>(Tabs()->currentWidget());
  editor->viewport()->grab();  // painted once in the old font
  const int before = m_window->ActiveView()->GetLineHeight();
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    auto* size = qobject_cast<QComboBox*>(sheet.Page(0).Control(quill::IDC_FONT_SIZE));
    ASSERT_NE(size, nullptr);
    Pick(size, size->itemText(size->count() - 1));
    sheet.OKButton()->click();
  });
  ASSERT_GT(m_window->ActiveView()->GetLineHeight(), before);
  const QImage shown = editor->viewport()->grab().toImage();
  m_window->resize(m_window->width() + 1, m_window->height());
  QApplication::processEvents();
  m_window->resize(m_window->width() - 1, m_window->height());
  QApplication::processEvents();
  EXPECT_EQ(editor->viewport()->grab().toImage(), shown);
}

// The options page shows its button captions whole; the text-style page gives each
// labelled control its own Alt key; the Window menu names Ctrl+Shift+Tab as users do.
TEST_F(OptionsSheetTest, CaptionsShowWholeAndMnemonicsAreTheirOwn) {
  QStringList keys;
  bool shown = false;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    shown = true;
    const auto mnemonic = [&](const QString& text) {
      if (const qsizetype amp = text.indexOf('&'); amp >= 0) keys << text.mid(amp + 1, 1).toUpper();
    };
    for (QLabel* label : sheet.Page(0).findChildren<QLabel*>()) mnemonic(label->text());
    for (QAbstractButton* button : sheet.Page(0).findChildren<QAbstractButton*>()) mnemonic(button->text());
    auto* autoLoad = qobject_cast<QCheckBox*>(sheet.Page(1).Control(quill::IDC_AUTO_LOAD));
    ASSERT_NE(autoLoad, nullptr);
    EXPECT_EQ(autoLoad->text().replace('\n', ' ').toStdString(),
              "Automatically load changes when text file is modified outside this application");
    EXPECT_LE(autoLoad->sizeHint().height(), autoLoad->height());
    for (QAbstractButton* button : sheet.Page(1).findChildren<QAbstractButton*>())
      EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    sheet.reject();
  });
  ASSERT_TRUE(shown);
  EXPECT_GE(keys.size(), 10);
  EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << keys.join(' ').toStdString();

  auto* menu = m_window->findChild<QMenu*>("windowMenu");
  emit menu->aboutToShow();
  EXPECT_EQ(Action("windowPreviousTab")->shortcut().toString(QKeySequence::NativeText),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab).toString(QKeySequence::NativeText));
}

}  // namespace
}  // namespace quillpad
