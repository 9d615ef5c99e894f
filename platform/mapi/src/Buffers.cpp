// MAPI's memory: a buffer from MAPIAllocateBuffer owns every block that MAPIAllocateMore links
// to it, and MAPIFreeBuffer frees them all. Row sets and address lists hold one such buffer per
// row or entry.
#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

#include <cstdlib>
#include <new>

#include "Diagnostics.h"

namespace {

const DWORD kBufferMagic = 0x4D415049;  // "MAPI"

// Precedes every block; a top-level buffer chains the blocks allocated more onto it.
struct alignas(16) BlockHeader {
    DWORD magic;
    bool topLevel;
    BlockHeader* nextMore;
};

BlockHeader* HeaderOf(void* payload) {
    return reinterpret_cast<BlockHeader*>(static_cast<char*>(payload) - sizeof(BlockHeader));
}

void* NewBlock(ULONG size, bool topLevel) {
    void* raw = std::calloc(1, sizeof(BlockHeader) + size);
    if (!raw) return nullptr;
    auto* header = static_cast<BlockHeader*>(raw);
    header->magic = kBufferMagic;
    header->topLevel = topLevel;
    header->nextMore = nullptr;
    return header + 1;
}

}  // namespace

extern "C" SCODE WINAPI MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) {
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = NewBlock(cbSize, true);
    if (!*lppBuffer) return MAPI_E_NOT_ENOUGH_MEMORY;
    ++mapiprovider::Counters().liveBuffers;
    return S_OK;
}

extern "C" SCODE WINAPI MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) {
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    if (!lpObject) return MAPIAllocateBuffer(cbSize, lppBuffer);
    BlockHeader* owner = HeaderOf(lpObject);
    if (owner->magic != kBufferMagic || !owner->topLevel) return MAPI_E_INVALID_PARAMETER;
    void* block = NewBlock(cbSize, false);
    if (!block) return MAPI_E_NOT_ENOUGH_MEMORY;
    BlockHeader* header = HeaderOf(block);
    header->nextMore = owner->nextMore;
    owner->nextMore = header;
    *lppBuffer = block;
    return S_OK;
}

extern "C" ULONG WINAPI MAPIFreeBuffer(LPVOID lpBuffer) {
    if (!lpBuffer) return S_OK;
    BlockHeader* header = HeaderOf(lpBuffer);
    if (header->magic != kBufferMagic || !header->topLevel) return static_cast<ULONG>(MAPI_E_INVALID_PARAMETER);
    BlockHeader* more = header->nextMore;
    while (more) {
        BlockHeader* next = more->nextMore;
        more->magic = 0;
        std::free(more);
        more = next;
    }
    header->magic = 0;
    std::free(header);
    --mapiprovider::Counters().liveBuffers;
    return S_OK;
}

extern "C" void WINAPI FreeProws(LPSRowSet lpRows) {
    if (!lpRows) return;
    for (ULONG i = 0; i < lpRows->cRows; ++i) MAPIFreeBuffer(lpRows->aRow[i].lpProps);
    MAPIFreeBuffer(lpRows);
}

extern "C" void WINAPI FreePadrlist(LPADRLIST lpAdrlist) {
    if (!lpAdrlist) return;
    for (ULONG i = 0; i < lpAdrlist->cEntries; ++i) MAPIFreeBuffer(lpAdrlist->aEntries[i].rgPropVals);
    MAPIFreeBuffer(lpAdrlist);
}

extern "C" ULONG WINAPI UlRelease(LPVOID lpUnknown) {
    return lpUnknown ? static_cast<IUnknown*>(lpUnknown)->Release() : 0;
}

extern "C" ULONG WINAPI UlAddRef(LPVOID lpUnknown) {
    return lpUnknown ? static_cast<IUnknown*>(lpUnknown)->AddRef() : 0;
}
