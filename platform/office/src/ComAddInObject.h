// The add-in as the mail client lists it, handed to OnConnection: its ProgID and description.
#pragma once

#include "DispatchObject.h"
#include "OfficeModel.h"

namespace officehost {
namespace detail {

class ComAddInObject final : public DispatchObject<COMAddIn> {
public:
    ComAddInObject(std::shared_ptr<ModelState> state, const std::wstring& progId);

    HRESULT STDMETHODCALLTYPE get_Description(BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_ProgId(BSTR* progId) override;
    HRESULT STDMETHODCALLTYPE get_Connect(VARIANT_BOOL* connected) override;

    void SetConnected(bool connected) { connected_ = connected; }

private:
    std::wstring progId_;
    bool connected_ = false;
};

}  // namespace detail
}  // namespace officehost
