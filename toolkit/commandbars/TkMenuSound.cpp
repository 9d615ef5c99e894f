#include "commandbars/TkMenuSound.h"

#include <mmsystem.h>

CTkMenuSoundPlayer& CTkMenuSoundPlayer::Instance() {
    static CTkMenuSoundPlayer player;
    return player;
}

CTkMenuSoundPlayer::CTkMenuSoundPlayer(PFNPLAYSOUND play) : m_pfnPlay(play ? play : ::PlaySoundW) {}

CTkMenuSoundPlayer::~CTkMenuSoundPlayer() {
    Stop();
}

void CTkMenuSoundPlayer::Play(LONG kind) {
    if (!m_bEnabled || (kind != RequestCommand && kind != RequestPopup)) return;
    // A thread that a stop did not see end is still alive: it stays the only one.
    if (m_hThread && !ReapThread(0)) m_quit.store(false);
    if (!m_hThread && !Start()) return;
    m_request.store(kind);
}

bool CTkMenuSoundPlayer::Start() {
    m_request.store(RequestNone);
    m_quit.store(false);
    HANDLE thread = ::CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!thread) return false;
    ::SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    ::ResumeThread(thread);
    m_hThread = thread;
    return true;
}

bool CTkMenuSoundPlayer::Stop() {
    if (!m_hThread) return true;
    m_quit.store(true);
    m_request.store(RequestQuit);
    return ReapThread(kStopTimeoutMs);
}

bool CTkMenuSoundPlayer::ReapThread(DWORD waitMs) {
    if (::WaitForSingleObject(m_hThread, waitMs) != WAIT_OBJECT_0) return false;
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    return true;
}

DWORD WINAPI CTkMenuSoundPlayer::ThreadProc(void* param) {
    static_cast<CTkMenuSoundPlayer*>(param)->Run();
    return 0;
}

void CTkMenuSoundPlayer::Run() {
    const DWORD flags = SND_ALIAS | SND_NOWAIT | SND_NODEFAULT;
    while (!m_quit.load()) {
        LONG request = m_request.load();
        if (request == RequestCommand || request == RequestPopup) {
            m_pfnPlay(request == RequestCommand ? L"MenuCommand" : L"MenuPopup", nullptr, flags);
            // Only the sound just played is cleared: a request made meanwhile stays.
            m_request.compare_exchange_strong(request, RequestNone);
        }
        ::Sleep(kPollMs);
    }
    m_pfnPlay(nullptr, nullptr, SND_PURGE);
}
