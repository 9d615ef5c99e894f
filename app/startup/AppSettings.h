// The program's settings of the profile section "Options", read once at start-up.
#pragma once

class CWinApp;

class CAppSettings {
public:
    // Reads "Options"; the intervals are kept within 1..60.
    explicit CAppSettings(CWinApp& app);
    // Writes "HideSplashScreen", "PollInterval" and "PopupInterval", in this order.
    void Save();

    int HideSplashScreen = 0;  // 1: no start page at start-up
    int PollInterval = 10;     // minutes between inbox polls
    int PopupInterval = 5;     // seconds an alert stays shown

    static int ClampInterval(int value);

private:
    CWinApp& m_app;
};
