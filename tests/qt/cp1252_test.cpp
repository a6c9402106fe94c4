#include <gtest/gtest.h>

#include <QDir>

#include "qt/cp1252.h"
#include "qt/qt_file_prompt.h"

namespace quill::qt {
namespace {

TEST(Cp1252, ViewTabMarksHighBytesRoundTripAndForeignText) {
  // The tab and space marks, the euro sign, an undefined byte (itself), Latin-1.
  EXPECT_EQ(FromCp1252("a\xBB\x95\x80\x81\xE9"), QString::fromUtf8("a\u00BB\u2022\u20AC\u0081\u00E9"));
  // Every byte round-trips.
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromCp1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToCp1252(text), all);

  // Greek omega, a CJK character and an emoji (a surrogate pair) have no byte; each is
  // one '?', whatever its length in UTF-16.
  EXPECT_EQ(ToCp1252(QString::fromUtf8("x\u03A9y\u4E2Dz\U0001F600!")), "x?y?z?!");
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\u20AC \u2014 \u00FF")), "\x80 \x97 \xFF");
  // A lone surrogate is one '?' too.
  EXPECT_EQ(ToCp1252(QString(QChar(0xD800)) + QLatin1Char('a')), "?a");
}

TEST(QtFilePrompt, NameFiltersAndStartFolder) {
  EXPECT_EQ(NameFiltersOf("Text files (*.txt)|*.txt|All files (*.*)|*.*||"),
            QStringList({"Text files (*.txt)", "All files (*.*)"}));
  // The patterns decide what the dialog lists, not the description's parentheses.
  EXPECT_EQ(NameFiltersOf("Styles (*.syn)|*.syn;*.style||"), QStringList({"Styles (*.syn *.style)"}));
  EXPECT_EQ(NameFiltersOf("Netlists|*.sp;*.cir"), QStringList({"Netlists (*.sp *.cir)"}));
  EXPECT_TRUE(NameFiltersOf("dangling").isEmpty());
  // A prompt never starts in a pseudo file system, where listing entries can block.
  for (const char* pseudo : {"/proc/self/status", "/sys/kernel", "/dev/null"})
    EXPECT_EQ(SafeStartFolder(pseudo), QDir::homePath()) << pseudo;
  EXPECT_EQ(SafeStartFolder(QDir::tempPath() + "/x.sp"), QDir::tempPath());
}

}  // namespace
}  // namespace quill::qt
