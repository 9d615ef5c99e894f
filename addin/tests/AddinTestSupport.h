// What the add-in's tests share: the fake mail client with the add-in connected to it, the
// satellite library's texts, and the log lines the add-in's calls leave.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "OfficeHost.h"

namespace addintest {

extern const wchar_t kProgId[];

// A text of the English satellite library.
std::wstring SatelliteText(UINT id);

// The log lines the add-in's calls left on the fake objects (without the host's own lines).
std::vector<std::wstring> ModelLines(const officehost::CallLog& log);
std::vector<std::wstring> MessageBoxes(const officehost::CallLog& log);
// A message box line as the host records it.
std::wstring MessageBoxLine(const std::wstring& caption, const std::wstring& text, UINT type);

// A fake mail client in a test's apartment, with the add-in connected on demand.
class AddinTest : public testsupport::ComTest {
protected:
    void TearDown() override;
    // Connects the registered add-in; returns OnConnection's result.
    HRESULT Connect();

    officehost::HostSwitches switches;
    officehost::CallLog log;
    std::unique_ptr<officehost::FakeOutlook> outlook;
    std::unique_ptr<officehost::AddinHost> host;
};

}  // namespace addintest
