// The base of every fake object: reference counting, IDispatch served by ITypeInfo::Invoke on the
// OfficeModel type library against the object's dual interface, and ISupportErrorInfo, so a member
// that fails with error info reaches late-bound callers as DISP_E_EXCEPTION with EXCEPINFO.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "ModelState.h"

namespace officehost {
namespace detail {

template <class Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
public:
    DispatchObject(std::shared_ptr<ModelState> state, REFIID iid) : state_(std::move(state)), iid_(iid) {}
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_) {
            *object = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *object = static_cast<ISupportErrorInfo*>(this);
        } else if (!(*object = QueryOther(iid))) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return state_->TypeInfoOf(iid_, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* info = nullptr;
        HRESULT hr = state_->TypeInfoOf(iid_, &info);
        if (FAILED(hr)) return hr;
        hr = info->GetIDsOfNames(names, count, ids);
        info->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) override {
        ITypeInfo* info = nullptr;
        HRESULT hr = state_->TypeInfoOf(iid_, &info);
        if (FAILED(hr)) return hr;
        ::SetErrorInfo(0, nullptr);
        hr = info->Invoke(static_cast<Interface*>(this), id, flags, params, result, excep, argErr);
        info->Release();
        return hr;
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == iid_ || iid == IID_IDispatch ? S_OK : S_FALSE;
    }

protected:
    virtual ~DispatchObject() = default;
    // Further interfaces of a derived object (not referenced yet), or null.
    virtual void* QueryOther(REFIID) { return nullptr; }

    ModelState& State() const { return *state_; }
    const std::shared_ptr<ModelState>& SharedState() const { return state_; }

private:
    std::shared_ptr<ModelState> state_;
    IID iid_;
    ULONG refs_ = 1;   // the creator's reference
};

}  // namespace detail
}  // namespace officehost
