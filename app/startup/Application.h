// The program's automation object "TarvockBrindlepost.Application": every IApplication method
// signs the user in first when needed and then posts one application command to the hidden main
// window. Each object holds the application lock (exit is refused while clients hold one).
#pragma once

#include "afxdisp.h"

#include "TarvockBrindlepost.h"

class CApplication : public CCmdTarget {
    DECLARE_DYNCREATE(CApplication)
public:
    CApplication();
    ~CApplication() override;

    // The class factory (multiple use) and its registry entries (LocalServer32, ProgID, TypeLib).
    static COleObjectFactory& Factory();
    static const char* const kProgId;  // "TarvockBrindlepost.Application"

    // One method: sign in first when signed out (WM_COMMAND 32813 sent to the main window), then
    // post the command to the main window. *result is true when the command was posted. Always
    // S_FALSE (callers read the result).
    static HRESULT RunCommand(UINT commandId, VARIANT_BOOL* result);
    // True while a method runs the sign-in dialog; a call meanwhile answers false at once.
    static bool IsSigningIn() { return s_signingIn; }

    BEGIN_INTERFACE_PART(Application, IApplication)
        STDMETHOD(GetTypeInfoCount)(UINT* count) override;
        STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
        STDMETHOD(GetIDsOfNames)(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
        STDMETHOD(Invoke)(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                          EXCEPINFO* exception, UINT* argError) override;
        STDMETHOD(Show)(VARIANT_BOOL* pResult) override;
        STDMETHOD(SendSMS)(VARIANT_BOOL* pResult) override;
        STDMETHOD(Contacts)(VARIANT_BOOL* pResult) override;
        STDMETHOD(Groups)(VARIANT_BOOL* pResult) override;
        STDMETHOD(Inbox)(VARIANT_BOOL* pResult) override;
        STDMETHOD(SentItems)(VARIANT_BOOL* pResult) override;
        STDMETHOD(BuyCredits)(VARIANT_BOOL* pResult) override;
        STDMETHOD(AccountOptions)(VARIANT_BOOL* pResult) override;
    END_INTERFACE_PART(Application)

    DECLARE_INTERFACE_MAP()

private:
    // IApplication's type information, from the program's own resources (or the registration).
    static ITypeInfo* TypeInfo();
    static bool s_signingIn;
};
