// Loads add-ins into a FakeOutlook as the mail client does: from the registered add-ins key,
// through their _IDTExtensibility2 connection interface.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include <string>
#include <vector>

#include "CallLog.h"
#include "FakeOutlook.h"

struct _IDTExtensibility2;

namespace officehost {

namespace detail {
class ComAddInObject;
}

class AddinHost {
public:
    AddinHost(FakeOutlook& outlook, CallLog& log);
    ~AddinHost();   // disconnects whatever is still connected
    AddinHost(const AddinHost&) = delete;
    AddinHost& operator=(const AddinHost&) = delete;

    // ProgIDs under HKCU\Software\Microsoft\Office\Outlook\Addins whose LoadBehavior DWORD is 3.
    static std::vector<std::wstring> RegisteredAddins();

    // Creates the add-in in process, captures its module's message boxes and calls OnConnection
    // (then OnStartupComplete). Kept on success, released on failure. Returns OnConnection's HRESULT,
    // or the failure of creating it.
    HRESULT Connect(const std::wstring& progId);
    // Every registered add-in; the first failure is returned, the others are still tried.
    HRESULT ConnectAll();
    // OnBeginShutdown on every connected add-in, then OnDisconnection on each; then releases them.
    // Returns the first failure of OnDisconnection (the shutdown notice may be unimplemented).
    HRESULT DisconnectAll();

private:
    struct Connected {
        std::wstring progId;
        CComPtr<_IDTExtensibility2> addin;
        CComPtr<detail::ComAddInObject> entry;   // the COMAddIn handed to it
    };
    void Log(const wchar_t* step, const std::wstring& progId, HRESULT hr);

    FakeOutlook& outlook_;
    CallLog& log_;
    std::vector<Connected> connected_;
};

}  // namespace officehost
