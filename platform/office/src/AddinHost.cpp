#include "AddinHost.h"

#include <memory>

#include "ComAddInObject.h"
#include "MessageBoxCapture.h"
#include "OfficeModel.h"
#include "Variants.h"

namespace officehost {

namespace {

const wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins";

// An empty one-dimensional SAFEARRAY of VARIANT, as the mail client passes for "custom".
class EmptyCustom {
public:
    EmptyCustom() : array_(::SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
    ~EmptyCustom() {
        if (array_) ::SafeArrayDestroy(array_);
    }
    EmptyCustom(const EmptyCustom&) = delete;
    EmptyCustom& operator=(const EmptyCustom&) = delete;
    SAFEARRAY** Get() { return &array_; }
    bool Valid() const { return array_ != nullptr; }

private:
    SAFEARRAY* array_;
};

// The module that serves a class in process, when it is loaded: found through its registered
// InprocServer32 path.
HMODULE ServerModuleOf(REFCLSID clsid) {
    wchar_t guid[40] = {};
    if (!::StringFromGUID2(clsid, guid, 40)) return nullptr;
    const std::wstring key = std::wstring(L"CLSID\\") + guid + L"\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    // RRF_RT_REG_SZ also reads REG_EXPAND_SZ values, expanded.
    if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS) {
        return nullptr;
    }
    if (HMODULE module = ::GetModuleHandleW(path)) return module;
    const std::wstring full(path);
    return ::GetModuleHandleW(full.substr(full.find_last_of(L"\\/") + 1).c_str());
}

// Creates the class in process and asks it for the add-in's connection interface.
HRESULT CreateAddin(REFCLSID clsid, CComPtr<_IDTExtensibility2>& addin) {
    CComPtr<IUnknown> unknown;
    const HRESULT hr =
        ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) return hr;
    return unknown->QueryInterface(IID__IDTExtensibility2, reinterpret_cast<void**>(&addin));
}

}  // namespace

AddinHost::AddinHost(FakeOutlook& outlook, CallLog& log) : outlook_(outlook), log_(log) {}

AddinHost::~AddinHost() { DisconnectAll(); }

void AddinHost::Log(const wchar_t* step, const std::wstring& progId, HRESULT hr) {
    log_.Add(std::wstring(L"Host.") + step + L" " + progId + L" -> " + detail::HResultText(hr));
}

std::vector<std::wstring> AddinHost::RegisteredAddins() {
    std::vector<std::wstring> progIds;
    HKEY addins = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) return progIds;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = 256;
        const LONG status = ::RegEnumKeyExW(addins, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;
        DWORD behavior = 0;
        DWORD size = sizeof behavior;
        if (::RegGetValueW(addins, name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behavior, &size) == ERROR_SUCCESS &&
            behavior == 3) {
            progIds.emplace_back(name, length);
        }
    }
    ::RegCloseKey(addins);
    return progIds;
}

HRESULT AddinHost::Connect(const std::wstring& progId) {
    CLSID clsid = {};
    HRESULT hr = ::CLSIDFromProgID(progId.c_str(), &clsid);
    CComPtr<_IDTExtensibility2> addin;
    if (SUCCEEDED(hr)) hr = CreateAddin(clsid, addin);
    if (FAILED(hr)) {
        Log(L"Connect", progId, hr);
        return hr;
    }
    if (HMODULE module = ServerModuleOf(clsid)) CaptureMessageBoxes(module, log_);

    const CComPtr<detail::ComAddInObject> entry = detail::MakeObject<detail::ComAddInObject>(outlook_.state_, progId);
    EmptyCustom custom;
    hr = custom.Valid() ? addin->OnConnection(outlook_.Application(), ext_cm_Startup, static_cast<COMAddIn*>(entry),
                                              custom.Get())
                        : E_OUTOFMEMORY;
    Log(L"Connect", progId, hr);
    if (FAILED(hr)) return hr;
    entry->SetConnected(true);
    connected_.push_back({progId, addin, entry});
    EmptyCustom startup;
    Log(L"OnStartupComplete", progId, startup.Valid() ? addin->OnStartupComplete(startup.Get()) : E_OUTOFMEMORY);
    return hr;
}

HRESULT AddinHost::ConnectAll() {
    HRESULT first = S_OK;
    for (const auto& progId : RegisteredAddins()) {
        const HRESULT hr = Connect(progId);
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    }
    return first;
}

HRESULT AddinHost::DisconnectAll() {
    std::vector<Connected> connected;
    connected.swap(connected_);
    HRESULT first = S_OK;
    auto note = [&first](HRESULT hr) {
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
        return hr;
    };
    // The shutdown notice is only a notice: add-ins may leave it unimplemented.
    for (const auto& addin : connected) {
        EmptyCustom custom;
        Log(L"OnBeginShutdown", addin.progId, custom.Valid() ? addin.addin->OnBeginShutdown(custom.Get()) : E_OUTOFMEMORY);
    }
    for (Connected& addin : connected) {
        EmptyCustom custom;
        Log(L"OnDisconnection", addin.progId,
            note(custom.Valid() ? addin.addin->OnDisconnection(ext_dm_HostShutdown, custom.Get()) : E_OUTOFMEMORY));
        addin.entry->SetConnected(false);
        // Each is let go of as soon as it is disconnected.
        addin.addin.Release();
        addin.entry.Release();
    }
    return first;
}

}  // namespace officehost
