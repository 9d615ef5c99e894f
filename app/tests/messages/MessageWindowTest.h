// What the send and read window tests share: a signed-in user of the stand-in, the recorded
// message boxes, and small probes of a window's commands and controls.
#pragma once

#include "signin/LoginState.h"
#include "support/TestMessengerApp.h"

#include <gtest/gtest.h>

#include "StandinTest.h"

#include <functional>
#include <string>

class CSendMessageFrame;

// Records whether an update handler enabled its command.
class CEnableProbe : public CCmdUI {
public:
    bool enabled = true;
    void Enable(bool on = true) override { enabled = on; }
};

class MessageWindowTest : public standin::StandinTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Signs in as one of the stand-in's users (password as the user name, account given).
    void SignIn(const char* user, const char* account);
    size_t Requests(const wchar_t* operation) const;
    // Whether a window's command is enabled by its update handler.
    static bool IsCommandEnabled(CCmdTarget* target, UINT command);
    static std::wstring WideText(HWND parent, UINT controlId);
    // The frames opened since the test began, of the send window's class.
    std::vector<CSendMessageFrame*> NewSendFrames() const;
    // Runs `open`, which shows a modal dialog; once the dialog is up, `act` gets its window
    // (it ends the dialog). False when no dialog came up.
    static bool WithModalDialog(const std::function<void()>& open, const std::function<void(HWND)>& act);

    CSatelliteScope m_satellite;
    CMessageBoxRecorder m_boxes;
    std::set<HWND> m_framesBefore;
};
