#include "ComAddInObject.h"

#include "Variants.h"

namespace officehost {
namespace detail {

ComAddInObject::ComAddInObject(std::shared_ptr<ModelState> state, const std::wstring& progId)
    : DispatchObject(std::move(state), IID_COMAddIn), progId_(progId) {}

HRESULT ComAddInObject::get_Description(BSTR* description) {
    if (!description) return E_POINTER;
    if (State().Refuses(L"AddIn", L"Description")) return State().Refuse(L"AddIn.Description");
    State().Log(L"AddIn.Description -> " + Quoted(progId_));
    *description = ::SysAllocString(progId_.c_str());
    return *description ? S_OK : E_OUTOFMEMORY;
}

HRESULT ComAddInObject::get_ProgId(BSTR* progId) {
    if (!progId) return E_POINTER;
    if (State().Refuses(L"AddIn", L"ProgId")) return State().Refuse(L"AddIn.ProgId");
    State().Log(L"AddIn.ProgId -> " + Quoted(progId_));
    *progId = ::SysAllocString(progId_.c_str());
    return *progId ? S_OK : E_OUTOFMEMORY;
}

HRESULT ComAddInObject::get_Connect(VARIANT_BOOL* connected) {
    if (!connected) return E_POINTER;
    if (State().Refuses(L"AddIn", L"Connect")) return State().Refuse(L"AddIn.Connect");
    *connected = connected_ ? VARIANT_TRUE : VARIANT_FALSE;
    State().Log(L"AddIn.Connect -> " + BoolText(*connected));
    return S_OK;
}

}  // namespace detail
}  // namespace officehost
