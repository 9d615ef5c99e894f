// The module of a test program that links the service classes in: they count their objects on
// it and read their templates and texts from the English satellite library.
#include <windows.h>

#include <atlbase.h>
#include <gtest/gtest.h>

#include "ComTestSupport.h"

CComModule _Module;

namespace {

class LinkedModule : public ::testing::Environment {
public:
    void SetUp() override {
        _Module.Init(nullptr, ::GetModuleHandleW(nullptr), nullptr);
        HMODULE satellite = ::LoadLibraryW(testsupport::BesideProgram(L"TarvockSDK_en.dll").c_str());
        ASSERT_NE(nullptr, satellite);
        _Module.SetResourceInstance(satellite);
    }
};

::testing::Environment* const g_module = ::testing::AddGlobalTestEnvironment(new LinkedModule);

}  // namespace
