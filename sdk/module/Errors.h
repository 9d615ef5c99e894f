// The SDK's one way of failing: an HRESULT raised with a description-only IErrorInfo, caught at
// the edge of the public method, logged and returned.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace log4cpp {
class Category;
}

// The HRESULT a method raised; caught at the method's edge.
class CRaisedError {
public:
    explicit CRaisedError(HRESULT hr) : m_hr(hr) {}
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// One insert of a formatted error text: an ANSI string, or a number for a "%n!d!" insert.
class CInsert {
public:
    CInsert(const char* text) : m_value(reinterpret_cast<DWORD_PTR>(text ? text : "")) {}
    CInsert(const std::string& text) : CInsert(text.c_str()) {}
    CInsert(long number) : m_value(static_cast<DWORD_PTR>(number)) {}
    CInsert(int number) : m_value(static_cast<DWORD_PTR>(number)) {}
    DWORD_PTR Value() const { return m_value; }

private:
    DWORD_PTR m_value;
};

// Raises hr without touching the thread's error info.
[[noreturn]] void RaiseHResult(HRESULT hr);
// Sets a description-only error info with text, then raises hr.
[[noreturn]] void RaiseError(const wchar_t* text, HRESULT hr);
[[noreturn]] void RaiseErrorById(UINT id, HRESULT hr);
// String id formatted with the inserts in order; an empty description when formatting fails.
[[noreturn]] void RaiseFormattedError(HRESULT hr, UINT id, std::initializer_list<CInsert> inserts = {});
[[noreturn]] void RaiseMissingArgument(const char* name);
[[noreturn]] void RaiseInvalidArgument(const char* text);
// Raises 0x800203E8 with text id, the failing call's name and the description the platform gave.
[[noreturn]] void RaiseXmlHttpError(const char* callName, UINT id);

// Logs "An error occurred.  <class>::<method>" at error level and gives hr back.
HRESULT HandleMethodError(log4cpp::Category& category, const char* className, const char* methodName, HRESULT hr);

// String id of the module's resource source; empty when it is not there.
std::wstring LoadResourceString(UINT id);
// The description of the thread's current error info, empty when there is none.
std::wstring CurrentErrorDescription();

// A service error code reaches callers as 0x80020000 | code.
const HRESULT kConnectionFailed = static_cast<HRESULT>(0x800203E8);
inline HRESULT ServiceErrorResult(long code) { return static_cast<HRESULT>(0x80020000UL | static_cast<ULONG>(code)); }
