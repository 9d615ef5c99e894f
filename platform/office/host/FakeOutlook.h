// The fake mail client object graph: Application -> ActiveExplorer -> CommandBars -> CommandBar
// -> Controls -> buttons. Every object serves IDispatch through the OfficeModel type library
// (loaded from OfficeModel.tlb beside the running program, never registered) and logs each call.
// Lives in one single-threaded apartment.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atlbase.h>

#include <memory>
#include <string>

#include "CallLog.h"

namespace officehost {

struct HostSwitches {
    std::wstring version = L"11.0";   // Application.Version text
    bool noActiveExplorer = false;     // ActiveExplorer answers S_OK and null (started for automation)
    // "Kind.Member" (for example "CommandBars.Add" or "Button.Caption"), or one button only
    // ("Button3.Style"): that member answers E_FAIL with error info whose description is
    // "The mail client refused <failingMember>."
    std::wstring failingMember;
};

namespace detail {
struct ModelState;
}

class FakeOutlook {
public:
    // Throws std::runtime_error when the type library cannot be loaded.
    FakeOutlook(const HostSwitches& switches, CallLog& log);
    ~FakeOutlook();
    FakeOutlook(const FakeOutlook&) = delete;
    FakeOutlook& operator=(const FakeOutlook&) = delete;

    IDispatch* Application() const;   // borrowed; serves IDispatch and _Application

    bool HasBar() const;              // the last bar added through CommandBars.Add
    std::wstring BarName() const;
    bool BarVisible() const;

    struct ButtonState {
        std::wstring caption, tooltip, tag, parameter;
        long faceId = 0;
        bool visible = false, enabled = false;
        long style = 0;
        SIZE picture = {0, 0}, mask = {0, 0};   // bitmap sizes, 0 when none set
        size_t sinks = 0;
    };
    size_t ButtonCount() const;
    ButtonState Button(size_t index) const;   // 0-based, creation order; throws std::out_of_range
    // Fires Click(Ctrl, &cancel) on every sink advised on the button; returns the sinks reached.
    size_t Click(size_t index);
    void SetParameter(size_t index, const std::wstring& text);

private:
    friend class AddinHost;   // hands the model's state to the COMAddIn objects it makes
    std::shared_ptr<detail::ModelState> state_;
    CComPtr<IDispatch> application_;
};

}  // namespace officehost
