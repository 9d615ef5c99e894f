#include "ButtonObject.h"

#include <olectl.h>

#include "Variants.h"

namespace officehost {
namespace detail {

ButtonObject::ButtonObject(std::shared_ptr<ModelState> state, size_t number, const std::wstring& parameter)
    : DispatchObject(std::move(state), IID__CommandBarButton),
      number_(number),
      name_(L"Button" + std::to_wstring(number)),
      parameter_(parameter),
      events_(*this) {}

ButtonObject::~ButtonObject() { DropSinks(); }

HRESULT ButtonObject::QueryInterface(REFIID iid, void** object) { return DispatchObject::QueryInterface(iid, object); }

void* ButtonObject::QueryOther(REFIID iid) {
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
}

void ButtonObject::DropSinks() {
    // Off the button before any is released: a sink's release may call back into it.
    std::vector<Sink> sinks;
    sinks.swap(sinks_);
    sinks.clear();
    picture_.Release();
    mask_.Release();
}

FakeOutlook::ButtonState ButtonObject::Snapshot() const {
    FakeOutlook::ButtonState state;
    state.caption = caption_;
    state.tooltip = tooltip_;
    state.tag = tag_;
    state.parameter = parameter_;
    state.faceId = faceId_;
    state.visible = visible_;
    state.enabled = enabled_;
    state.style = style_;
    state.picture = pictureSize_;
    state.mask = maskSize_;
    state.sinks = sinks_.size();
    return state;
}

size_t ButtonObject::FireClick() {
    State().Log(name_ + L".Click");
    // A sink may unadvise while it handles the click: call the ones advised now.
    std::vector<CComPtr<IDispatch>> sinks;
    for (const Sink& sink : sinks_) sinks.push_back(sink.second);
    const CComPtr<_CommandBarButton> self(this);   // alive while the sinks run
    size_t reached = 0;
    for (CComPtr<IDispatch>& advised : sinks) {
        const CComPtr<IDispatch> sink = std::move(advised);   // let go of once called
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT args[2];
        ::VariantInit(&args[0]);
        ::VariantInit(&args[1]);
        args[1].vt = VT_DISPATCH;   // Ctrl
        args[1].pdispVal = static_cast<_CommandBarButton*>(this);
        args[0].vt = VT_BOOL | VT_BYREF;   // CancelDefault
        args[0].pboolVal = &cancel;
        DISPPARAMS params = {args, nullptr, 2, 0};
        EXCEPINFO excep = {};
        UINT argErr = 0;
        sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &excep, &argErr);
        ::SysFreeString(excep.bstrSource);
        ::SysFreeString(excep.bstrDescription);
        ::SysFreeString(excep.bstrHelpFile);
        ++reached;
    }
    return reached;
}

// --- property helpers ---

HRESULT ButtonObject::GetText(const wchar_t* member, const std::wstring& text, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (Refuses(member)) return State().Refuse(Line(member));
    State().Log(Line(member) + L" -> " + Quoted(text));
    *value = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT ButtonObject::PutText(const wchar_t* member, BSTR value, std::wstring* text) {
    const std::wstring line = Line(member) + L"=" + Quoted(value);
    if (Refuses(member)) return State().Refuse(line);
    text->assign(value ? value : L"", value ? ::SysStringLen(value) : 0);
    State().Log(line);
    return S_OK;
}

HRESULT ButtonObject::GetFlag(const wchar_t* member, bool flag, VARIANT_BOOL* value) {
    if (!value) return E_POINTER;
    if (Refuses(member)) return State().Refuse(Line(member));
    *value = flag ? VARIANT_TRUE : VARIANT_FALSE;
    State().Log(Line(member) + L" -> " + BoolText(*value));
    return S_OK;
}

HRESULT ButtonObject::PutFlag(const wchar_t* member, VARIANT_BOOL value, bool* flag) {
    const std::wstring line = Line(member) + L"=" + BoolText(value);
    if (Refuses(member)) return State().Refuse(line);
    *flag = value != VARIANT_FALSE;
    State().Log(line);
    return S_OK;
}

HRESULT ButtonObject::GetNumber(const wchar_t* member, LONG number, LONG* value) {
    if (!value) return E_POINTER;
    if (Refuses(member)) return State().Refuse(Line(member));
    *value = number;
    State().Log(Line(member) + L" -> " + std::to_wstring(number));
    return S_OK;
}

HRESULT ButtonObject::PutNumber(const wchar_t* member, LONG value, LONG* number) {
    const std::wstring line = Line(member) + L"=" + std::to_wstring(value);
    if (Refuses(member)) return State().Refuse(line);
    *number = value;
    State().Log(line);
    return S_OK;
}

HRESULT ButtonObject::GetPicture(const wchar_t* member, const CComPtr<IPictureDisp>& picture, IPictureDisp** value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (Refuses(member)) return State().Refuse(Line(member));
    SIZE size;
    State().Log(Line(member) + L" -> " + PictureText(picture, &size));
    HandOut(picture, value);
    return S_OK;
}

HRESULT ButtonObject::PutPicture(const wchar_t* member, IPictureDisp* value, CComPtr<IPictureDisp>& picture, SIZE* size) {
    SIZE measured;
    const std::wstring line = Line(member) + L"=" + PictureText(value, &measured);
    if (Refuses(member)) return State().Refuse(line);
    // Keep what the add-in set: it may release its own reference right away.
    picture = value;
    *size = measured;
    State().Log(line);
    return S_OK;
}

// --- _CommandBarButton ---

HRESULT ButtonObject::get_Visible(VARIANT_BOOL* value) { return GetFlag(L"Visible", visible_, value); }
HRESULT ButtonObject::put_Visible(VARIANT_BOOL value) { return PutFlag(L"Visible", value, &visible_); }
HRESULT ButtonObject::get_Caption(BSTR* value) { return GetText(L"Caption", caption_, value); }
HRESULT ButtonObject::put_Caption(BSTR value) { return PutText(L"Caption", value, &caption_); }
HRESULT ButtonObject::get_Enabled(VARIANT_BOOL* value) { return GetFlag(L"Enabled", enabled_, value); }
HRESULT ButtonObject::put_Enabled(VARIANT_BOOL value) { return PutFlag(L"Enabled", value, &enabled_); }
HRESULT ButtonObject::get_TooltipText(BSTR* value) { return GetText(L"TooltipText", tooltip_, value); }
HRESULT ButtonObject::put_TooltipText(BSTR value) { return PutText(L"TooltipText", value, &tooltip_); }
HRESULT ButtonObject::get_Tag(BSTR* value) { return GetText(L"Tag", tag_, value); }
HRESULT ButtonObject::put_Tag(BSTR value) { return PutText(L"Tag", value, &tag_); }
HRESULT ButtonObject::get_FaceId(LONG* value) { return GetNumber(L"FaceId", faceId_, value); }
HRESULT ButtonObject::put_FaceId(LONG value) { return PutNumber(L"FaceId", value, &faceId_); }
HRESULT ButtonObject::get_Picture(IPictureDisp** value) { return GetPicture(L"Picture", picture_, value); }
HRESULT ButtonObject::put_Picture(IPictureDisp* value) { return PutPicture(L"Picture", value, picture_, &pictureSize_); }
HRESULT ButtonObject::get_Mask(IPictureDisp** value) { return GetPicture(L"Mask", mask_, value); }
HRESULT ButtonObject::put_Mask(IPictureDisp* value) { return PutPicture(L"Mask", value, mask_, &maskSize_); }
HRESULT ButtonObject::get_Style(LONG* value) { return GetNumber(L"Style", style_, value); }
HRESULT ButtonObject::put_Style(LONG value) { return PutNumber(L"Style", value, &style_); }
HRESULT ButtonObject::get_Parameter(BSTR* value) { return GetText(L"Parameter", parameter_, value); }
HRESULT ButtonObject::put_Parameter(BSTR value) { return PutText(L"Parameter", value, &parameter_); }

// --- IConnectionPointContainer ---

HRESULT ButtonObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT ButtonObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != DIID__CommandBarButtonEvents) return CONNECT_E_NOCONNECTION;
    events_.AddRef();
    *point = &events_;
    return S_OK;
}

// --- the connection point ---

HRESULT ButtonObject::EventPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT ButtonObject::EventPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID__CommandBarButtonEvents;
    return S_OK;
}

HRESULT ButtonObject::EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    button_.AddRef();
    *container = &button_;
    return S_OK;
}

HRESULT ButtonObject::EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    const std::wstring line = button_.Line(L"Advise");
    if (button_.Refuses(L"Advise")) return button_.State().Refuse(line);
    CComPtr<IDispatch> events;
    if (!sink || FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&events))) || !events) {
        button_.State().Log(line + L" -> failed");
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = button_.nextCookie_++;
    button_.sinks_.emplace_back(*cookie, std::move(events));
    button_.State().Log(line);
    return S_OK;
}

HRESULT ButtonObject::EventPoint::Unadvise(DWORD cookie) {
    const std::wstring line = button_.Line(L"Unadvise");
    if (button_.Refuses(L"Unadvise")) return button_.State().Refuse(line);
    auto& sinks = button_.sinks_;
    for (auto it = sinks.begin(); it != sinks.end(); ++it) {
        if (it->first != cookie) continue;
        const CComPtr<IDispatch> events = std::move(it->second);   // released once the call is logged
        sinks.erase(it);
        button_.State().Log(line);
        return S_OK;
    }
    button_.State().Log(line + L" -> failed");
    return CONNECT_E_NOCONNECTION;
}

HRESULT ButtonObject::EventPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

}  // namespace detail
}  // namespace officehost
