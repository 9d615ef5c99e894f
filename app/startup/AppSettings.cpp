#include "startup/AppSettings.h"

#include "afxwin.h"

#include <algorithm>

namespace {
const char kSection[] = "Options";
}

CAppSettings::CAppSettings(CWinApp& app) : m_app(app) {
    HideSplashScreen = (int)app.GetProfileInt(kSection, "HideSplashScreen", 0);
    PollInterval = ClampInterval((int)app.GetProfileInt(kSection, "PollInterval", 10));
    PopupInterval = ClampInterval((int)app.GetProfileInt(kSection, "PopupInterval", 5));
}

int CAppSettings::ClampInterval(int value) {
    return std::clamp(value, 1, 60);
}

void CAppSettings::Save() {
    m_app.WriteProfileInt(kSection, "HideSplashScreen", HideSplashScreen);
    m_app.WriteProfileInt(kSection, "PollInterval", PollInterval);
    m_app.WriteProfileInt(kSection, "PopupInterval", PopupInterval);
}
