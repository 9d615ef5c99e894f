#include "Addin.h"

#include <cwchar>
#include <string>

#include "ButtonPicture.h"
#include "OfficeCalls.h"
#include "PluginUi.h"
#include "resource.h"

namespace {

const long kBarTop = 1;
const long kControlButton = 1;
const long kButtonIconAndCaption = 3;
const int kFirstVersionWithPictures = 10;

}  // namespace

STDMETHODIMP CExtensibilityDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CExtensibilityDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CExtensibilityDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CExtensibilityDispatch::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

void CAddin::FinalRelease() {
    m_holders.clear();
    m_application.Release();
}

int CAddin::MajorVersion(const wchar_t* versionText) {
    if (!versionText) return 0;
    const std::wstring text(versionText);
    return _wtoi(text.substr(0, text.find(L'.')).c_str());
}

STDMETHODIMP CAddin::OnConnection(IDispatch* Application, ext_ConnectMode, IDispatch*, SAFEARRAY**) {
    if (!Application) return E_POINTER;
    m_holders.clear();  // a second connection starts afresh
    m_application.Release();
    HRESULT hr = Application->QueryInterface(IID__Application, reinterpret_cast<void**>(&m_application));
    if (FAILED(hr)) return hr;  // not the mail client

    CComPtr<IDispatch> commandBars;
    try {
        CComVariant version = office::Get(m_application, L"Version");
        hr = ::VariantChangeType(&version, &version, 0, VT_BSTR);
        if (FAILED(hr)) return hr;
        m_majorVersion = MajorVersion(version.bstrVal);

        // Started for automation, the mail client has no explorer window: nothing to add a bar to.
        CComPtr<IDispatch> explorer = office::GetObject(m_application, L"ActiveExplorer");
        if (!explorer) return S_OK;
        commandBars = office::GetObject(explorer, L"CommandBars");
        if (!commandBars) return E_NOINTERFACE;
    } catch (const _com_error& error) {
        return error.Error();
    }

    try {
        AddToolbar(commandBars);
    } catch (const _com_error& error) {
        return ReportAddinComError(error);
    }
    return S_OK;
}

void CAddin::AddToolbar(IDispatch* commandBars) {
    CComVariant name(LoadPluginText(IDS_PLUGIN_NAME).c_str());
    CComVariant bar = office::Call(commandBars, L"Add",
                                   {name, CComVariant(kBarTop), office::Missing(), office::Short(-1)});
    if (bar.vt != VT_DISPATCH || !bar.pdispVal) office::Raise(E_NOINTERFACE);

    CComPtr<IDispatch> controls = office::GetObject(bar.pdispVal, L"Controls");
    if (!controls) office::Raise(E_NOINTERFACE);
    for (const ButtonRow& row : ButtonTable) AddButton(controls, row);

    office::Put(bar.pdispVal, L"Visible", CComVariant(true));
}

void CAddin::AddButton(IDispatch* controls, const ButtonRow& row) {
    CComVariant control = office::Call(controls, L"Add",
                                       {CComVariant(kControlButton), CComVariant(1L), CComVariant(row.parameter),
                                        office::Missing(), office::Short(0)});
    CComPtr<IDispatch> button;
    HRESULT hr = E_NOINTERFACE;
    if (control.vt == VT_DISPATCH && control.pdispVal)
        hr = control.pdispVal->QueryInterface(IID__CommandBarButton, reinterpret_cast<void**>(&button));
    if (FAILED(hr)) office::Raise(hr);

    const std::wstring caption = LoadPluginText(row.caption);
    const std::wstring tooltip = LoadPluginText(row.tooltip);
    office::Put(button, L"Visible", CComVariant(true));
    office::Put(button, L"Caption", CComVariant(caption.c_str()));
    office::Put(button, L"Enabled", CComVariant(true));
    office::Put(button, L"TooltipText", CComVariant(tooltip.c_str()));
    office::Put(button, L"Tag", CComVariant(caption.c_str()));

    if (m_majorVersion < kFirstVersionWithPictures) {
        try {
            office::Put(button, L"FaceId", CComVariant(row.faceId));
        } catch (const _com_error&) {
            // an older mail client without that face keeps the caption alone
        }
    } else {
        // The button keeps what it needs of each picture; ours are released here.
        office::Put(button, L"Picture", office::Object(LoadButtonPicture(row.picture)));
        office::Put(button, L"Mask", office::Object(LoadButtonPicture(row.mask)));
    }
    office::Put(button, L"Style", CComVariant(kButtonIconAndCaption));

    CComPtr<IButtonHolder> holder;
    hr = holder.CoCreateInstance(CLSID_ButtonHolder, nullptr, CLSCTX_ALL);
    if (FAILED(hr) || !holder) office::Raise(FAILED(hr) ? hr : E_POINTER);
    hr = holder->Load(button);
    if (FAILED(hr)) office::Raise(hr);
    m_holders.push_back(holder);
}

STDMETHODIMP CAddin::OnDisconnection(ext_DisconnectMode, SAFEARRAY**) {
    m_holders.clear();  // each holder unadvises from its button as it goes
    return S_OK;
}

STDMETHODIMP CAddin::OnAddInsUpdate(SAFEARRAY**) {
    return E_NOTIMPL;
}

STDMETHODIMP CAddin::OnStartupComplete(SAFEARRAY**) {
    return E_NOTIMPL;
}

STDMETHODIMP CAddin::OnBeginShutdown(SAFEARRAY**) {
    return E_NOTIMPL;
}
