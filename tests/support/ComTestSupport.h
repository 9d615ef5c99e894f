// Shared helpers of the Windows test programs: COM apartment per test, error-info readers,
// BSTR and VARIANT helpers, and IDispatch calls by name.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// Each test runs in a single-threaded apartment of its own.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(::CoInitialize(nullptr)); }
    void TearDown() override { ::CoUninitialize(); }
};

// The description of the thread's error info (taken off the thread), or "<none>".
std::wstring TakeErrorDescription();
// True when the thread holds no error info (without disturbing it when it does).
bool HasErrorInfo();
// Leaves an error info with the description on the thread.
void SetErrorDescription(const wchar_t* text);

// A narrow copy of a wide text, for readable assertion output.
std::string Narrow(const std::wstring& text);
std::string Narrow(BSTR text);

// An optional argument left out (VT_ERROR DISP_E_PARAMNOTFOUND), and arguments of the usual
// automation types (a BSTR is the caller's to free; an object is not referenced).
VARIANT Omitted();
VARIANT VariantBool(bool flag);
VARIANT VariantText(const wchar_t* text);
VARIANT VariantI4(LONG value);
VARIANT VariantI2(SHORT value);
VARIANT VariantInt(int value);
VARIANT VariantDispatch(IDispatch* object);

// Calls a member by name through IDispatch. Returns the HRESULT; result receives the value.
HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args,
                     VARIANT* result = nullptr, EXCEPINFO* excep = nullptr);
DISPID DispIdOf(IDispatch* object, const wchar_t* name);

// Full path of a file beside the test program.
std::wstring BesideProgram(const wchar_t* fileName);

}  // namespace testsupport
