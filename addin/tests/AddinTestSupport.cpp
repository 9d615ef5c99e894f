#include "AddinTestSupport.h"

#include <cstdio>

namespace addintest {

const wchar_t kProgId[] = L"TarvockOfficePlugin.Addin";

std::wstring SatelliteText(UINT id) {
    static HMODULE satellite = ::LoadLibraryExW(testsupport::BesideProgram(L"TarvockOfficePlugin_en.dll").c_str(),
                                                nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[512] = {};
    if (satellite) ::LoadStringW(satellite, id, text, 512);
    return text;
}

std::vector<std::wstring> ModelLines(const officehost::CallLog& log) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : log.Lines())
        if (line.rfind(L"Host.", 0) != 0 && line.rfind(L"MessageBox ", 0) != 0) lines.push_back(line);
    return lines;
}

std::vector<std::wstring> MessageBoxes(const officehost::CallLog& log) {
    return log.LinesStartingWith(L"MessageBox ");
}

std::wstring MessageBoxLine(const std::wstring& caption, const std::wstring& text, UINT type) {
    wchar_t flags[16];
    std::swprintf(flags, 16, L"0x%08X", type);
    return L"MessageBox caption=\"" + caption + L"\" text=\"" + text + L"\" type=" + flags;
}

void AddinTest::TearDown() {
    host.reset();
    outlook.reset();
    testsupport::ComTest::TearDown();
}

HRESULT AddinTest::Connect() {
    outlook = std::make_unique<officehost::FakeOutlook>(switches, log);
    host = std::make_unique<officehost::AddinHost>(*outlook, log);
    return host->Connect(kProgId);
}

}  // namespace addintest
