#include "commandbars/TkHooks.h"

#include <algorithm>

bool CTkSubclassRegistry::CRecord::Contains(const ITkHookSink* sink) const {
    return std::find(sinks.begin(), sinks.end(), sink) != sinks.end();
}

CTkSubclassRegistry& CTkSubclassRegistry::Instance() {
    static CTkSubclassRegistry registry;
    return registry;
}

CTkSubclassRegistry::~CTkSubclassRegistry() {
    auto records = m_records;
    for (auto& entry : records) {
        CRecord* record = entry.second;
        record->sinks.clear();
        if (::IsWindow(record->hwnd) &&
            ::GetWindowLongPtrW(record->hwnd, GWLP_WNDPROC) == (LONG_PTR)&SubclassProc)
            ::SetWindowLongPtrW(record->hwnd, GWLP_WNDPROC, (LONG_PTR)record->oldProc);
        Detach(record);
    }
}

bool CTkSubclassRegistry::AddSink(HWND hwnd, ITkHookSink* sink) {
    if (!sink || !::IsWindow(hwnd)) return false;
    auto it = m_records.find(hwnd);
    if (it != m_records.end()) {
        if (!it->second->Contains(sink)) it->second->sinks.push_back(sink);
        return true;
    }
    auto* record = new CRecord;
    record->hwnd = hwnd;
    record->oldProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    record->sinks.push_back(sink);
    m_records[hwnd] = record;
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)&SubclassProc);
    return true;
}

void CTkSubclassRegistry::RemoveSink(HWND hwnd, ITkHookSink* sink) {
    auto it = m_records.find(hwnd);
    if (it == m_records.end()) return;
    CRecord* record = it->second;
    record->sinks.erase(std::remove(record->sinks.begin(), record->sinks.end(), sink), record->sinks.end());
    DropRecordIfEmpty(record);
}

void CTkSubclassRegistry::RemoveSinkEverywhere(ITkHookSink* sink) {
    std::vector<HWND> windows;
    for (auto& entry : m_records)
        if (entry.second->Contains(sink)) windows.push_back(entry.first);
    for (HWND hwnd : windows) RemoveSink(hwnd, sink);
}

bool CTkSubclassRegistry::HasSink(HWND hwnd, const ITkHookSink* sink) const {
    auto it = m_records.find(hwnd);
    return it != m_records.end() && it->second->Contains(sink);
}

void CTkSubclassRegistry::DropRecordIfEmpty(CRecord* record) {
    if (!record->sinks.empty()) return;
    if (::IsWindow(record->hwnd)) {
        if (::GetWindowLongPtrW(record->hwnd, GWLP_WNDPROC) != (LONG_PTR)&SubclassProc) return;
        ::SetWindowLongPtrW(record->hwnd, GWLP_WNDPROC, (LONG_PTR)record->oldProc);
    }
    Detach(record);
}

void CTkSubclassRegistry::Detach(CRecord* record) {
    if (record->detached) return;
    auto it = m_records.find(record->hwnd);
    if (it != m_records.end() && it->second == record) m_records.erase(it);
    record->sinks.clear();
    record->detached = true;
    if (record->calls == 0) delete record;
}

LRESULT CALLBACK CTkSubclassRegistry::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CTkSubclassRegistry& registry = Instance();
    auto it = registry.m_records.find(hwnd);
    if (it == registry.m_records.end()) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return registry.Dispatch(it->second, message, wParam, lParam);
}

LRESULT CTkSubclassRegistry::Dispatch(CRecord* record, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = record->hwnd;
    const WNDPROC oldProc = record->oldProc;
    ++record->calls;
    MSG* current = AfxGetCurrentMessage();
    const MSG saved = *current;
    DWORD pos = ::GetMessagePos();
    *current = MSG{hwnd, message, wParam, lParam, (DWORD)::GetMessageTime(),
                   POINT{(short)LOWORD(pos), (short)HIWORD(pos)}};

    LRESULT result = 0;
    bool handled = false;
    if (message == WM_NCDESTROY) {
        // The window goes: its sinks are forgotten and its own procedure has the last word.
        if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == (LONG_PTR)&SubclassProc)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR)oldProc);
        Detach(record);
    } else {
        // Sinks may remove themselves or others while they are called: walk a copy and skip
        // those no longer registered.
        const std::vector<ITkHookSink*> sinks = record->sinks;
        for (auto sink = sinks.rbegin(); sink != sinks.rend(); ++sink) {
            if (!record->Contains(*sink)) continue;
            int answer = (*sink)->OnHookMessage(hwnd, message, &wParam, &lParam, &result);
            if (answer == TK_HOOK_HANDLED) handled = true;
            if (answer != TK_HOOK_IGNORED) break;
        }
    }
    if (!handled) result = ::CallWindowProcW(oldProc, hwnd, message, wParam, lParam);

    *current = saved;
    if (--record->calls == 0 && record->detached) delete record;
    return result;
}
