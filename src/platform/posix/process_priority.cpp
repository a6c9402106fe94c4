#include "platform/posix/process_priority.h"

#include <sys/resource.h>

#include <cerrno>

#include "platform/app_services.h"

namespace quill {
namespace {

struct ClassNice {
  unsigned priorityClass;
  int nice;
};

constexpr ClassNice kClasses[] = {
    {REALTIME_PRIORITY_CLASS, -20}, {HIGH_PRIORITY_CLASS, -10},
    {ABOVE_NORMAL_PRIORITY_CLASS, -5}, {NORMAL_PRIORITY_CLASS, 0},
    {BELOW_NORMAL_PRIORITY_CLASS, 10}, {IDLE_PRIORITY_CLASS, 19},
};

int g_lastReadNice = 0;
unsigned g_lastReadClass = NORMAL_PRIORITY_CLASS;

int CurrentNice() {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  return errno == 0 ? nice : 0;
}

}  // namespace

unsigned PosixGetPriorityClass() {
  const int nice = CurrentNice();
  unsigned best = NORMAL_PRIORITY_CLASS;
  int bestDistance = 1000;
  for (const ClassNice& c : kClasses) {
    const int distance = nice > c.nice ? nice - c.nice : c.nice - nice;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = c.priorityClass;
    }
  }
  g_lastReadNice = nice;
  g_lastReadClass = best;
  return best;
}

bool PosixSetPriorityClass(unsigned priorityClass) {
  int nice = 1000;
  if (priorityClass == g_lastReadClass) nice = g_lastReadNice;
  else
    for (const ClassNice& c : kClasses)
      if (c.priorityClass == priorityClass) nice = c.nice;
  if (nice == 1000) return false;
  if (nice == CurrentNice()) return true;
  return setpriority(PRIO_PROCESS, 0, nice) == 0;  // EACCES / EPERM: not allowed here
}

}  // namespace quill
