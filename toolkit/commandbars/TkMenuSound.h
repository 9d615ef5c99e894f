// The menu sounds: played on a thread of their own (the program's only second thread) so that
// opening a popup or executing a command never waits for the sound system.
#pragma once

#include <windows.h>

#include <atomic>

class CTkMenuSoundPlayer {
public:
    enum : LONG {
        RequestNone = 0,
        RequestCommand = 1,  // "MenuCommand": a control was executed
        RequestPopup = 2,    // "MenuPopup": a popup was shown
        RequestQuit = 3,
    };
    static constexpr DWORD kStopTimeoutMs = 100;
    static constexpr DWORD kPollMs = 5;
    // PlaySoundW's shape; tests put a recorder in its place.
    using PFNPLAYSOUND = BOOL(WINAPI*)(LPCWSTR sound, HMODULE module, DWORD flags);

    // The program's player.
    static CTkMenuSoundPlayer& Instance();
    explicit CTkMenuSoundPlayer(PFNPLAYSOUND play = nullptr);
    ~CTkMenuSoundPlayer();
    CTkMenuSoundPlayer(const CTkMenuSoundPlayer&) = delete;
    CTkMenuSoundPlayer& operator=(const CTkMenuSoundPlayer&) = delete;

    // Asks for a sound (RequestCommand or RequestPopup), starting the thread on first use. A
    // request the thread has not taken yet is replaced.
    void Play(LONG kind);
    // Asks the thread to end and waits for it at most 100 ms. True when it ended (or there was
    // none); a thread that is still busy keeps its handle and ends on its own.
    bool Stop();
    bool HasThread() const { return m_hThread != nullptr; }
    HANDLE GetThreadHandle() const { return m_hThread; }
    LONG GetPendingRequest() const { return m_request.load(); }

private:
    static DWORD WINAPI ThreadProc(void* param);
    void Run();
    bool Start();
    // Closes the handle of a thread that has ended; false while it runs.
    bool ReapThread(DWORD waitMs);

    PFNPLAYSOUND m_pfnPlay;
    bool m_bEnabled = true;
    std::atomic<LONG> m_request{RequestNone};
    // Kept apart from the request word: the thread's clearing of a played sound never erases it.
    std::atomic<bool> m_quit{false};
    HANDLE m_hThread = nullptr;
};
