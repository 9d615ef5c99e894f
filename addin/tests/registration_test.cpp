// regsvr32 of the add-in writes its two classes, its type library and the mail client's add-in
// entry for the user, and /u removes them again; neither touches the registration of the mail
// client's connection interface. The test ends with the add-in registered: it is the fixture of
// the add-in's other tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ComTestSupport.h"
#include "RegistryTestSupport.h"

namespace {

using namespace testsupport;

const std::wstring kAddinClsid = L"{D57514FB-77FB-4B5C-8FA8-6BA1EEA6992F}";
const std::wstring kHolderClsid = L"{B823EBFD-5B53-453E-80DD-72E8AAFCACBB}";
const std::wstring kLibId = L"{FAE06EC7-D29C-4F04-8CF4-83D6A4CE3843}";
const std::wstring kTypeLibKey = L"TypeLib\\" + kLibId;
const std::wstring kAddinInterface = L"Interface\\{0A461396-19F8-41DF-AEB6-AF7F1074209C}";
const std::wstring kHolderInterface = L"Interface\\{C8731EE4-8DF0-49B0-BF4D-BDAF155981F3}";
// The mail client's connection interface, registered by the mail client itself.
const std::wstring kExtensibilityInterface = L"Interface\\{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}";
const wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Outlook\\Addins\\TarvockOfficePlugin.Addin";

std::wstring ServerPath() {
    return BesideProgram(L"TarvockOfficePlugin.dll");
}

bool UserKeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring UserString(const wchar_t* path, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

DWORD UserDword(const wchar_t* path, const wchar_t* name) {
    DWORD value = 0xDEADBEEF;
    DWORD size = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// What the mail client would have registered for its connection interface.
class MailClientInterface {
public:
    MailClientInterface() {
        const std::wstring key = kExtensibilityInterface;
        m_created = !KeyExists(key);
        ::RegSetValueW(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, L"_IDTExtensibility2", 0);
    }
    ~MailClientInterface() {
        if (m_created) ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kExtensibilityInterface.c_str());
    }
    bool Intact() const { return Value(kExtensibilityInterface) == L"_IDTExtensibility2"; }

private:
    bool m_created = false;
};

void ExpectClass(const std::wstring& clsid, const std::wstring& name, const std::wstring& progId) {
    const std::wstring key = L"CLSID\\" + clsid;
    EXPECT_EQ(name, Value(progId + L".1"));
    EXPECT_EQ(clsid, Value(progId + L".1\\CLSID"));
    EXPECT_EQ(name, Value(progId));
    EXPECT_EQ(clsid, Value(progId + L"\\CLSID"));
    EXPECT_EQ(progId + L".1", Value(progId + L"\\CurVer"));

    EXPECT_EQ(name, Value(key));
    EXPECT_EQ((std::set<std::wstring>{L"InprocServer32", L"ProgID", L"Programmable", L"TypeLib",
                                      L"VersionIndependentProgID"}),
              SubKeys(key));
    EXPECT_EQ((std::set<std::wstring>{L""}), ValueNames(key)) << "no AppID";
    EXPECT_EQ(progId + L".1", Value(key + L"\\ProgID"));
    EXPECT_EQ(progId, Value(key + L"\\VersionIndependentProgID"));
    EXPECT_TRUE(SamePath(ServerPath(), Value(key + L"\\InprocServer32")));
    EXPECT_EQ(L"Apartment", Value(key + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(kLibId, Value(key + L"\\TypeLib"));
}

void ExpectRegistered() {
    ExpectClass(kAddinClsid, L"Addin Class", L"TarvockOfficePlugin.Addin");
    ExpectClass(kHolderClsid, L"ButtonHolder Class", L"TarvockOfficePlugin.ButtonHolder");

    EXPECT_EQ(L"TarvockOfficePlugin 1.0 Type Library", Value(kTypeLibKey + L"\\1.0"));
    EXPECT_TRUE(SamePath(ServerPath(), Value(kTypeLibKey + L"\\1.0\\0\\win64")));
    EXPECT_TRUE(SamePath(kLibId, Value(kAddinInterface + L"\\TypeLib")));
    EXPECT_TRUE(SamePath(kLibId, Value(kHolderInterface + L"\\TypeLib")));

    EXPECT_EQ(L"Tarvock Outlook Addin", UserString(kAddinsKey, L"FriendlyName"));
    EXPECT_EQ(L"Allows access to Tarvock Brindlepost", UserString(kAddinsKey, L"Description"));
    EXPECT_EQ(3u, UserDword(kAddinsKey, L"LoadBehavior"));
    EXPECT_EQ(0u, UserDword(kAddinsKey, L"CommandLineSafe"));
}

TEST(AddinRegistration, UnregisterRemovesTheAddinButNotTheMailClientsInterface) {
    MailClientInterface mailClient;
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ASSERT_EQ(0u, RunRegsvr32(L"/u \"" + ServerPath() + L"\""));

    for (const wchar_t* progId : {L"TarvockOfficePlugin.Addin", L"TarvockOfficePlugin.Addin.1",
                                  L"TarvockOfficePlugin.ButtonHolder", L"TarvockOfficePlugin.ButtonHolder.1"})
        EXPECT_FALSE(KeyExists(progId)) << Narrow(progId);
    EXPECT_FALSE(KeyExists(L"CLSID\\" + kAddinClsid));
    EXPECT_FALSE(KeyExists(L"CLSID\\" + kHolderClsid));
    EXPECT_TRUE(KeyExists(L"CLSID"));
    EXPECT_FALSE(KeyExists(kTypeLibKey));
    EXPECT_FALSE(KeyExists(kAddinInterface));
    EXPECT_FALSE(KeyExists(kHolderInterface));
    EXPECT_FALSE(UserKeyExists(kAddinsKey));
    EXPECT_TRUE(UserKeyExists(L"Software\\Microsoft\\Office\\Outlook\\Addins")) << "the mail client's key stays";
    EXPECT_TRUE(mailClient.Intact());
}

TEST(AddinRegistration, RegisterWritesClassesTypeLibraryAndTheMailClientsEntry) {
    MailClientInterface mailClient;
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ExpectRegistered();
    EXPECT_TRUE(mailClient.Intact());
    // Registering twice is harmless.
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ExpectRegistered();
}

}  // namespace
