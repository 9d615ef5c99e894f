// What every object of one fake model shares: the switches, the log, the type library and the
// list of buttons. Objects hold it through shared_ptr, so an object the add-in keeps past the
// FakeOutlook stays safe to call (it then logs nothing).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atlbase.h>

#include <string>
#include <vector>

#include "FakeOutlook.h"

namespace officehost {
namespace detail {

class ButtonObject;
class CommandBarObject;

struct ModelState {
    ModelState(const HostSwitches& switches, CallLog& log);
    ~ModelState();

    HostSwitches switches;
    CallLog* log;                          // null once the FakeOutlook is gone
    CComPtr<ITypeLib> typeLib;
    std::vector<CComPtr<ButtonObject>> buttons;   // creation order
    CComPtr<CommandBarObject> lastBar;

    void Log(const std::wstring& line) const;
    // True when the switches make "kind.member" fail; button members also match "Button<number>.member".
    bool Refuses(const std::wstring& kind, const std::wstring& member, size_t buttonNumber = 0) const;
    // Logs "line -> failed", leaves the refusal's error info on the thread and returns E_FAIL.
    HRESULT Refuse(const std::wstring& line) const;
    HRESULT TypeInfoOf(REFIID iid, ITypeInfo** info) const;
    // Drops the objects the state keeps, breaking any cycle through an add-in's sinks.
    void Detach();
};

// Leaves an error info with the description (and the source, when given) on the thread.
void SetErrorDescription(const std::wstring& description, REFGUID iid = GUID_NULL);

}  // namespace detail
}  // namespace officehost
