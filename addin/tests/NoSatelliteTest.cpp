// The add-in without its satellite library: its own module has only the bar's name, which is
// also the boxes' caption; every other text comes out empty.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AddinTestSupport.h"
#include "FakeProgram.h"
#include "ServerLoadSupport.h"

namespace {

using addintest::AddinTest;
using addintest::MessageBoxes;
using addintest::MessageBoxLine;

const CLSID kAddinClass = {0xD57514FB, 0x77FB, 0x4B5C, {0x8F, 0xA8, 0x6B, 0xA1, 0xEE, 0xA6, 0x99, 0x2F}};
const CLSID kHolderClass = {0xB823EBFD, 0x5B53, 0x453E, {0x80, 0xDD, 0x72, 0xE8, 0xAA, 0xFC, 0xAC, 0xBB}};
const wchar_t kOwnName[] = L"Tarvock Office Plugin";

// A copy of the add-in alone in a folder, whose classes this process uses instead of the
// registered ones.
class LoneAddin {
public:
    LoneAddin() : m_copy(L"TarvockOfficePlugin.dll", L"addin-without-satellite") {
        if (!m_copy.Copied()) return;
        m_module = ::LoadLibraryW(m_copy.Path().c_str());  // its "No Resource DLL" box returns at once here
        if (!m_module) return;
        typedef HRESULT(STDAPICALLTYPE * GetClassObject)(REFCLSID, REFIID, void**);
        auto get = reinterpret_cast<GetClassObject>(::GetProcAddress(m_module, "DllGetClassObject"));
        for (const CLSID* clsid : {&kAddinClass, &kHolderClass}) {
            IUnknown* factory = nullptr;
            DWORD cookie = 0;
            if (get && SUCCEEDED(get(*clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) &&
                SUCCEEDED(::CoRegisterClassObject(*clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
                m_cookies.push_back(cookie);
            if (factory) factory->Release();
        }
    }
    ~LoneAddin() {
        for (DWORD cookie : m_cookies) ::CoRevokeClassObject(cookie);
        if (m_module) ::FreeLibrary(m_module);
    }
    bool Ready() const { return m_cookies.size() == 2; }
    HMODULE Module() const { return m_module; }

private:
    testsupport::LoneCopy m_copy;
    HMODULE m_module = nullptr;
    std::vector<DWORD> m_cookies;
};

class NoSatelliteTest : public AddinTest {};

TEST_F(NoSatelliteTest, TheBarKeepsTheModulesNameAndTheOtherTextsAreEmpty) {
    LoneAddin addin;
    ASSERT_TRUE(addin.Ready());
    ASSERT_TRUE(officehost::CaptureMessageBoxes(addin.Module(), log));
    FakeProgram program;
    program.accepted = VARIANT_FALSE;

    switches.version = L"9.0";
    ASSERT_EQ(S_OK, Connect());
    EXPECT_EQ(kOwnName, outlook->BarName());
    ASSERT_EQ(6u, outlook->ButtonCount());
    EXPECT_EQ(L"", outlook->Button(0).caption);
    EXPECT_EQ(L"", outlook->Button(0).tooltip);
    EXPECT_EQ(2892, outlook->Button(0).faceId);

    outlook->Click(0);
    EXPECT_EQ((std::vector<std::wstring>{L"Show"}), program.commands);
    EXPECT_EQ((std::vector<std::wstring>{MessageBoxLine(kOwnName, L"", MB_ICONWARNING)}), MessageBoxes(log));

    program.accepted = VARIANT_TRUE;
    program.failure = E_FAIL;
    log.Clear();
    outlook->Click(0);
    EXPECT_EQ((std::vector<std::wstring>{MessageBoxLine(kOwnName, L"", MB_ICONERROR)}), MessageBoxes(log));
    host.reset();
    outlook.reset();
}

TEST_F(NoSatelliteTest, PicturesWithoutBitmapsStillMakeAToolbar) {
    LoneAddin addin;
    ASSERT_TRUE(addin.Ready());
    ASSERT_TRUE(officehost::CaptureMessageBoxes(addin.Module(), log));
    switches.version = L"11.0";
    EXPECT_EQ(S_OK, Connect());
    EXPECT_EQ(6u, outlook->ButtonCount());
    EXPECT_TRUE(MessageBoxes(log).empty());
    host.reset();
    outlook.reset();
}

}  // namespace
