// The priority class that the application services set. Their message boxes and status
// bar are checked by the tests of the code that uses them.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "platform/headless/headless_app_services.h"
#include "platform/posix/process_priority.h"
#include "quill.h"

namespace quill {
namespace {

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
  EXPECT_EQ(services.m_priorityHistory.back(), PosixGetPriorityClass());
  EXPECT_FALSE(PosixSetPriorityClass(0x12345));  // not a class
}

}  // namespace
}  // namespace quill
