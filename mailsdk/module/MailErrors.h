// How the address-book server fails: an HRESULT raised (with a description-only IErrorInfo when
// it has a text), caught at the edge of the public method, logged and returned.
#pragma once

#include <windows.h>

#include <string>

namespace log4cpp {
class Category;
}

// The HRESULT an operation raised.
class CMailError {
public:
    explicit CMailError(HRESULT hr) : m_hr(hr) {}
    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// Raises hr with no description (the thread's error info is cleared, so no stale text goes
// with it).
[[noreturn]] void ThrowHResult(HRESULT hr);
// Text id of the satellite library formatted with one ANSI insert (%1) becomes the error
// description; then hr is raised.
[[noreturn]] void ThrowResourceError(HRESULT hr, UINT id, const char* insert);
// E_INVALIDARG with text 5004 naming the argument.
[[noreturn]] void ThrowInvalidArgument(const char* name);
// A failed MAPI or COM call: text id with the HRESULT in hexadecimal as insert.
[[noreturn]] void ThrowCallFailure(HRESULT hr, UINT id);
// Sets the description of a failed call (text id, the HRESULT in hexadecimal as insert)
// without raising.
void SetCallFailureDescription(HRESULT hr, UINT id);
// Raises hr (with the text) when it is a failure.
void CheckCall(HRESULT hr, UINT id);

// Logs "An error occurred.  <class>::<operation>" at error level; gives hr back.
HRESULT LogMethodFailure(log4cpp::Category& category, const char* className, const char* operation, HRESULT hr);

// String id of the resource source, wide and in the ANSI code page; empty when missing.
std::wstring LoadMailString(UINT id);
std::string LoadMailStringA(UINT id);

// Wide text from ANSI (CP_ACP) text and back.
std::wstring WideFromAnsi(const char* text);
std::string AnsiFromWide(const wchar_t* text);
