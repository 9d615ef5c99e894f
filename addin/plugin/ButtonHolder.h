// One per toolbar button: catches the button's click and runs the desktop program's command the
// button's parameter names, starting the program through COM the first time.
#pragma once

#include <atlbase.h>
#include <atlcom.h>

#include "OfficeModel.h"
#include "TarvockBrindlepost.h"
#include "TarvockOfficePlugin.h"
#include "resource.h"

extern ATL::_ATL_FUNC_INFO ClickInfo;

class CButtonHolder : public CComObjectRootEx<CComSingleThreadModel>,
                      public CComCoClass<CButtonHolder, &CLSID_ButtonHolder>,
                      public IDispatchImpl<IButtonHolder, &IID_IButtonHolder>,
                      public IDispEventSimpleImpl<1, CButtonHolder, &DIID__CommandBarButtonEvents> {
public:
    static HRESULT WINAPI UpdateRegistry(BOOL bRegister) {
        return _pModule->UpdateRegistryFromResource(103, bRegister);
    }

    BEGIN_COM_MAP(CButtonHolder)
    COM_INTERFACE_ENTRY(IButtonHolder)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    BEGIN_SINK_MAP(CButtonHolder)
    SINK_ENTRY_INFO(1, DIID__CommandBarButtonEvents, 1, &CButtonHolder::OnClick, &ClickInfo)
    END_SINK_MAP()

    void FinalRelease();

    // IButtonHolder: keeps the button and listens to its clicks.
    STDMETHOD(Load)(IUnknown* pCmdButton) override;

    void __stdcall OnClick(IDispatch* control, VARIANT_BOOL cancelDefault);

    // The command a button parameter runs; null for parameters without one.
    typedef HRESULT (STDMETHODCALLTYPE IApplication::*Command)(VARIANT_BOOL*);
    static Command CommandFor(long parameter);

private:
    void Run(Command command);
    // Calls the command; a connection to a program that has ended is dropped and made again once.
    HRESULT Call(Command command, VARIANT_BOOL* accepted);
    void ConnectToProgram();

    CComPtr<IApplication> m_application;
    CComPtr<IUnknown> m_button;
};
