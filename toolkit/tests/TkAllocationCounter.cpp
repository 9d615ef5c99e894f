#include "TkAllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_blocks{0};
}

long TkLiveBlocks() {
    return g_blocks.load();
}

void* operator new(size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    ++g_blocks;
    return block;
}
void* operator new[](size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
    if (!block) return;
    --g_blocks;
    std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, size_t) noexcept { operator delete(block); }
void operator delete[](void* block, size_t) noexcept { operator delete(block); }
