// The add-in the mail client loads: on connection it adds a temporary toolbar of six buttons to
// the active explorer window, each with a button holder that runs one desktop-program command.
#pragma once

#include <atlbase.h>
#include <atlcom.h>

#include <vector>

#include "ButtonTable.h"
#include "OfficeModel.h"
#include "TarvockOfficePlugin.h"

// The connection interface's dispatch part. The mail client calls the interface through its
// table; the interface's type information lies with the mail client, not in this add-in.
class CExtensibilityDispatch : public _IDTExtensibility2 {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;
};

class CAddin : public CComObjectRootEx<CComSingleThreadModel>,
               public CComCoClass<CAddin, &CLSID_Addin>,
               public IDispatchImpl<IAddin, &IID_IAddin>,
               public CExtensibilityDispatch {
public:
    static HRESULT WINAPI UpdateRegistry(BOOL bRegister) {
        return _pModule->UpdateRegistryFromResource(101, bRegister);
    }

    BEGIN_COM_MAP(CAddin)
    COM_INTERFACE_ENTRY(IAddin)
    COM_INTERFACE_ENTRY2(IDispatch, IAddin)
    COM_INTERFACE_ENTRY(_IDTExtensibility2)
    END_COM_MAP()

    void FinalRelease();

    // _IDTExtensibility2
    STDMETHOD(OnConnection)(IDispatch* Application, ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                            SAFEARRAY** custom) override;
    STDMETHOD(OnDisconnection)(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) override;
    STDMETHOD(OnAddInsUpdate)(SAFEARRAY** custom) override;
    STDMETHOD(OnStartupComplete)(SAFEARRAY** custom) override;
    STDMETHOD(OnBeginShutdown)(SAFEARRAY** custom) override;

    // The number before the first "." of a version text.
    static int MajorVersion(const wchar_t* versionText);

private:
    // Adds the bar and its buttons; throws _com_error when the mail client refuses a step.
    void AddToolbar(IDispatch* commandBars);
    void AddButton(IDispatch* controls, const ButtonRow& row);

    std::vector<CComPtr<IButtonHolder>> m_holders;
    CComPtr<IDispatch> m_application;
    int m_majorVersion = 0;
};
