// Application services: the headless message box, status bar and priority class.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "platform/headless/headless_app_services.h"
#include "platform/posix/process_priority.h"
#include "quill.h"

namespace quill {
namespace {

TEST(HeadlessServices, MessageBoxesAreRecordedAndAnswered) {
  ScopedHeadlessServices services;
  services.m_bEcho = false;
  services.m_nAnswer = IDYES;
  EXPECT_EQ(AfxMessageBox("Reload?", MB_YESNO | MB_ICONQUESTION), IDYES);
  ASSERT_EQ(services.m_messages.size(), 1u);
  EXPECT_EQ(services.m_messages[0].text, "Reload?");
  EXPECT_EQ(services.m_messages[0].type, MB_YESNO | MB_ICONQUESTION);
}

TEST(HeadlessServices, HighPriorityIsRaisedAndRestored) {
  ScopedHeadlessServices services;
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, 0);
  {
    CHighPriority high;
    if (geteuid() == 0) {
      EXPECT_EQ(getpriority(PRIO_PROCESS, 0), -10);
    }
  }
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
  ASSERT_EQ(services.m_priorityHistory.size(), 2u);
  EXPECT_EQ(services.m_priorityHistory[0], HIGH_PRIORITY_CLASS);
  EXPECT_EQ(services.m_priorityHistory[1], PosixGetPriorityClass());
  EXPECT_FALSE(PosixSetPriorityClass(0x12345));  // not a class
}

}  // namespace
}  // namespace quill
