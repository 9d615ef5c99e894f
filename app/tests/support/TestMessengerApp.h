// The test programs' application object: the program's own, with the windows of later parts
// replaced by test frames and dialogs, and its protected steps reachable.
#pragma once

#include "shared/WindowBases.h"
#include "startup/MessengerApp.h"

#include <vector>

class CTestFrame : public CFrameBase {
public:
    bool canClose = true;
    bool viewFails = false;
    int closeQuestions = 0;  // how often CanClose was asked
    static int live;
    CTestFrame() { ++live; }
    ~CTestFrame() override { --live; }
    bool CreateClientView() override;
    UINT GetBarResourceId(int) override { return 147; }
    bool CanClose() override {
        ++closeQuestions;
        return canClose;
    }
};

class CTestMessengerApp : public CMessengerApp {
public:
    CTestMessengerApp();
    using CMessengerApp::CheckSingleInstance;
    using CMessengerApp::CloseAllFrames;
    using CMessengerApp::CreateMainWindow;
    using CMessengerApp::LoadSatellite;
    using CMessengerApp::OnCmdMsg;
    using CMessengerApp::SetUpToolkit;

    // What the overridden seams saw and made.
    std::vector<FrameKind> framesMade;
    std::vector<UINT> dialogsMade;
    std::vector<CTestFrame*> frames;
    bool realSendFrames = false;  // the program's own send windows instead of test frames
    bool activateResult = false;
    int activations = 0;
    bool upgradeNow = false;
    int upgradeOffers = 0;
    const char* satelliteBase = "Velko";

protected:
    CFrameBase* NewFrame(FrameKind kind) override;
    HWND NewModelessDialog(UINT templateId, bool atStartUp) override;
    bool ActivateRunningInstance() override;
    bool OfferUpgrade() override;
    const char* SatelliteBaseName() const override { return satelliteBase; }
};

extern CTestMessengerApp theTestApp;

// Records every message box while it lives.
class CMessageBoxRecorder {
public:
    struct Box {
        CString text;
        UINT type;
    };
    CMessageBoxRecorder();
    ~CMessageBoxRecorder();
    std::vector<Box> boxes;
    // The buttons the next boxes answer with, in order; IDOK once they run out.
    std::vector<int> answers;

private:
    AFX_MSGBOX_HOOK m_previous;
};

// The English satellite library as the resource handle, for one test.
class CSatelliteScope {
public:
    CSatelliteScope();
    ~CSatelliteScope();

private:
    HMODULE m_library;
};

CString LoadText(UINT id);
void PumpPending();
// For the screenshot script: pumps for settleMs, marks the windows ready
// (TARVOCK_SCREENSHOT_READY) and pumps until told the picture is taken (TARVOCK_SCREENSHOT_DONE,
// at most 30 s). The screen rectangles in mustShow are written into the marker, one
// "left top right bottom" a line: the script fails when the picture shows any of them as one flat
// colour. False when the script's variables are missing.
bool HoldForScreenshot(int settleMs, const std::vector<CRect>& mustShow = {});
