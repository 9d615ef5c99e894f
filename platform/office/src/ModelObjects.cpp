#include "ModelObjects.h"

#include "ButtonObject.h"
#include "Variants.h"

namespace officehost {
namespace detail {

namespace {

// The text of an optional argument (empty when left out), or false when it has none.
bool TextOf(const VARIANT& value, std::wstring* text) {
    text->clear();
    if (IsMissing(value)) return true;
    CComVariant converted;
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR))) return false;
    text->assign(converted.bstrVal, ::SysStringLen(converted.bstrVal));
    return true;
}

// The number of an optional argument, or fallback when left out; false when it has none.
bool NumberOf(const VARIANT& value, LONG fallback, LONG* number) {
    *number = fallback;
    if (IsMissing(value)) return true;
    CComVariant converted;
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_I4))) return false;
    *number = converted.lVal;
    return true;
}

HRESULT Invalid(const std::shared_ptr<ModelState>& state, const std::wstring& line, const std::wstring& why) {
    state->Log(line + L" -> failed");
    SetErrorDescription(why);
    return E_INVALIDARG;
}

}  // namespace

// --- Controls ---

ControlsObject::ControlsObject(std::shared_ptr<ModelState> state)
    : DispatchObject(std::move(state), IID_CommandBarControls) {}

ControlsObject::~ControlsObject() = default;

HRESULT ControlsObject::Add(VARIANT type, VARIANT id, VARIANT parameter, VARIANT before, VARIANT temporary,
                            IDispatch** control) {
    if (!control) return E_POINTER;
    *control = nullptr;
    const std::wstring line = L"Controls.Add(Type=" + VariantText(type) + L", Id=" + VariantText(id) +
                              L", Parameter=" + VariantText(parameter) + L", Before=" + VariantText(before) +
                              L", Temporary=" + VariantText(temporary) + L")";
    if (State().Refuses(L"Controls", L"Add")) return State().Refuse(line);
    LONG kind = 0;
    if (!NumberOf(type, 1, &kind) || kind != 1) {
        return Invalid(SharedState(), line, L"The mail client only adds buttons (Type 1) here.");
    }
    std::wstring parameterText;
    if (!TextOf(parameter, &parameterText)) {
        return Invalid(SharedState(), line, L"The Parameter of a new control must be text.");
    }
    const size_t number = State().buttons.size() + 1;
    CComPtr<ButtonObject> button = MakeObject<ButtonObject>(SharedState(), number, parameterText);
    State().buttons.push_back(button);
    controls_.push_back(button);
    State().Log(line + L" -> " + button->Name());
    *control = button.Detach();   // the creator's reference
    return S_OK;
}

HRESULT ControlsObject::get_Count(LONG* count) {
    if (!count) return E_POINTER;
    if (State().Refuses(L"Controls", L"Count")) return State().Refuse(L"Controls.Count");
    *count = static_cast<LONG>(controls_.size());
    State().Log(L"Controls.Count -> " + std::to_wstring(*count));
    return S_OK;
}

HRESULT ControlsObject::get_Item(VARIANT index, IDispatch** control) {
    if (!control) return E_POINTER;
    *control = nullptr;
    const std::wstring line = L"Controls.Item(" + VariantText(index) + L")";
    if (State().Refuses(L"Controls", L"Item")) return State().Refuse(line);
    LONG position = 0;
    if (!NumberOf(index, 0, &position) || position < 1 || static_cast<size_t>(position) > controls_.size()) {
        State().Log(line + L" -> failed");
        SetErrorDescription(L"The bar has no control at that index.");
        return DISP_E_BADINDEX;
    }
    const CComPtr<ButtonObject>& button = controls_[position - 1];
    HandOut(button, control);
    State().Log(line + L" -> " + button->Name());
    return S_OK;
}

// --- CommandBar ---

CommandBarObject::CommandBarObject(std::shared_ptr<ModelState> state, const std::wstring& name)
    : DispatchObject(state, IID_CommandBar), name_(name), controls_(MakeObject<ControlsObject>(state)) {}

CommandBarObject::~CommandBarObject() = default;

HRESULT CommandBarObject::get_Name(BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (State().Refuses(L"CommandBar", L"Name")) return State().Refuse(L"CommandBar.Name");
    State().Log(L"CommandBar.Name -> " + Quoted(name_));
    *name = ::SysAllocString(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT CommandBarObject::get_Controls(CommandBarControls** controls) {
    if (!controls) return E_POINTER;
    *controls = nullptr;
    if (State().Refuses(L"CommandBar", L"Controls")) return State().Refuse(L"CommandBar.Controls");
    State().Log(L"CommandBar.Controls");
    HandOut(controls_, controls);
    return S_OK;
}

HRESULT CommandBarObject::get_Visible(VARIANT_BOOL* visible) {
    if (!visible) return E_POINTER;
    if (State().Refuses(L"CommandBar", L"Visible")) return State().Refuse(L"CommandBar.Visible");
    *visible = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
    State().Log(L"CommandBar.Visible -> " + BoolText(*visible));
    return S_OK;
}

HRESULT CommandBarObject::put_Visible(VARIANT_BOOL visible) {
    const std::wstring line = L"CommandBar.Visible=" + BoolText(visible);
    if (State().Refuses(L"CommandBar", L"Visible")) return State().Refuse(line);
    visible_ = visible != VARIANT_FALSE;
    State().Log(line);
    return S_OK;
}

// --- CommandBars ---

CommandBarsObject::CommandBarsObject(std::shared_ptr<ModelState> state)
    : DispatchObject(std::move(state), IID_CommandBars) {}

HRESULT CommandBarsObject::Add(VARIANT name, VARIANT position, VARIANT menuBar, VARIANT temporary, CommandBar** bar) {
    if (!bar) return E_POINTER;
    *bar = nullptr;
    const std::wstring line = L"CommandBars.Add(Name=" + VariantText(name) + L", Position=" + VariantText(position) +
                              L", MenuBar=" + VariantText(menuBar) + L", Temporary=" + VariantText(temporary) + L")";
    if (State().Refuses(L"CommandBars", L"Add")) return State().Refuse(line);
    std::wstring barName;
    if (!TextOf(name, &barName)) return Invalid(SharedState(), line, L"The Name of a new bar must be text.");
    if (barName.empty()) barName = L"Custom " + std::to_wstring(count_ + 1);
    CComPtr<CommandBarObject> made = MakeObject<CommandBarObject>(SharedState(), barName);
    ++count_;
    State().lastBar = made;
    State().Log(line);
    *bar = made.Detach();   // the creator's reference
    return S_OK;
}

HRESULT CommandBarsObject::get_Count(LONG* count) {
    if (!count) return E_POINTER;
    if (State().Refuses(L"CommandBars", L"Count")) return State().Refuse(L"CommandBars.Count");
    *count = count_;
    State().Log(L"CommandBars.Count -> " + std::to_wstring(count_));
    return S_OK;
}

// --- Explorer ---

ExplorerObject::ExplorerObject(std::shared_ptr<ModelState> state)
    : DispatchObject(state, IID__Explorer), bars_(MakeObject<CommandBarsObject>(state)) {}

ExplorerObject::~ExplorerObject() = default;

HRESULT ExplorerObject::get_CommandBars(CommandBars** bars) {
    if (!bars) return E_POINTER;
    *bars = nullptr;
    if (State().Refuses(L"Explorer", L"CommandBars")) return State().Refuse(L"Explorer.CommandBars");
    State().Log(L"Explorer.CommandBars");
    HandOut(bars_, bars);
    return S_OK;
}

// --- Application ---

ApplicationObject::ApplicationObject(std::shared_ptr<ModelState> state)
    : DispatchObject(std::move(state), IID__Application) {}

ApplicationObject::~ApplicationObject() = default;

HRESULT ApplicationObject::get_Version(BSTR* version) {
    if (!version) return E_POINTER;
    *version = nullptr;
    if (State().Refuses(L"Application", L"Version")) return State().Refuse(L"Application.Version");
    State().Log(L"Application.Version -> " + Quoted(State().switches.version));
    *version = ::SysAllocString(State().switches.version.c_str());
    return *version ? S_OK : E_OUTOFMEMORY;
}

HRESULT ApplicationObject::ActiveExplorer(_Explorer** explorer) {
    if (!explorer) return E_POINTER;
    *explorer = nullptr;
    if (State().Refuses(L"Application", L"ActiveExplorer")) return State().Refuse(L"Application.ActiveExplorer");
    State().Log(L"Application.ActiveExplorer");
    // Started for automation only, the mail client has no explorer window.
    if (State().switches.noActiveExplorer) return S_OK;
    if (!explorer_) explorer_ = MakeObject<ExplorerObject>(SharedState());
    HandOut(explorer_, explorer);
    return S_OK;
}

}  // namespace detail
}  // namespace officehost
