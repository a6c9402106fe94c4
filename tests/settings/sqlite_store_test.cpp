#include "settings/sqlite_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/format.h"
#include "settings/registry.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

class SqliteStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { db_ = dir_.path() + "/quill/registry.db"; }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  std::shared_ptr<quill::SqliteSettingsStore> Install(const std::string& path) {
    auto store = std::make_shared<quill::SqliteSettingsStore>(path);
    quill::SetSettingsStore(store);
    return store;
  }
  quill_test::TempDir dir_;
  std::string db_;
};

TEST_F(SqliteStoreTest, FileAppearsOnFirstWriteAndPersists) {
  Install(db_);
  registry_int<int> v("Software\\Corvane\\Verurozu Doriru\\General\\Tab", HKEY_CURRENT_USER, 8);
  EXPECT_EQ(v.read(), 8);
  EXPECT_FALSE(fs::exists(db_));  // reads create nothing
  v.write(3);
  EXPECT_TRUE(fs::exists(db_));
  // A second connection (another process's view) sees the value.
  Install(db_);
  EXPECT_EQ(v.read(), 3);
}

TEST_F(SqliteStoreTest, CorruptFileIsMovedAsideAndAFreshOneStarted) {
  fs::create_directories(dir_.path() + "/quill");
  {
    std::ofstream out(db_, std::ios::binary);
    out << std::string(8192, 'x');  // not a database
  }
  Install(db_);
  registry_string<std::string> s("K\\Name", HKEY_CURRENT_USER, "dflt");
  EXPECT_EQ(s.read(), "dflt");
  s.write("fresh");
  EXPECT_EQ(s.read(), "fresh");
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(dir_.path() + "/quill")) names.push_back(e.path().filename());
  auto aside = std::find_if(names.begin(), names.end(), [](const std::string& n) {
    return n.rfind("registry.db.corrupt-", 0) == 0 && n.find("-wal") == std::string::npos;
  });
  ASSERT_NE(aside, names.end());
  EXPECT_EQ(fs::file_size(dir_.path() + "/quill/" + *aside), 8192u);  // kept as it was
  // A folder where the file should be is moved aside too.
  quill::SetSettingsStore(nullptr);
  fs::create_directories(dir_.path() + "/d/registry.db");
  Install(dir_.path() + "/d/registry.db");
  s.write("again");
  EXPECT_EQ(s.read(), "again");
  EXPECT_TRUE(fs::is_regular_file(dir_.path() + "/d/registry.db"));
}

TEST_F(SqliteStoreTest, UnwritableFolderGivesDefaults) {
  // A path below a regular file can never be created, whoever runs the test.
  std::ofstream(dir_.path() + "/plain") << "x";
  Install(dir_.path() + "/plain/quill/registry.db");
  registry_int<int> v("K\\V", HKEY_CURRENT_USER, 5);
  v.write(6);
  EXPECT_FALSE(v.exists());
  EXPECT_EQ(v.read(), 5);
  EXPECT_FALSE(quill::SHDeleteKey(HKEY_CURRENT_USER, "K"));
}

// Several processes write at once, each its own values and one shared counter key.
TEST_F(SqliteStoreTest, ConcurrentProcessesLoseNothing) {
  constexpr int kProcs = 4;
  constexpr int kWrites = 60;
  std::vector<pid_t> kids;
  for (int p = 0; p < kProcs; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Each child has its own connection; the first writes race to create the file.
      quill::SetSettingsStore(std::make_shared<quill::SqliteSettingsStore>(db_));
      for (int i = 0; i < kWrites; ++i) {
        registry_int<int>(quill::Format("Procs\\P%d\\V%d", p, i), HKEY_CURRENT_USER, 0)
            .write(p * 1000 + i);
        registry_int<int>("Shared\\Last", HKEY_CURRENT_USER, 0).write(p * 1000 + i);
      }
      _exit(0);
    }
    kids.push_back(pid);
  }
  for (pid_t pid : kids) {
    int status = -1;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Install(db_);
  for (int p = 0; p < kProcs; ++p)
    for (int i = 0; i < kWrites; ++i)
      ASSERT_EQ((registry_int<int>(quill::Format("Procs\\P%d\\V%d", p, i), HKEY_CURRENT_USER, -1)
                     .read()),
                p * 1000 + i);
  int last = registry_int<int>("Shared\\Last", HKEY_CURRENT_USER, -1).read();
  EXPECT_EQ(last % 1000, kWrites - 1);  // some process's final write won
}

TEST_F(SqliteStoreTest, KeyHandleOfADeletedKeyWritesNothing) {
  auto store = Install(db_);
  auto id = store->OpenKey("A\\B", true);
  EXPECT_TRUE(quill::SHDeleteKey(HKEY_CURRENT_USER, "A"));
  EXPECT_FALSE(store->SetValue(id, "v", quill::REG_DWORD, "1234"));
  EXPECT_TRUE(store->EnumKeys(store->OpenKey("", false)).empty());
}

// Test programs run with QUILL_TEST_MODE set: the store opened by default then lives in
// memory and the user's own settings are never touched.
TEST(DefaultStoreTest, TestModeOpensAMemoryStore) {
  quill_test::ScopedEnv test_mode("QUILL_TEST_MODE", "1");
  quill::SetSettingsStore(nullptr);
  auto store = quill::GetSettingsStore();
  EXPECT_NE(dynamic_cast<quill::MemorySettingsStore*>(store.get()), nullptr);
  EXPECT_EQ(quill::GetSettingsStore(), store);  // one store for the process
  test_mode.Set(nullptr);
  quill::SetSettingsStore(nullptr);
  quill_test::TempDir dir;
  quill_test::ScopedEnv xdg("XDG_CONFIG_HOME", dir.path().c_str());
  auto sqlite = std::dynamic_pointer_cast<quill::SqliteSettingsStore>(quill::GetSettingsStore());
  ASSERT_NE(sqlite, nullptr);
  EXPECT_EQ(sqlite->path(), dir.path() + "/quill/registry.db");
  xdg.Set(nullptr);
  EXPECT_EQ(quill::DefaultSettingsPath(),
            std::string(std::getenv("HOME")) + "/.config/quill/registry.db");
}

}  // namespace
