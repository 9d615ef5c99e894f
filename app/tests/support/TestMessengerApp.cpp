#include "support/TestMessengerApp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "DesktopSupport.h"
#include "resource.h"
#include "shared/Helpers.h"

CTestMessengerApp theTestApp;
int CTestFrame::live = 0;

namespace {
// Every test starts without the bar layouts earlier tests (or earlier runs) stored: the frames
// load them when they open.
class CFreshBarLayouts : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        HKEY app = theTestApp.GetAppRegistryKey();
        if (!app) return;
        ::RegDeleteTreeW(app, L"CommandBars");
        ::RegCloseKey(app);
    }
};

// Windows go to a desktop of this process's own, made with its display.
struct CPrivateDesktop {
    CPrivateDesktop() {
        TestUseOwnDesktop(L"TarvockVelkoTests");
        theTestApp.InitApplication();
        theTestApp.SetRegistryKey("TarvockTests");
        ::testing::UnitTest::GetInstance()->listeners().Append(new CFreshBarLayouts);
    }
} privateDesktop;
}  // namespace

bool CTestFrame::CreateClientView() {
    if (viewFails) return false;
    CEdit* edit = new CEdit;
    bool made = edit->Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 10, 10), this, AFX_IDW_PANE_FIRST);
    edit->UnsubclassWindow();
    delete edit;
    return made;
}

CTestMessengerApp::CTestMessengerApp() {
    m_exitWaitMs = 0;
}

CFrameBase* CTestMessengerApp::NewFrame(FrameKind kind) {
    framesMade.push_back(kind);
    if (kind == FrameKind::Send && realSendFrames) return CMessengerApp::NewFrame(kind);
    CTestFrame* frame = new CTestFrame;
    frames.push_back(frame);
    return frame;
}

HWND CTestMessengerApp::NewModelessDialog(UINT templateId, bool) {
    dialogsMade.push_back(templateId);
    CDialog* dialog = new CDialog;
    if (!dialog->Create(IDD_OPTIONS)) {
        delete dialog;
        return nullptr;
    }
    return dialog->Detach();  // the test dialogs need no object once made
}

bool CTestMessengerApp::ActivateRunningInstance() {
    ++activations;
    return activateResult;
}

bool CTestMessengerApp::OfferUpgrade() {
    ++upgradeOffers;
    return upgradeNow;
}

CMessageBoxRecorder::CMessageBoxRecorder() {
    m_previous = AfxSetMessageBoxHook([this](const CString& text, UINT type) {
        boxes.push_back({text, type});
        if (answers.empty()) return IDOK;
        int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
}

CMessageBoxRecorder::~CMessageBoxRecorder() {
    AfxSetMessageBoxHook(std::move(m_previous));
}

CSatelliteScope::CSatelliteScope() : m_library(::LoadLibraryW(L"Velko_en.dll")) {
    AfxSetResourceHandle(m_library);
}

CSatelliteScope::~CSatelliteScope() {
    AfxSetResourceHandle(nullptr);
    if (m_library) ::FreeLibrary(m_library);
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool HoldForScreenshot(int settleMs, const std::vector<CRect>& mustShow) {
    const char* ready = std::getenv("TARVOCK_SCREENSHOT_READY");
    const char* done = std::getenv("TARVOCK_SCREENSHOT_DONE");
    if (!ready || !done) return false;
    for (int waited = 0; waited < settleMs; waited += 50) {
        PumpPending();
        ::Sleep(50);
    }
    // Written under another name and renamed, so that the script never reads half a marker.
    const std::string writing = std::string(ready) + ".new";
    std::FILE* marker = std::fopen(writing.c_str(), "w");
    if (marker) {
        for (const CRect& rect : mustShow)
            std::fprintf(marker, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        std::fclose(marker);
        ::MoveFileA(writing.c_str(), ready);
    }
    for (int i = 0; i < 600 && ::GetFileAttributesA(done) == INVALID_FILE_ATTRIBUTES; ++i) {
        PumpPending();
        ::Sleep(50);
    }
    return true;
}
