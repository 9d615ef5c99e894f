// Automation support of our small class library: OLE start-up, the application lock that
// automation objects hold, class factories registered for a local server, registry entries and
// type libraries, and nested interface objects of command targets.
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <oleauto.h>

// OleInitialize for the program; undone by AfxOleTerm (AfxWinMain calls it after ExitInstance).
bool AfxOleInit();
void AfxOleTerm();
// The control container (the DHTML dialogs' browser control); records that it is wanted.
void AfxEnableControlContainer();
bool AfxIsControlContainerEnabled();

// Application lock held by automation objects: exit is refused while a lock exists.
void AfxOleLockApp();
void AfxOleUnlockApp();
bool AfxOleCanExitApp();
LONG AfxOleGetLockCount();
// Whether the user controls the program (false when started by COM): when the last lock is
// released without user control, the main window is closed.
void AfxOleSetUserCtrl(bool userCtrl);
bool AfxOleGetUserCtrl();

// Registers the type library held in a module's resources (TYPELIB 1).
bool AfxOleRegisterTypeLib(HINSTANCE instance, REFGUID libId);
// Removes a type library's registration (all versions registered for the LIBID).
bool AfxOleUnregisterTypeLib(REFGUID libId);

// A class factory for a creatable command target (CRuntimeClass with DECLARE_DYNCREATE).
class COleObjectFactory : public CCmdTarget {
public:
    COleObjectFactory(REFCLSID clsid, CRuntimeClass* runtimeClass, bool multiInstance, const char* progId);
    ~COleObjectFactory() override;

    bool Register();
    void Revoke();
    bool IsRegistered() const { return m_dwRegister != 0; }
    // Registry entries of a local server: CLSID, LocalServer32, ProgID (and TypeLib when set).
    virtual bool UpdateRegistry(bool registering = true);
    void SetTypeLib(REFGUID libId) { m_libId = libId; m_hasLibId = true; }

    static bool RegisterAll();
    static void RevokeAll();
    static bool UpdateRegistryAll(bool registering = true);

    REFCLSID GetClassID() const { return m_clsid; }
    // The factory's own IClassFactory (not reference-counted beyond the factory's life).
    IClassFactory* GetClassFactory();
    // Makes a new object; the caller owns the one reference.
    virtual CCmdTarget* OnCreateObject();

private:
    class XClassFactory;
    CLSID m_clsid;
    CRuntimeClass* m_pRuntimeClass;
    bool m_bMultiInstance;
    CString m_progId;
    GUID m_libId = {};
    bool m_hasLibId = false;
    DWORD m_dwRegister = 0;
    IClassFactory* m_factory;
    COleObjectFactory* m_pNextFactory;
};

// Nested interface objects of a command target: the interface map names them by IID and the
// nested object finds its outer object with METHOD_PROLOGUE.
#define BEGIN_INTERFACE_PART(localClass, baseInterface)        \
    class X##localClass : public baseInterface {                \
    public:                                                     \
        STDMETHOD_(ULONG, AddRef)() override;                   \
        STDMETHOD_(ULONG, Release)() override;                  \
        STDMETHOD(QueryInterface)(REFIID iid, void** object) override;

#define END_INTERFACE_PART(localClass) \
    } m_x##localClass;                 \
    friend class X##localClass;

#define DECLARE_INTERFACE_MAP()                                    \
public:                                                            \
    static const AFX_INTERFACEMAP* GetThisInterfaceMap();          \
    const AFX_INTERFACEMAP* GetInterfaceMap() const override;

#define BEGIN_INTERFACE_MAP(theClass, baseClass)                                                 \
    const CCmdTarget::AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const CCmdTarget::AFX_INTERFACEMAP* theClass::GetThisInterfaceMap() {                        \
        typedef theClass ThisClass [[maybe_unused]];                                                              \
        typedef baseClass TheBaseClass;                                                          \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {

#define INTERFACE_PART(theClass, iid, localClass) {&iid, offsetof(theClass, m_x##localClass)},

#define END_INTERFACE_MAP()                                                                      \
    {nullptr, 0}};                                                                               \
    static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap, _interfaceEntries}; \
    return &interfaceMap;                                                                        \
    }

#define METHOD_PROLOGUE(theClass, localClass) \
    theClass* pThis = reinterpret_cast<theClass*>(reinterpret_cast<BYTE*>(this) - offsetof(theClass, m_x##localClass));

// IUnknown of a nested interface object, delegated to the outer command target.
#define IMPLEMENT_NESTED_IUNKNOWN(theClass, localClass)                                          \
    STDMETHODIMP_(ULONG) theClass::X##localClass::AddRef() {                                     \
        METHOD_PROLOGUE(theClass, localClass) return pThis->ExternalAddRef();                    \
    }                                                                                            \
    STDMETHODIMP_(ULONG) theClass::X##localClass::Release() {                                    \
        METHOD_PROLOGUE(theClass, localClass) return pThis->ExternalRelease();                   \
    }                                                                                            \
    STDMETHODIMP theClass::X##localClass::QueryInterface(REFIID iid, void** object) {            \
        METHOD_PROLOGUE(theClass, localClass) return pThis->ExternalQueryInterface(iid, object); \
    }
