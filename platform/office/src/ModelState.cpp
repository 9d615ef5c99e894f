#include "ModelState.h"

#include <stdexcept>

#include "ButtonObject.h"
#include "ModelObjects.h"
#include "TypeLibrary.h"

namespace officehost {
namespace detail {

ModelState::ModelState(const HostSwitches& switches, CallLog& log) : switches(switches), log(&log) {
    const HRESULT hr = LoadModelTypeLibrary(&typeLib);
    if (FAILED(hr)) throw std::runtime_error("cannot load OfficeModel.tlb beside the program");
}

ModelState::~ModelState() { Detach(); }

void ModelState::Log(const std::wstring& line) const {
    if (log) log->Add(line);
}

bool ModelState::Refuses(const std::wstring& kind, const std::wstring& member, size_t buttonNumber) const {
    const std::wstring& failing = switches.failingMember;
    if (failing.empty()) return false;
    if (failing == kind + L"." + member) return true;
    return buttonNumber != 0 && failing == kind + std::to_wstring(buttonNumber) + L"." + member;
}

HRESULT ModelState::Refuse(const std::wstring& line) const {
    Log(line + L" -> failed");
    SetErrorDescription(L"The mail client refused " + switches.failingMember + L".");
    return E_FAIL;
}

HRESULT ModelState::TypeInfoOf(REFIID iid, ITypeInfo** info) const {
    if (!typeLib) return E_UNEXPECTED;
    return typeLib->GetTypeInfoOfGuid(iid, info);
}

void ModelState::Detach() {
    std::vector<CComPtr<ButtonObject>> dropped;
    dropped.swap(buttons);
    for (CComPtr<ButtonObject>& button : dropped) {
        button->DropSinks();
        button.Release();
    }
    lastBar.Release();
}

void SetErrorDescription(const std::wstring& description, REFGUID iid) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(::CreateErrorInfo(&create))) return;
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    create->SetSource(const_cast<LPOLESTR>(L"OutlookHost"));
    create->SetGUID(iid);
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.QueryInterface(&info))) ::SetErrorInfo(0, info);
}

}  // namespace detail
}  // namespace officehost
