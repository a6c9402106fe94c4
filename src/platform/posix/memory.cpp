#include "platform/memory.h"

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <cstdint>

namespace quill {

void AdviseLargePages(void* pBlock, std::size_t nBytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(pBlock);
  const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t last = (begin + nBytes) & ~(kLarge - 1);
  if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)pBlock;
  (void)nBytes;
#endif
}

unsigned long long AvailableMemory() {
  unsigned long long nBytes = ~0ULL;
  struct sysinfo info;
  if (sysinfo(&info) == 0)
    nBytes = (static_cast<unsigned long long>(info.totalram) + info.totalswap) * info.mem_unit;
  struct rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < nBytes)
    nBytes = limit.rlim_cur;
  return nBytes;
}

}  // namespace quill
