// The base of every fake object: reference counting, IDispatch served by ITypeInfo::Invoke on the
// OfficeModel type library against the object's dual interface, and ISupportErrorInfo, so a member
// that fails with error info reaches late-bound callers as DISP_E_EXCEPTION with EXCEPINFO.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atlbase.h>

#include <memory>
#include <utility>

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
        CComPtr<ITypeInfo> info;
        const HRESULT hr = state_->TypeInfoOf(iid_, &info);
        if (FAILED(hr)) return hr;
        return info->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) override {
        CComPtr<ITypeInfo> info;
        const HRESULT hr = state_->TypeInfoOf(iid_, &info);
        if (FAILED(hr)) return hr;
        ::SetErrorInfo(0, nullptr);
        return info->Invoke(static_cast<Interface*>(this), id, flags, params, result, excep, argErr);
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

// A new object of the model, held by its creator's reference.
template <class Object, class... Args>
CComPtr<Object> MakeObject(Args&&... args) {
    CComPtr<Object> made;
    made.Attach(new Object(std::forward<Args>(args)...));
    return made;
}

// Gives the caller a reference of its own to a held object (null when none is held).
template <class Object, class Out>
void HandOut(const CComPtr<Object>& held, Out** out) {
    *out = CComPtr<Object>(held).Detach();
}

}  // namespace detail
}  // namespace officehost
