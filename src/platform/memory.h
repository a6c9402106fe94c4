#pragma once
// Hints to the operating system about large blocks of memory.

#include <cstddef>

namespace quill {

// Asks for large pages for the block (fewer page faults when it is first filled).
// A hint only: nothing changes where the system has no such pages.
void AdviseLargePages(void* pBlock, std::size_t nBytes);

// Bytes of memory the process can have at most: its address-space limit, or the
// machine's memory and swap when that is smaller.
unsigned long long AvailableMemory();

}  // namespace quill
