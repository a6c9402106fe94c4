// A save killed at a random moment: a child process saves a 5 MB text over a 5 MB file
// (renamed into place, rewritten in place for a hard-linked file, written through the
// held file, renamed into place while another program appends a line) on a slowed-down
// disk and is killed 15 times per way, by SIGKILL or by a termination, interrupt or
// hang-up signal. Every time the file holds the whole old or the whole new text (with
// the appended line), or the old text is in the named rollback copy and loading the file
// says so. A signal that can be caught leaves no temporary file, and the temporary files
// of the killed saves go with the next save into that folder.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

enum class Way { kRename, kHardLinked, kHeld, kRenameWithWriter };
const char* const kWayNames[] = {"Rename", "HardLinked", "Held", "RenameWithWriter"};
const int kSignals[] = {SIGKILL, SIGTERM, SIGKILL, SIGINT, SIGKILL, SIGHUP};
const char kOutsideLine[] = "a line another program appended\n";

// The temporary files in a folder.
std::vector<std::string> Temporaries(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& name : ListFolder(folder))
    if (name.rfind("qlt", 0) == 0) names.push_back(name);
  return names;
}

std::string Numbered(const char* text, int count) {
  std::string all;
  for (int i = 0; i < count; ++i) all += text + std::to_string(i) + "\n";
  return all;
}

class KillSaveTest : public LoadSaveTest, public ::testing::WithParamInterface<Way> {
 protected:
  // Starts a child that saves the buffer to m_path the way asked, and returns its id
  // once the child has taken the file it is to replace.
  pid_t StartSave() {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid != 0) {
      close(ready[1]);
      char c;
      (void)read(ready[0], &c, 1);
      close(ready[0]);
      return pid;
    }
    close(ready[0]);
    HeadlessApplicationServices services;
    services.m_bEcho = false;
    SetApplicationServices(&services);
    // A slow disk, so that the kills also land inside the rewrites in place. A kill
    // leaves what was written in the system's cache: waiting for the disk adds nothing.
    FaultFileService slow;
    slow.m_nWriteDelayUs = 2000;
    slow.m_bSkipSync = true;
    SetFileService(&slow);
    HoldingDocument doc;
    FileBuffer buffer(&doc);
    const bool held = GetParam() == Way::kHeld;
    int result = 0;
    const bool loaded = (!held || doc.Hold(m_path)) && buffer.LoadFromBuffer(m_newText.c_str(), CRLF_MODE_UNIX);
    buffer.RecordFileIdentity(m_path);  // as though the text had been loaded from it
    (void)write(ready[1], "r", 1);
    if (loaded) result = held ? buffer.SaveToFileLocking("doc") : buffer.SaveToFile(m_path);
    _exit(result == 1 ? 0 : 1);
  }
  // Puts the old text back and removes what an earlier round left but temporary files.
  void Reset() {
    for (const std::string& name : ListFolder(m_folder.Path()))
      if (name.rfind("qlt", 0) != 0) unlink((m_folder / name).c_str());
    WriteAll(m_path, m_oldText);
    if (GetParam() == Way::kHardLinked) {
      ASSERT_EQ(link(m_path.c_str(), (m_path + ".link").c_str()), 0);
    }
  }

  std::string m_path = m_folder / "doc.txt";
  std::string m_rollback = m_path + ".quill-rollback";
  std::string m_oldText = Numbered("an old line of the file, number ", 150000);
  std::string m_newText = Numbered("the new text that replaces it, line ", 150000);
  bool m_bWriter = GetParam() == Way::kRenameWithWriter;
};

TEST_P(KillSaveTest, LeavesTheOldOrTheNewTextOrTheNamedCopy) {
  // How long an undisturbed save takes.
  Reset();
  const pid_t first = StartSave();
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ASSERT_EQ(waitpid(first, &status, 0) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0, true);
  const auto duration = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(ReadAll(m_path) == m_newText);

  std::mt19937 random(20261205);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 6 / 5);
  int cut = 0;
  for (int round = 0; round < 15; ++round) {
    SCOPED_TRACE(round);
    Reset();
    const int signal = kSignals[round % 6];
    const pid_t pid = StartSave();
    const auto wait = static_cast<useconds_t>(moment(random));
    if (m_bWriter) {
      usleep(wait / 2);
      const int fd = open(m_path.c_str(), O_WRONLY | O_APPEND);
      ASSERT_EQ(write(fd, kOutsideLine, sizeof kOutsideLine - 1), static_cast<ssize_t>(sizeof kOutsideLine - 1));
      close(fd);
    }
    usleep(m_bWriter ? wait / 2 : wait);
    kill(pid, signal);
    waitpid(pid, &status, 0);
    cut += WIFSIGNALED(status) ? 1 : 0;
    if (signal != SIGKILL) {
      for (const std::string& name : Temporaries(m_folder.Path()))
        EXPECT_NE(name.rfind("qlt" + std::to_string(pid) + "_", 0), 0u) << name;
    }

    const std::string text = ReadAll(m_path);
    if (GetParam() == Way::kHardLinked) {
      EXPECT_TRUE(ReadAll(m_path + ".link") == text);
    }
    if (m_bWriter) {
      // The appended line is never lost: the save found it and kept the file, or came
      // before it.
      EXPECT_TRUE(text == m_oldText + kOutsideLine || text == m_newText + kOutsideLine);
      continue;
    }
    if (text == m_oldText || text == m_newText) continue;
    ASSERT_TRUE(ReadAll(m_rollback) == m_oldText);
    m_services.m_messages.clear();
    m_buffer.FreeAll();
    ASSERT_EQ(m_buffer.LoadFromFile(m_path), 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].text.find(m_rollback), std::string::npos);
  }
  RecordProperty("killed", cut);
  EXPECT_GT(cut, 0);  // the kills did land during saves
  Reset();
  ASSERT_EQ(waitpid(StartSave(), &status, 0) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0, true);
  EXPECT_EQ(Temporaries(m_folder.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Ways, KillSaveTest,
                         ::testing::Values(Way::kRename, Way::kHardLinked, Way::kHeld,
                                           Way::kRenameWithWriter),
                         [](const ::testing::TestParamInfo<Way>& info) {
                           return std::string(kWayNames[static_cast<int>(info.param)]);
                         });

}  // namespace
}  // namespace quill::test
