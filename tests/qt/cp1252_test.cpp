#include <gtest/gtest.h>

#include "qt/cp1252.h"
#include "qt/keys.h"
#include "qt/qt_app_services.h"
#include "qt/qt_file_prompt.h"

#include <QMessageBox>

namespace quill::qt {
namespace {

TEST(Cp1252, ViewTabMarksAndHighBytes) {
  EXPECT_EQ(Cp1252ToUnicode(0xBB), u'\u00BB');  // tab mark
  EXPECT_EQ(Cp1252ToUnicode(0x95), u'\u2022');  // space mark
  EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');
  EXPECT_EQ(Cp1252ToUnicode(0x9F), u'\u0178');
  EXPECT_EQ(Cp1252ToUnicode(0x81), u'\u0081');  // undefined: itself
  EXPECT_EQ(Cp1252ToUnicode('A'), u'A');
  EXPECT_EQ(Cp1252ToUnicode(0xE9), u'\u00E9');
  EXPECT_EQ(FromCp1252("a\xBB\x95"), QString::fromUtf8("a\u00BB\u2022"));
}

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromCp1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToCp1252(text), all);
}

TEST(Cp1252, ForeignTextGetsQuestionMarks) {
  // Greek omega, a CJK character and an emoji (a surrogate pair) have no byte; each is
  // one '?', whatever its length in UTF-16.
  EXPECT_EQ(ToCp1252(QString::fromUtf8("x\u03A9y\u4E2Dz\U0001F600!")), "x?y?z?!");
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\u20AC \u2014 \u00FF")), "\x80 \x97 \xFF");
  // A lone surrogate is one '?' too.
  QString lone;
  lone.append(QChar(0xD800));
  lone.append(QLatin1Char('a'));
  EXPECT_EQ(ToCp1252(lone), "?a");
  EXPECT_EQ(UnicodeToCp1252(0x0152), '\x8C');
  EXPECT_EQ(UnicodeToCp1252(0x0100), '?');
}

TEST(QtKeys, VirtualKeys) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_A), 0x41);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Z), 0x5A);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7), 0x37);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F5), 0x74);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Left), 0x25);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_PageDown), 0x22);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter), 0x0D);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Delete), 0x2E);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Shift), 0);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Control), 0);
}

TEST(QtFilePrompt, NameFilters) {
  EXPECT_EQ(NameFiltersOf("Text files (*.txt)|*.txt|All files (*.*)|*.*||"),
            QStringList({"Text files (*.txt)", "All files (*.*)"}));
  // The patterns decide what the dialog lists, not the description's parentheses.
  EXPECT_EQ(NameFiltersOf("Styles (*.syn)|*.syn;*.style||"), QStringList({"Styles (*.syn *.style)"}));
  EXPECT_EQ(NameFiltersOf("Netlists|*.sp;*.cir"), QStringList({"Netlists (*.sp *.cir)"}));
  EXPECT_TRUE(NameFiltersOf("").isEmpty());
  EXPECT_TRUE(NameFiltersOf("dangling").isEmpty());
}

TEST(QtMessageBox, ResultOfButtons) {
  EXPECT_EQ(MessageBoxResult(MB_OK, QMessageBox::Ok), IDOK);
  EXPECT_EQ(MessageBoxResult(MB_YESNOCANCEL, QMessageBox::Yes), IDYES);
  EXPECT_EQ(MessageBoxResult(MB_YESNOCANCEL, QMessageBox::No), IDNO);
  EXPECT_EQ(MessageBoxResult(MB_YESNOCANCEL, QMessageBox::Cancel), IDCANCEL);
  // Closed by the window's close box.
  EXPECT_EQ(MessageBoxResult(MB_OK | MB_ICONERROR, QMessageBox::NoButton), IDOK);
  EXPECT_EQ(MessageBoxResult(MB_YESNO, QMessageBox::NoButton), IDNO);
  EXPECT_EQ(MessageBoxResult(MB_OKCANCEL, QMessageBox::NoButton), IDCANCEL);
}

}  // namespace
}  // namespace quill::qt
