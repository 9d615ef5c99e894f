// The process's committed private memory, as the benchmarks and the memory tests measure it:
// Wine reports 0 for PrivateUsage, so the committed private pages of the address space are
// counted instead.
#pragma once

#include <cstddef>

namespace testsupport {

// The committed MEM_PRIVATE pages of this process's address space, in bytes (VirtualQuery). Wine
// commits a thread's whole stack (2 MB here) and a block of 1 MB of its own for each thread it
// starts, and frees them late, so a worker thread of the platform that comes or goes moves this
// by megabytes.
std::size_t CommittedPrivateBytes();

// The threads of this process.
unsigned ThreadCount();

// The bytes of the blocks in use in every heap of the process (HeapWalk): what is allocated and
// not freed, without the pages a heap keeps committed for later.
std::size_t HeapBytesInUse();

}  // namespace testsupport
