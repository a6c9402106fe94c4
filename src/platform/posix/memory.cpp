#include "platform/memory.h"

#include <sys/mman.h>

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

}  // namespace quill
