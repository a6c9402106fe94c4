#include <gtest/gtest.h>

#include <string>

#include "../../apps/quillpad/pad_document.h"
#include "../../apps/quillpad/recent_files.h"
#include "../../apps/quillpad/session.h"
#include "settings/store.h"
#include "../support/temp_dir.h"

namespace quillpad {
namespace {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { quill::InstallMemorySettingsStore(); }
  quill_test::TempDir m_dir;
};

TEST_F(HostTest, RecentFilesKeepNewestFirstWithoutDuplicatesAndPersist) {
  RecentFiles recent;
  recent.Load();
  for (int i = 0; i < RecentFiles::kMaxFiles + 2; ++i) recent.Add("/f" + std::to_string(i));
  recent.Add("/f5");
  recent.Add("");
  ASSERT_EQ(recent.Files().size(), static_cast<std::size_t>(RecentFiles::kMaxFiles));
  EXPECT_EQ(recent.Files()[0], "/f5");
  EXPECT_EQ(recent.Files()[1], "/f9");
  EXPECT_EQ(recent.Files().back(), "/f2");

  recent.Remove("/f9");
  RecentFiles again;
  again.Load();
  ASSERT_EQ(again.Files().size(), static_cast<std::size_t>(RecentFiles::kMaxFiles - 1));
  EXPECT_EQ(again.Files()[0], "/f5");
  EXPECT_EQ(again.Files()[1], "/f8");
}

// A shorter list of open files stored after a longer one reads back without the old tail.
TEST_F(HostTest, SessionKeepsGeometryAndOpenFiles) {
  Session s;
  s.x = 40, s.y = 30, s.width = 1000, s.height = 700, s.maximized = true;
  s.files = {"/a.sp", "/b.log", "/c.txt"};
  s.current = 2;
  s.Store();
  s.files = {"/d.drc"};
  s.current = 0;
  s.maximized = false;
  s.Store();
  const Session back = Session::Load();
  EXPECT_EQ(back.height, 700);
  EXPECT_FALSE(back.maximized);
  EXPECT_EQ(back.files, std::vector<std::string>({"/d.drc"}));
  EXPECT_EQ(back.current, 0);
}

TEST_F(HostTest, DocumentOpensSavesAndReportsItsTypeAndTitle) {
  const std::string path = m_dir.Write("inv.sp", "* inverter\r\nM1 a b c d pch\r\n.end\r\n");
  PadDocument doc;
  ASSERT_EQ(doc.OnOpenDocument(path.c_str()), 1);
  EXPECT_EQ(doc.GetTitle(), "inv.sp");
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_SPICE);
  doc.SetDocumentType(quill::DOCTYPE_LIBERTY);  // the user's choice holds until cleared
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_LIBERTY);
  doc.SetDocumentType(quill::DOCTYPE_NONE);

  int endLine = 0, endChar = 0;
  doc.GetTextBuffer().InsertText(nullptr, 2, 0, "* x\r\n", endLine, endChar);
  const std::string copy = m_dir.Path("copy.c");
  ASSERT_EQ(doc.DoSave(copy.c_str(), 1), 1);
  EXPECT_EQ(quill_test::ReadAll(copy), "* inverter\r\nM1 a b c d pch\r\n* x\r\n.end\r\n");
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_CPP);
  EXPECT_FALSE(doc.GetTextBuffer().IsModified());
}

TEST_F(HostTest, MissingFileLeavesAnEmptyTextDocument) {
  PadDocument doc;
  ASSERT_EQ(doc.OnNewDocument(), 1);
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_TEXT);
  EXPECT_EQ(doc.OnOpenDocument(m_dir.Path("nope.sp").c_str()), 0);
  EXPECT_EQ(doc.GetPathName(), "");
  EXPECT_EQ(doc.GetTextBuffer().GetLineCount(), 1);
}

}  // namespace
}  // namespace quillpad
