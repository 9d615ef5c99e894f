// A command bar button: its properties, and the Click event that it fires to the dispatch sinks
// advised on its one connection point (_CommandBarButtonEvents).
#pragma once

#include <ocidl.h>

#include <utility>
#include <vector>

#include "DispatchObject.h"
#include "OfficeModel.h"

namespace officehost {
namespace detail {

class ButtonObject final : public DispatchObject<_CommandBarButton>, public IConnectionPointContainer {
public:
    // number: 1-based, in creation order; the button is "Button<number>" in the log.
    ButtonObject(std::shared_ptr<ModelState> state, size_t number, const std::wstring& parameter);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }

    // _CommandBarButton
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_TooltipText(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_TooltipText(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Tag(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Tag(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_FaceId(LONG* value) override;
    HRESULT STDMETHODCALLTYPE put_FaceId(LONG value) override;
    HRESULT STDMETHODCALLTYPE get_Picture(IPictureDisp** value) override;
    HRESULT STDMETHODCALLTYPE put_Picture(IPictureDisp* value) override;
    HRESULT STDMETHODCALLTYPE get_Mask(IPictureDisp** value) override;
    HRESULT STDMETHODCALLTYPE put_Mask(IPictureDisp* value) override;
    HRESULT STDMETHODCALLTYPE get_Style(LONG* value) override;
    HRESULT STDMETHODCALLTYPE put_Style(LONG value) override;
    HRESULT STDMETHODCALLTYPE get_Parameter(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE put_Parameter(BSTR value) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    const std::wstring& Name() const { return name_; }
    FakeOutlook::ButtonState Snapshot() const;
    void SetParameter(const std::wstring& text) { parameter_ = text; }
    // Calls Click(Ctrl, &CancelDefault) on every advised sink; returns the number of sinks called.
    size_t FireClick();
    // Lets go of the sinks and pictures (the model is going away).
    void DropSinks();

private:
    // The button's one connection point; it shares the button's reference count.
    class EventPoint final : public IConnectionPoint {
    public:
        explicit EventPoint(ButtonObject& button) : button_(button) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return button_.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return button_.Release(); }
        HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
        HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
        HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
        HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
        HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    private:
        ButtonObject& button_;
    };

    using Sink = std::pair<DWORD, CComPtr<IDispatch>>;   // cookie, sink

    ~ButtonObject() override;
    void* QueryOther(REFIID iid) override;

    bool Refuses(const wchar_t* member) const { return State().Refuses(L"Button", member, number_); }
    std::wstring Line(const wchar_t* member) const { return name_ + L"." + member; }
    HRESULT GetText(const wchar_t* member, const std::wstring& text, BSTR* value);
    HRESULT PutText(const wchar_t* member, BSTR value, std::wstring* text);
    HRESULT GetFlag(const wchar_t* member, bool flag, VARIANT_BOOL* value);
    HRESULT PutFlag(const wchar_t* member, VARIANT_BOOL value, bool* flag);
    HRESULT GetNumber(const wchar_t* member, LONG number, LONG* value);
    HRESULT PutNumber(const wchar_t* member, LONG value, LONG* number);
    HRESULT GetPicture(const wchar_t* member, const CComPtr<IPictureDisp>& picture, IPictureDisp** value);
    HRESULT PutPicture(const wchar_t* member, IPictureDisp* value, CComPtr<IPictureDisp>& picture, SIZE* size);

    size_t number_;
    std::wstring name_;
    std::wstring caption_, tooltip_, tag_, parameter_;
    LONG faceId_ = 0, style_ = 0;
    bool visible_ = false, enabled_ = false;
    CComPtr<IPictureDisp> picture_;
    CComPtr<IPictureDisp> mask_;
    SIZE pictureSize_ = {0, 0}, maskSize_ = {0, 0};
    EventPoint events_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace detail
}  // namespace officehost
