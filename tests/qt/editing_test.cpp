// Typing into a real editor widget on the offscreen platform, with the desktop clipboard:
// characters, Enter with indentation, Backspace, Tab, Ctrl+C and Ctrl+V, text pasted from
// another program with LF breaks, Ctrl+Z; the buffer is read back after each.

#include <QClipboard>
#include <QGuiApplication>

#include <string>

#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

using EditorTyping = EditorWindow;

TEST_F(EditorTyping, KeysEditTheBufferThroughTheDesktopClipboard) {
  Show("  int x;\r\n");
  QTest::keyClick(widget, Qt::Key_End);
  QTest::keyClicks(widget, "ab");
  QTest::keyClick(widget, Qt::Key_Return);  // indented like the line above
  QTest::keyClicks(widget, "yz");
  QTest::keyClick(widget, Qt::Key_Backspace);
  QTest::keyClick(widget, Qt::Key_Tab);
  EXPECT_EQ(Text(), "  int x;ab|  y\t|");

  QTest::keyClick(widget, Qt::Key_Left);
  QTest::keyClick(widget, Qt::Key_Home, Qt::ShiftModifier);  // "y", back to the first non-blank
  QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "y");
  QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "  int x;ab|  y\t|y");

  // Another program's text with LF breaks arrives as lines; copied text leaves with LF.
  QGuiApplication::clipboard()->setText("p\nq");
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "  int x;ab|  y\t|yp|q");
  QTest::keyClick(widget, Qt::Key_Up, Qt::ShiftModifier);
  QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "p\nq");

  QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "  int x;ab|  y\t|y");
  QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "  int x;ab|  y\t|");
}

}  // namespace
}  // namespace quill::qt::testing
