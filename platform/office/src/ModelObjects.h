// The containers of the fake model: the application, its explorer, the explorer's command bars,
// a command bar and the bar's controls. Buttons live in ButtonObject.h.
#pragma once

#include "DispatchObject.h"
#include "OfficeModel.h"

namespace officehost {
namespace detail {

class ButtonObject;

class ControlsObject final : public DispatchObject<CommandBarControls> {
public:
    explicit ControlsObject(std::shared_ptr<ModelState> state);

    HRESULT STDMETHODCALLTYPE Add(VARIANT type, VARIANT id, VARIANT parameter, VARIANT before, VARIANT temporary,
                                  IDispatch** control) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IDispatch** control) override;

private:
    ~ControlsObject() override;
    std::vector<CComPtr<ButtonObject>> controls_;   // in the order added
};

class CommandBarObject final : public DispatchObject<CommandBar> {
public:
    CommandBarObject(std::shared_ptr<ModelState> state, const std::wstring& name);

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_Controls(CommandBarControls** controls) override;
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* visible) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL visible) override;

    const std::wstring& Name() const { return name_; }
    bool Visible() const { return visible_; }

private:
    ~CommandBarObject() override;
    std::wstring name_;
    bool visible_ = false;
    CComPtr<ControlsObject> controls_;
};

class CommandBarsObject final : public DispatchObject<CommandBars> {
public:
    explicit CommandBarsObject(std::shared_ptr<ModelState> state);

    HRESULT STDMETHODCALLTYPE Add(VARIANT name, VARIANT position, VARIANT menuBar, VARIANT temporary,
                                  CommandBar** bar) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override;

private:
    LONG count_ = 0;
};

class ExplorerObject final : public DispatchObject<_Explorer> {
public:
    explicit ExplorerObject(std::shared_ptr<ModelState> state);

    HRESULT STDMETHODCALLTYPE get_CommandBars(CommandBars** bars) override;

private:
    ~ExplorerObject() override;
    CComPtr<CommandBarsObject> bars_;
};

class ApplicationObject final : public DispatchObject<_Application> {
public:
    explicit ApplicationObject(std::shared_ptr<ModelState> state);

    HRESULT STDMETHODCALLTYPE get_Version(BSTR* version) override;
    HRESULT STDMETHODCALLTYPE ActiveExplorer(_Explorer** explorer) override;

private:
    ~ApplicationObject() override;
    CComPtr<ExplorerObject> explorer_;   // made on first use
};

}  // namespace detail
}  // namespace officehost
