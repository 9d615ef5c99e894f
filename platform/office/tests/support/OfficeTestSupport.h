// Helpers of the office host tests: late-bound calls the way our add-in makes them, a click
// sink, a scripted add-in that drives the fake model from OnConnection, and the registry entries
// that make the mail client find an add-in.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "ComTestSupport.h"
#include "OfficeHost.h"
#include "OfficeModel.h"

namespace officetest {

// A VARIANT holder that clears itself.
struct Var {
    VARIANT v;
    Var() { ::VariantInit(&v); }
    ~Var() { ::VariantClear(&v); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
};

using testsupport::VariantDispatch;
using testsupport::VariantI2;
using testsupport::VariantI4;
using testsupport::VariantText;
void FreeArgs(std::vector<VARIANT>& args);

// Calls a member by name; args in the caller's order. Frees the args.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args = {},
             VARIANT* result = nullptr, EXCEPINFO* excep = nullptr);
// A property put by name.
HRESULT Put(IDispatch* object, const wchar_t* name, VARIANT value, EXCEPINFO* excep = nullptr);
// A getter answering an object (E_POINTER when it answers none).
HRESULT Fetch(IDispatch* object, const wchar_t* name, WORD flags, IDispatch** got);
// The same, null on failure.
IDispatch* GetObjectOf(IDispatch* object, const wchar_t* name, WORD flags = DISPATCH_PROPERTYGET);

// A 16x16 (or other size) bitmap picture, and an icon picture.
IPictureDisp* BitmapPicture(int width, int height);
IPictureDisp* IconPicture();

// A dispatch sink of _CommandBarButtonEvents: records each Click and reads Ctrl.Parameter by name.
class ClickSink : public IDispatch {
public:
    ClickSink() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    int clicks = 0;
    std::vector<std::wstring> parameters;   // Ctrl.Parameter of each click
    std::wstring problem;                   // what was wrong with a call, if anything
    ULONG refs() const { return refs_; }

private:
    virtual ~ClickSink() = default;
    ULONG refs_ = 1;
};

// What our add-in does in OnConnection, step by step, by name: a bar with buttons, each advised.
struct ButtonPlan {
    std::wstring caption;
    LONG parameter;
    LONG faceId;   // 0: a picture and mask instead
    LONG style;
};

class ToolbarScript {
public:
    ToolbarScript() = default;
    ~ToolbarScript();
    ToolbarScript(const ToolbarScript&) = delete;
    ToolbarScript& operator=(const ToolbarScript&) = delete;

    // Returns the first failure (and stops there).
    HRESULT Build(IDispatch* application, const std::vector<ButtonPlan>& plan);
    // Unadvises every sink.
    void Teardown();

    ClickSink* Sink(size_t index) const { return sinks_.at(index).sink; }

private:
    struct Advised {
        IConnectionPoint* point;
        DWORD cookie;
        ClickSink* sink;
    };
    std::vector<Advised> sinks_;
};

// The registry entries and class object of an in-process test add-in.
//   HKCR\<progId>\CLSID, HKCR\CLSID\{clsid}\InprocServer32 (this program) and, when loadBehavior is
//   not 0, HKCU\Software\Microsoft\Office\Outlook\Addins\<progId>\LoadBehavior. All removed again.
class RegisteredClass {
public:
    RegisteredClass(const wchar_t* progId, REFCLSID clsid, IClassFactory* factory, DWORD loadBehavior);
    ~RegisteredClass();
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;
    bool ok() const { return ok_; }

private:
    std::wstring progId_, clsidText_;
    DWORD cookie_ = 0;
    bool ok_ = false;
};

std::wstring AddinsKey();   // Software\Microsoft\Office\Outlook\Addins

}  // namespace officetest
