#include "MessageBoxCapture.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

#include "MessageBoxRecorder.h"
#include "Variants.h"

namespace officehost {

namespace {

// Each captured module gets a recorder pair of its own, so a box is attributed to its module
// even when the module reaches MessageBox through a tail call.
constexpr size_t kSlots = 16;

struct Slot {
    HMODULE module = nullptr;
    CallLog* log = nullptr;
};

std::mutex& Lock() {
    static std::mutex mutex;
    return mutex;
}
Slot* Slots() {
    static Slot slots[kSlots];
    return slots;
}

void Record(size_t slot, const std::wstring& caption, const std::wstring& text, UINT type) {
    wchar_t flags[16];
    std::swprintf(flags, 16, L"0x%08X", type);
    std::lock_guard<std::mutex> lock(Lock());
    if (CallLog* log = Slots()[slot].log) {
        log->Add(L"MessageBox caption=" + detail::Quoted(caption) + L" text=" + detail::Quoted(text) + L" type=" + flags);
    }
}

template <size_t N>
int WINAPI RecordMessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    Record(N, detail::FromCodePage(caption, CP_ACP), detail::FromCodePage(text, CP_ACP), type);
    return IDOK;
}

template <size_t N>
int WINAPI RecordMessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    Record(N, caption ? caption : L"", text ? text : L"", type);
    return IDOK;
}

struct Recorders {
    void* a;
    void* w;
};

template <size_t... N>
const Recorders* RecorderTable(std::index_sequence<N...>) {
    static const Recorders table[] = {
        {reinterpret_cast<void*>(&RecordMessageBoxA<N>), reinterpret_cast<void*>(&RecordMessageBoxW<N>)}...};
    return table;
}

const Recorders& RecordersOf(size_t slot) { return RecorderTable(std::make_index_sequence<kSlots>())[slot]; }

// The module's slot (kept from an earlier capture, or a free one); kSlots when none is left.
size_t SlotOf(HMODULE module) {
    size_t free = kSlots;
    for (size_t i = 0; i < kSlots; ++i) {
        if (Slots()[i].module == module) return i;
        if (!Slots()[i].module && free == kSlots) free = i;
    }
    return free;
}

bool SameText(const char* a, const char* b) { return ::lstrcmpiA(a, b) == 0; }

// Points one import address table slot at the recorder.
bool Patch(ULONG_PTR* slot, void* recorder) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
    *slot = reinterpret_cast<ULONG_PTR>(recorder);
    ::VirtualProtect(slot, sizeof *slot, old, &old);
    return true;
}

}  // namespace

bool CaptureMessageBoxes(HMODULE module, CallLog& log) {
    if (!module) return false;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return false;
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress || !directory.Size) return false;

    // Without a name table (bound imports), the slots are recognised by the functions' addresses.
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    void* realA = user32 ? reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxA")) : nullptr;
    void* realW = user32 ? reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxW")) : nullptr;

    std::lock_guard<std::mutex> lock(Lock());
    const size_t slot = SlotOf(module);
    if (slot == kSlots) return false;
    const Recorders& recorders = RecordersOf(slot);
    bool captured = false;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); import->Name; ++import) {
        if (!SameText(reinterpret_cast<const char*>(base + import->Name), "user32.dll")) continue;
        auto* slots = reinterpret_cast<ULONG_PTR*>(base + import->FirstThunk);
        auto* names = import->OriginalFirstThunk
                          ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk)
                          : nullptr;
        for (size_t i = 0; slots[i]; ++i) {
            void* recorder = nullptr;
            if (names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
                const char* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData)->Name;
                if (std::strcmp(name, "MessageBoxA") == 0) recorder = recorders.a;
                if (std::strcmp(name, "MessageBoxW") == 0) recorder = recorders.w;
            } else if (!names) {
                void* target = reinterpret_cast<void*>(slots[i]);
                if (target && target == realA) recorder = recorders.a;
                if (target && target == realW) recorder = recorders.w;
            }
            if (!recorder) continue;
            if (Patch(&slots[i], recorder)) captured = true;
        }
    }
    // A module captured before keeps its slot: its table already points at that slot's recorders.
    if (captured || Slots()[slot].module == module) {
        Slots()[slot] = {module, &log};
        return true;
    }
    return false;
}

namespace detail {

void ForgetMessageBoxLog(const CallLog* log) {
    std::lock_guard<std::mutex> lock(Lock());
    for (size_t i = 0; i < kSlots; ++i) {
        if (Slots()[i].log == log) Slots()[i].log = nullptr;   // the module keeps its slot
    }
}

}  // namespace detail
}  // namespace officehost
