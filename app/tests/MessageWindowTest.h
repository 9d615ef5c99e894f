// What the send and read window tests share: a signed-in user of the stand-in, the recorded
// message boxes, and small probes of a window's commands and controls.
#pragma once

#include "LoginState.h"
#include "TestMessengerApp.h"

#include <gtest/gtest.h>

#include "StandinTest.h"

#include <string>

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

    CSatelliteScope m_satellite;
    CMessageBoxRecorder m_boxes;
    size_t m_framesBefore = 0;
};
