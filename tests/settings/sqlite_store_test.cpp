#include "settings/sqlite_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/format.h"
#include "settings/regfile.h"
#include "settings/registry.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using quill_test::ReadInt;
using quill_test::WriteInt;

class SqliteStoreTest : public ::testing::Test {
 protected:
  // The store at db_ exists and holds K\V = 7; none is installed.
  void SetUp() override {
    db_ = dir_.Path() + "/quill/registry.db";
    Install(db_);
    WriteInt("K\\V", 7);
    quill::SetSettingsStore(nullptr);
  }
  void TearDown() override { quill::SetSettingsStore(nullptr); }

  std::shared_ptr<quill::SqliteSettingsStore> Install(const std::string& path) {
    auto store = std::make_shared<quill::SqliteSettingsStore>(path);
    quill::SetSettingsStore(store);
    return store;
  }
  quill_test::TempDir dir_;
  std::string db_;
};

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (auto& e : fs::recursive_directory_iterator(dir)) names.push_back(e.path().lexically_relative(dir));
  std::sort(names.begin(), names.end());
  return names;
}

// Runs child in a forked process, which exits with its result.
pid_t Spawn(const std::function<int()>& child) {
  pid_t pid = fork();
  if (pid == 0) {
    int code = child();
    quill::SetSettingsStore(nullptr);  // closes the connection as a process would
    fflush(nullptr);
    _exit(code);
  }
  return pid;
}

// Waits for a child and returns its exit code (-1 when it did not exit).
int ExitCode(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int InChild(const std::function<int()>& child) { return ExitCode(Spawn(child)); }

// Only what SQLite itself calls damaged or not a database is moved aside; a folder in the
// file's place, a path below a plain file or another program's database is left as it is
// and gives defaults, with the reason. A damaged file that cannot be renamed (the name
// with its suffix is too long) is left alone too, and the message says so.
TEST_F(SqliteStoreTest, OnlyADamagedFileIsMovedAside) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    bool moved;
    std::string file = "registry.db";
  } cases[] = {
      {"garbage", [](const std::string& db) { std::ofstream(db) << std::string(8192, 'x'); }, true},
      {"folder", [](const std::string& db) { fs::create_directories(db + "/inner"); }, false},
      {"below a file",
       [](const std::string& db) {
         fs::remove(fs::path(db).parent_path());
         std::ofstream(fs::path(db).parent_path()) << "x";
       },
       false},
      {"other program",
       [](const std::string& db) {
         sqlite3* other = nullptr;
         sqlite3_open(db.c_str(), &other);
         sqlite3_exec(other, "CREATE TABLE notes(t TEXT)", nullptr, nullptr, nullptr);
         sqlite3_close(other);
       },
       false},
      {"cannot be renamed", [](const std::string& db) { std::ofstream(db) << std::string(8192, 'x'); },
       false, std::string(240, 'r')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string base = dir_.Path() + "/" + c.name;
    std::string db = base + "/quill/" + c.file;
    fs::create_directories(base + "/quill");
    c.make(db);
    std::vector<std::string> before = Names(base);
    auto store = Install(db);
    registry_string<std::string> s("K\\Name", HKEY_CURRENT_USER, "dflt");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(s.read(), "dflt");
    s.write("fresh");
    EXPECT_EQ(s.read(), c.moved ? "fresh" : "dflt");
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("was moved to") != std::string::npos, c.moved) << said;
    EXPECT_EQ(store->problem().empty(), c.moved) << store->problem();
    std::vector<std::string> after = Names(base);
    if (!c.moved) {
      EXPECT_EQ(after, before);
      continue;
    }
    auto aside = std::find_if(after.begin(), after.end(), [](const std::string& n) {
      return n.rfind("quill/registry.db.corrupt-", 0) == 0 && n.find("-wal") == std::string::npos;
    });
    ASSERT_NE(aside, after.end());
    EXPECT_EQ(fs::file_size(base + "/" + *aside), 8192u);  // kept as it was
  }
}

// Running out of file handles while opening (for the file itself, its WAL or its shared
// memory) is not damage: the file stays, and the next run reads it.
TEST_F(SqliteStoreTest, RunningShortOfFileHandlesLeavesTheFileAlone) {
  for (int spare = 0; spare < 3; ++spare) {
    SCOPED_TRACE(spare);
    int code = InChild([&] {
      int highest = 0;
      for (auto& e : fs::directory_iterator("/proc/self/fd")) {
        highest = std::max(highest, std::atoi(e.path().filename().c_str()));
      }
      rlimit limit{};
      getrlimit(RLIMIT_NOFILE, &limit);
      limit.rlim_cur = static_cast<rlim_t>(highest + 1 + spare);
      setrlimit(RLIMIT_NOFILE, &limit);
      auto store = Install(db_);
      int read = ReadInt("K\\V");
      WriteInt("K\\W", 1);
      // Either the value, or the default together with the reason.
      return read == 7 || (read == 0 && !store->problem().empty()) ? 0 : 1;
    });
    EXPECT_EQ(code, 0);
    for (const std::string& name : Names(dir_.Path() + "/quill")) {
      EXPECT_EQ(name.find("corrupt"), std::string::npos) << name;
    }
    Install(db_);
    EXPECT_EQ(ReadInt("K\\V"), 7);
    quill::SetSettingsStore(nullptr);
  }
}

// A store this process may not change is read; changes are refused with a reason. The
// child drops root, for whom permissions mean nothing.
TEST_F(SqliteStoreTest, ReadOnlyStoreIsReadAndRefusesChanges) {
  std::string folder = dir_.Path() + "/quill";
  fs::permissions(dir_.Path(), fs::perms(0755));
  struct Case {
    const char* name;
    int folder_mode, file_mode;
    bool leftovers;  // another connection holds an unmerged write in registry.db-wal
  } cases[] = {
      {"read-only file", 0777, 0444, false},
      {"read-only folder", 0555, 0666, false},
      {"read-only folder with WAL leftovers", 0555, 0666, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::shared_ptr<quill::SqliteSettingsStore> holder;
    if (c.leftovers) {
      holder = std::make_shared<quill::SqliteSettingsStore>(db_);
      holder->SetValue(holder->OpenKey("K", true), "L", quill::REG_DWORD, std::string("\x09\0\0\0", 4));
      ASSERT_TRUE(fs::exists(db_ + "-wal"));
    }
    fs::permissions(db_, fs::perms(c.file_mode));
    fs::permissions(folder, fs::perms(c.folder_mode));
    int code = InChild([&] {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
      auto store = Install(db_);
      if (ReadInt("K\\V") != 7) return 1;
      if (c.leftovers && ReadInt("K\\L") != 9) return 2;
      WriteInt("K\\New", 1);
      // With leftovers the process may own the WAL files and write through them.
      if (c.leftovers) return 0;
      if (registry_int<int>("K\\New", HKEY_CURRENT_USER, 0).exists()) return 3;
      return store->problem().find("cannot be written") == std::string::npos ? 4 : 0;
    });
    EXPECT_EQ(code, 0);
    fs::permissions(folder, fs::perms(0755));
    fs::permissions(db_, fs::perms(0644));
    holder.reset();
  }
  // Nothing the read-only runs left behind stops the owner from reading and writing.
  Install(db_);
  WriteInt("K\\After", 3);
  EXPECT_EQ(ReadInt("K\\After"), 3);
  EXPECT_EQ(ReadInt("K\\V"), 7);
}

// Processes that open a store no one has created yet, all at the same moment, each get it:
// none gives up on it (its writes would be lost) and none takes it for another program's.
// In the first round they go on writing at once, each its own values and one shared key,
// and end without closing the store: what they wrote is there all the same.
TEST_F(SqliteStoreTest, ProcessesCreatingAndWritingTheStoreTogetherLoseNothing) {
  constexpr int kRounds = 50;
  constexpr int kProcs = 8;
  for (int round = 0; round < kRounds; ++round) {
    const int writes = round == 0 ? 60 : 2;
    std::string db = dir_.Path() + quill::Format("/r%d/registry.db", round);
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> kids;
    for (int p = 0; p < kProcs; ++p) {
      kids.push_back(Spawn([&, p] {
        close(gate[1]);
        char c;
        (void)!read(gate[0], &c, 1);  // returns when the parent closes the gate: all start
        auto store = std::make_shared<quill::SqliteSettingsStore>(db);
        quill::SetSettingsStore(store);
        for (int i = 0; i < writes; ++i) {
          WriteInt(quill::Format("P%d\\V%d", p, i), p * 1000 + i);
          WriteInt("Shared\\Last", p * 1000 + i);
        }
        if (round == 0) _exit(store->problem().empty() ? 0 : 1);
        return store->problem().empty() ? 0 : 1;
      }));
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : kids) ASSERT_EQ(ExitCode(pid), 0) << "round " << round;
    Install(db);
    for (int p = 0; p < kProcs; ++p)
      for (int i = 0; i < writes; ++i)
        ASSERT_EQ(ReadInt(quill::Format("P%d\\V%d", p, i), -1), p * 1000 + i) << "round " << round;
    EXPECT_EQ(ReadInt("Shared\\Last", -1) % 1000, writes - 1);  // some process's final write won
    for (const std::string& name : Names(dir_.Path() + quill::Format("/r%d", round)))
      ASSERT_EQ(name.find("corrupt"), std::string::npos) << "round " << round;
    quill::SetSettingsStore(nullptr);
  }
}

// A writer gets through while another process imports a large file, and the import is
// whole or nothing: never seen (nor left, were the importer killed) half applied.
TEST_F(SqliteStoreTest, WriterGetsThroughDuringALargeImport) {
  constexpr int kKeys = 100000;
  constexpr int kWrites = 20;
  std::string text = "REGEDIT4\n";
  for (int i = 0; i < kKeys; ++i) text += quill::Format("[HKCU\\Big\\K%d]\n\"v\"=dword:%x\n", i, i);
  quill::RegFile file;
  quill::RegFileError error;
  ASSERT_TRUE(quill::ParseRegFile(text, &file, &error));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t importer = Spawn([&] {
    quill::SqliteSettingsStore store(db_);
    (void)!write(ready[1], "x", 1);
    return quill::ApplyRegFile(store, file) ? 0 : 1;
  });
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  auto store = Install(db_);
  // Long enough for a loaded machine, far shorter than the whole import.
  store->SetBusyTimeout(400);
  const std::string last = quill::Format("Big\\K%d\\v", kKeys - 1);
  for (int i = 0; i < kWrites; ++i) {
    WriteInt(quill::Format("Writer\\W%d", i), i + 1);
    // The first key is applied before the last: seeing it without the last is half.
    const bool first_seen = ReadInt("Big\\K0\\v", -1) == 0;
    EXPECT_FALSE(first_seen && ReadInt(last, -1) != kKeys - 1) << "write " << i;
    usleep(20000);
  }
  EXPECT_EQ(ExitCode(importer), 0);
  for (int i = 0; i < kWrites; ++i) EXPECT_EQ(ReadInt(quill::Format("Writer\\W%d", i)), i + 1);
  EXPECT_EQ(ReadInt(last), kKeys - 1);
  EXPECT_TRUE(store->problem().empty()) << store->problem();
  close(ready[0]);
  close(ready[1]);
}

TEST_F(SqliteStoreTest, KeyHandleOfADeletedKeyWritesNothing) {
  auto store = Install(db_);
  auto id = store->OpenKey("A\\B", true);
  EXPECT_TRUE(quill::SHDeleteKey(HKEY_CURRENT_USER, "A"));
  EXPECT_FALSE(store->SetValue(id, "v", quill::REG_DWORD, "1234"));
  EXPECT_EQ(store->EnumKeys(store->OpenKey("", false)), std::vector<std::string>{"K"});
}

// Test programs run with QUILL_TEST_MODE set: the store opened by default then lives in
// memory and the user's own settings are never touched.
TEST(DefaultStoreTest, TestModeOpensAMemoryStore) {
  quill_test::ScopedEnv test_mode("QUILL_TEST_MODE", "1");
  quill::SetSettingsStore(nullptr);
  auto store = quill::GetSettingsStore();
  EXPECT_NE(dynamic_cast<quill::MemorySettingsStore*>(store.get()), nullptr);
  EXPECT_EQ(quill::GetSettingsStore(), store);  // one store for the process
  // The store under XDG_CONFIG_HOME, created only by a first write and kept across
  // processes, is checked end to end by the quill-settings round trip.
  test_mode.Set(nullptr);
  quill::SetSettingsStore(nullptr);
  quill_test::TempDir dir;
  quill_test::ScopedEnv xdg("XDG_CONFIG_HOME", dir.Path().c_str());
  EXPECT_NE(dynamic_cast<quill::SqliteSettingsStore*>(quill::GetSettingsStore().get()), nullptr);
  xdg.Set(nullptr);
  EXPECT_EQ(quill::DefaultSettingsPath(),
            std::string(std::getenv("HOME")) + "/.config/quill/registry.db");
}

}  // namespace
