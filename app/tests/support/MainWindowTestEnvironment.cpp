// For test programs that create the program's main window without caring for its inbox poll:
// a COM apartment on the main thread (the window creates the SDK's inbox service) and a
// stand-in for the shell's notification area (the window's icon calls succeed).
#include "ShellStandIn.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <memory>

namespace {

class CMainWindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_initialised = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        m_shell = std::make_unique<CShellStandIn>();
    }
    void TearDown() override {
        m_shell.reset();
        if (m_initialised) ::CoUninitialize();
    }

private:
    bool m_initialised = false;
    std::unique_ptr<CShellStandIn> m_shell;
};

const ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new CMainWindowEnvironment);

}  // namespace
