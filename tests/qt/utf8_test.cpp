// UTF-8 documents in a real editor widget: typed characters (Return and Tab among them)
// and the desktop clipboard are encoded in the document's encoding, and the characters are
// drawn in their cells.

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include <string>

#include "platform/text_encoding.h"
#include "qt_fixture.h"
#include "settings/default_encoding.h"

namespace quill::qt::testing {
namespace {

// An editor whose pure-ASCII files open as UTF-8, as quillpad's do by default.
class Utf8Editor : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    SetAsciiFileEncoding(ENCODING_UTF8);
  }
  void TearDown() override {
    SetAsciiFileEncoding(ENCODING_WINDOWS_1252);
    EditorWindow::TearDown();
  }
  // Keys that type the characters (QTest's own clicks take Latin-1 keys only).
  void Type(const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &press);
    }
  }
};

// Return keeps the indentation, Tab types a tab.
TEST_F(Utf8Editor, TypedCharactersAreSavedAsUtf8) {
  Show("  x = 1;\r\n");
  ASSERT_EQ(buffer.GetEncoding(), ENCODING_UTF8);  // pure ASCII takes the default
  QTest::keyClick(widget, Qt::Key_End);
  Type(QString::fromUtf8("é→Ж"));
  EXPECT_EQ(Text(), "  x = 1;\xC3\xA9\xE2\x86\x92\xD0\x96|");
  EXPECT_EQ(view->GetCursorPos(), CPoint(15, 0));
  QTest::keyClick(widget, Qt::Key_Left);  // over Ж, two bytes
  EXPECT_EQ(view->GetCursorPos(), CPoint(13, 0));
  // Backspace takes the arrow, three bytes.
  for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_End, Qt::Key_Return, Qt::Key_Tab}) QTest::keyClick(widget, key);
  EXPECT_EQ(Text(), "  x = 1;\xC3\xA9\xD0\x96|  \t|");

  const std::string path = dir.Write("typed.txt", "");
  ASSERT_EQ(buffer.SaveToFile(path.c_str()), 1);
  EXPECT_EQ(quill_test::ReadAll(path), "  x = 1;\xC3\xA9\xD0\x96\r\n  \t\r\n");
}

TEST_F(Utf8Editor, TheClipboardCarriesCharactersBothWays) {
  Show("\xC2\xB5 \xCE\xA9\r\n");
  view->Select(CPoint(0, 0), CPoint(5, 0));
  QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("µ Ω"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("中\n→"));
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "\xE4\xB8\xAD|\xE2\x86\x92|");
}

TEST_F(Utf8Editor, WideCharactersTakeTwoCellsAndAreDrawn) {
  Show("\xE4\xB8\xAD\xE6\x96\x87x\r\n");
  view->Select(CPoint(0, 1), CPoint(0, 1));
  const QImage image = Grab();
  // The two wide characters fill four cells; 'x' is in the fifth.
  EXPECT_EQ(view->TextToClient(CPoint(6, 0)).x, Cells(0, 4).left());
  EXPECT_GT(CountNear(image, Cells(0, 0, 2), kText, 120), 0);
  EXPECT_GT(CountNear(image, Cells(0, 4), kText, 120), 0);
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::NoModifier, At(3, 0));
  EXPECT_EQ(view->GetCursorPos(), CPoint(3, 0));  // never inside a character
}

}  // namespace
}  // namespace quill::qt::testing
