// Helpers every window of the program shares: COM object creation, the error reporters (the
// program's one way of showing a failure), input checks and text helpers.
#pragma once

#include "afxwin.h"

#include <atlbase.h>
#include <comdef.h>
#include <comsupp.h>

// A string of the satellite library (empty when it has none).
class CResString : public CString {
public:
    explicit CResString(UINT id) { LoadString(id); }
};

// Makes a COM object the one way the program makes the servers' objects: CoCreateInstance
// (CLSCTX_ALL) for IUnknown, OleRun, then the interface. S_OK with the object; else the failure
// (E_NOINTERFACE for an object that answers with null) and no object.
HRESULT CreateRunningObject(REFCLSID clsid, REFIID iid, void** object);
template <class T>
HRESULT CreateRunningObject(REFCLSID clsid, CComPtr<T>& object) {
    object.Release();
    return CreateRunningObject(clsid, __uuidof(T), reinterpret_cast<void**>(&object));
}

// The same for an SDK object, reporting a failure itself (string 5001 with the class text, such
// as "ContactService"): null then.
bool CreateSdkObject(REFCLSID clsid, const char* classText, REFIID iid, void** object);
template <class T>
CComPtr<T> CreateSdkObject(REFCLSID clsid, const char* classText) {
    CComPtr<T> object;
    CreateSdkObject(clsid, classText, __uuidof(T), reinterpret_cast<void**>(&object));
    return object;
}

// The text of a string property (or any call whose one argument is a BSTR result); throws
// _com_error with the object's error info when the call fails. ANSI, up to the first zero; a
// null result is empty.
//     CString name = ReadText(group.p, &IContactGroup::get_Name);
template <class T>
CString ReadText(T* object, HRESULT (STDMETHODCALLTYPE T::*get)(BSTR*)) {
    CComBSTR text;
    HR_CHECK_ON(object, __uuidof(T), (object->*get)(&text));
    return CString(text);
}

// An optional argument left out.
VARIANT MissingArgument();

// Message box (MB_ICONSTOP) and root-category error: the text and the system's text for the
// code, or "HRESULT = <code>" when the system has none.
void ReportHResult(const char* text, HRESULT code);
// Message box (when show) and root-category error for a COM error; a connection failure is
// described by string 155.
void ReportComError(const char* text, const _com_error& error, bool show);
void ReportComErrorId(UINT stringId, const _com_error& error, bool show);
// Message box with the string and MB_ICONEXCLAMATION.
void ShowWarning(UINT stringId);

// An originator is 1 to 11 characters of any kind, or exactly 12 digits.
bool ValidateOriginator(const char* text);
// On saving: trims the text; an empty one is refused with the string's message.
void DDV_RequiredText(CDataExchange* dx, CString& text, UINT stringId);
// The long date and time of the user's locale.
CString FormatDateTimeText(DATE when);

// The value of the first "name=value" pair of the address's query with exactly that name.
CString GetQueryParameter(const char* url, const char* name);

// Compares two version texts: as four numbers when both are four dotted numbers, else byte by
// byte as multibyte texts. Negative, zero or positive.
int CompareVersionTexts(const char* left, const char* right);
