// A save killed at a random moment: a child process saves a 5 MB text over a 5 MB file
// (renamed into place, rewritten in place for a hard-linked file, written through the
// held file) on a slowed-down disk and is killed 20 times per way. Every time the file holds the whole old or
// the whole new text, or the old text is in the named rollback copy and loading the file
// says so.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

enum class Way { kRename, kHardLinked, kHeld };
const char* const kWayNames[] = {"Rename", "HardLinked", "Held"};

std::string Numbered(const char* text, int count) {
  std::string all;
  for (int i = 0; i < count; ++i) all += text + std::to_string(i) + "\n";
  return all;
}

class KillSaveTest : public LoadSaveTest, public ::testing::WithParamInterface<Way> {
 protected:
  // Starts a child that saves the buffer to m_path the way asked, and returns its id.
  pid_t StartSave() {
    const pid_t pid = fork();
    if (pid != 0) return pid;
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
    if ((!held || doc.Hold(m_path)) && buffer.LoadFromBuffer(m_newText.c_str(), CRLF_MODE_UNIX))
      result = held ? buffer.SaveToFileLocking("doc") : buffer.SaveToFile(m_path);
    _exit(result == 1 ? 0 : 1);
  }
  // Puts the old text back and removes what an earlier round left.
  void Reset() {
    for (const std::string& name : ListFolder(m_folder.Path())) unlink((m_folder / name).c_str());
    WriteAll(m_path, m_oldText);
    if (GetParam() == Way::kHardLinked) {
      ASSERT_EQ(link(m_path.c_str(), (m_path + ".link").c_str()), 0);
    }
  }

  std::string m_path = m_folder / "doc.txt";
  std::string m_rollback = m_path + ".quill-rollback";
  std::string m_oldText = Numbered("an old line of the file, number ", 150000);
  std::string m_newText = Numbered("the new text that replaces it, line ", 150000);
};

TEST_P(KillSaveTest, LeavesTheOldOrTheNewTextOrTheNamedCopy) {
  // How long an undisturbed save takes.
  Reset();
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ASSERT_EQ(waitpid(StartSave(), &status, 0) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0, true);
  const auto duration = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(ReadAll(m_path) == m_newText);

  std::mt19937 random(20261205);
  std::uniform_int_distribution<long long> moment(
      0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 6 / 5);
  int cut = 0;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    Reset();
    const pid_t pid = StartSave();
    usleep(static_cast<useconds_t>(moment(random)));
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    cut += WIFSIGNALED(status) ? 1 : 0;

    const std::string text = ReadAll(m_path);
    if (GetParam() == Way::kHardLinked) {
      EXPECT_TRUE(ReadAll(m_path + ".link") == text);
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
}

INSTANTIATE_TEST_SUITE_P(Ways, KillSaveTest,
                         ::testing::Values(Way::kRename, Way::kHardLinked, Way::kHeld),
                         [](const ::testing::TestParamInfo<Way>& info) {
                           return std::string(kWayNames[static_cast<int>(info.param)]);
                         });

}  // namespace
}  // namespace quill::test
