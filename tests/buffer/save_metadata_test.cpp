// What a save keeps of an existing target: permission bits, owner and group, extended
// attributes, symbolic links and hard links.

#include <sys/xattr.h>

#include "load_save_fixture.h"

namespace quill::test {
namespace {

class SaveMetadataTest : public LoadSaveTest {
 protected:
  void SetUp() override { ASSERT_EQ(m_buffer.LoadFromBuffer("#!/bin/sh\necho new\n"), 1); }
  struct stat Stat(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0);
    return st;
  }
};

TEST_F(SaveMetadataTest, ModeOwnerAndAttributesAreKept) {
  const std::string path = m_folder / "run.sh";
  WriteAll(path, "#!/bin/sh\necho old\n");
  chmod(path.c_str(), 0751);
  const bool root = geteuid() == 0;  // only root may give a file to another owner
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
  }
  const bool xattrs = setxattr(path.c_str(), "user.quill.test", "kept", 4, 0) == 0;
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(Stat(path).st_mode & 07777, 0751u);
  EXPECT_EQ(ReadAll(path), "#!/bin/sh\necho new\n");
  if (root) {
    EXPECT_EQ(Stat(path).st_uid, 1234u);
    EXPECT_EQ(Stat(path).st_gid, 5678u);
  }
  char value[16] = {};
  if (xattrs) {
    EXPECT_EQ(getxattr(path.c_str(), "user.quill.test", value, sizeof value), 4);
    EXPECT_EQ(std::string(value), "kept");
  }
}

TEST_F(SaveMetadataTest, SymbolicLinkStaysALink) {
  TempFolder other;
  const std::string real = other / "real.txt";
  WriteAll(real, "old");
  const std::string link = m_folder / "link.txt";
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  // A relative link through a second link.
  const std::string link2 = m_folder / "link2.txt";
  ASSERT_EQ(symlink("link.txt", link2.c_str()), 0);
  ASSERT_EQ(m_buffer.SaveToFile(link2), 1);
  EXPECT_TRUE(S_ISLNK(Stat(link).st_mode));
  EXPECT_TRUE(S_ISLNK(Stat(link2).st_mode));
  EXPECT_EQ(ReadAll(real), "#!/bin/sh\necho new\n");
  // The temporary file was made beside the real file and is gone.
  EXPECT_EQ(ListFolder(other.Path()), (Lines{"real.txt"}));
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"link.txt", "link2.txt"}));
}

TEST_F(SaveMetadataTest, HardLinksKeepSharingTheContent) {
  const std::string path = m_folder / "a.txt";
  const std::string other = m_folder / "b.txt";
  WriteAll(path, std::string(100000, 'o'));
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  const ino_t inode = Stat(path).st_ino;
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(Stat(path).st_ino, inode);
  EXPECT_EQ(Stat(path).st_nlink, 2u);
  EXPECT_EQ(ReadAll(other), "#!/bin/sh\necho new\n");
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"a.txt", "b.txt"}));
}

}  // namespace
}  // namespace quill::test
