// Signing in, out and automatically against the stand-in service (account test/test/TEST01),
// the stored credentials in the test profile's "Login" section, and the cached contact and
// group collections.
#include "resource.h"
#include "signin/LoginState.h"
#include "support/TestMessengerApp.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atlbase.h>
#include <gtest/gtest.h>

#include "LogCapture.h"
#include "StandinTest.h"
#include "TarvockLib.h"

#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

namespace {

const char kAccountId[] = "a0000000-0000-4000-8000-000000000001";

// Removes the profile's "Login" section.
void DeleteLoginSection() {
    HKEY app = AfxGetApp()->GetAppRegistryKey();
    ASSERT_NE(nullptr, app);
    LONG result = ::RegDeleteKeyW(app, L"Login");
    ::RegCloseKey(app);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) << result;
}

bool HasProfileValue(const char* name) {
    HKEY section = AfxGetApp()->GetSectionKey("Login");
    if (!section) return false;
    LONG result = ::RegQueryValueExW(section, CString(name).Wide().c_str(), nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

std::vector<BYTE> ProfileBinary(const char* name) {
    std::vector<BYTE> value;
    AfxGetApp()->GetProfileBinary("Login", name, value);
    return value;
}

CString StoredProtectedPassword() {
    CString password("none");
    if (!CStoredPassword::Unprotect(ProfileBinary("ProtectedPassword"), password)) return CString("unreadable");
    return password;
}

void WriteStoredCredentials(const char* user, const char* account) {
    AfxGetApp()->WriteProfileString("Login", "Username", user);
    AfxGetApp()->WriteProfileString("Login", "Account", account);
}

void WriteBinary(const char* name, const std::vector<BYTE>& value) {
    ASSERT_TRUE(AfxGetApp()->WriteProfileBinary("Login", name, value.data(), (UINT)value.size()));
}

// A loopback port nobody listens on.
unsigned short ClosedPort() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    unsigned short port = 0;
    if (::bind(probe, (sockaddr*)&address, sizeof address) == 0 &&
        ::getsockname(probe, (sockaddr*)&address, &length) == 0)
        port = ntohs(address.sin_port);
    ::closesocket(probe);
    ::WSACleanup();
    return port;
}

void PointSdkAt(const std::wstring& url) {
    CComPtr<ITestService> test;
    ASSERT_HRESULT_SUCCEEDED(test.CoCreateInstance(CLSID_TestService, nullptr, CLSCTX_INPROC_SERVER));
    ASSERT_HRESULT_SUCCEEDED(test->SetSoapEndPoints(CComBSTR(url.c_str()), CComBSTR(L"")));
}

// A contact service initialised with the credentials; the caller owns the reference.
CComPtr<IContactService> NewContactService(const wchar_t* user, const wchar_t* password, const wchar_t* account) {
    CComPtr<IContactService> service;
    HRESULT hr = service.CoCreateInstance(CLSID_ContactService, nullptr, CLSCTX_INPROC_SERVER);
    if (FAILED(hr) || !service) return nullptr;
    VARIANT omitted;
    ::VariantInit(&omitted);
    omitted.vt = VT_ERROR;
    omitted.scode = DISP_E_PARAMNOTFOUND;
    service->Initialise(CComBSTR(user), CComBSTR(password), CComBSTR(account), omitted);
    return service;
}

long CountOf(IObjectCollection* collection) {
    long count = -1;
    if (collection) collection->get_Count(&count);
    return count;
}

// The "CLoginState" category's events while it lives, as "PRIORITY message" lines.
class CLoginLog : public testsupport::LogCapture {
public:
    CLoginLog() : LogCapture("CLoginState") {}
};

class LoginState : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::PointSdkAtStandin();
        SignOutInMemory();
        DeleteLoginSection();
        m_boxes.boxes.clear();
    }
    void TearDown() override {
        SignOutInMemory();
        DeleteLoginSection();
        StandinTest::TearDown();
    }
    // Back to a fresh process's state (signing out also writes the profile, which SetUp and
    // TearDown then remove).
    static void SignOutInMemory() {
        CLoginState::SignOut();
        CLoginState::ReleaseCachedCollections();
    }
    size_t Requests() const { return Log().Empty() ? 0 : Log().All().size(); }

    CSatelliteScope m_satellite;
    CMessageBoxRecorder m_boxes;
};

TEST_F(LoginState, SignInFillsTheAccountStateAndStoresProtectedCredentials) {
    ASSERT_TRUE(CLoginState::SignIn("test", "test", "TEST01"));
    EXPECT_TRUE(CLoginState::IsSignedIn());
    EXPECT_EQ(CString(kAccountId), CLoginState::AccountId());
    EXPECT_EQ(CString("TestAlias"), CLoginState::ServiceAlias());
    EXPECT_EQ(100, CLoginState::MessageLimit());
    EXPECT_EQ(ACCOUNT_FEATURE_SERVICE_ALIASING | ACCOUNT_FEATURE_INBOX, CLoginState::Features());
    EXPECT_EQ(CString("test"), CLoginState::Username());
    EXPECT_EQ(CString("test"), CLoginState::Password());
    EXPECT_EQ(CString("TEST01"), CLoginState::Account());
    EXPECT_TRUE(m_boxes.boxes.empty());

    standin::LoggedRequest last = Log().Last();
    EXPECT_EQ(L"GetAccountState", last.operation);
    EXPECT_EQ(L"AccountService", last.endpoint);
    EXPECT_NE(std::wstring::npos, last.body.find(L"<Account>TEST01</Account>"));

    EXPECT_EQ(CString("test"), AfxGetApp()->GetProfileString("Login", "Username"));
    EXPECT_EQ(CString("TEST01"), AfxGetApp()->GetProfileString("Login", "Account"));
    EXPECT_EQ(CString("test"), StoredProtectedPassword());
    EXPECT_FALSE(HasProfileValue("Password")) << "no password under the built-in key";
}

TEST_F(LoginState, WrongPasswordShowsTheAuthenticationMessage) {
    EXPECT_FALSE(CLoginState::SignIn("test", "wrong", "TEST01"));
    EXPECT_FALSE(CLoginState::IsSignedIn());
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(LoadText(IDS_AUTHENTICATION_FAILED), m_boxes.boxes[0].text);
    EXPECT_FALSE(LoadText(IDS_AUTHENTICATION_FAILED).IsEmpty());
    // The typed values stay for the dialog; nothing is stored.
    EXPECT_EQ(CString("test"), CLoginState::Username());
    EXPECT_EQ(CString("wrong"), CLoginState::Password());
    EXPECT_EQ(CString("TEST01"), CLoginState::Account());
    EXPECT_FALSE(HasProfileValue("Username"));
    EXPECT_FALSE(HasProfileValue("ProtectedPassword"));
}

TEST_F(LoginState, QuietWrongPasswordIsOnlyLogged) {
    CLoginLog log;
    EXPECT_FALSE(CLoginState::SignInCore("test", "wrong", "TEST01", true));
    EXPECT_FALSE(CLoginState::IsSignedIn());
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_TRUE(log.Has("WARN " + LoadText(IDS_AUTHENTICATION_FAILED).str())) << log.Text();
    EXPECT_TRUE(log.Has("DEBUG Entering CLoginState::SignInCore")) << log.Text();
    EXPECT_TRUE(log.Has("DEBUG Entering CLoginState::InternalRefreshAccountState")) << log.Text();
}

TEST_F(LoginState, ServiceThatCannotBeCreatedIsShownEvenWhenQuiet) {
    // A thread without COM cannot create the account service.
    bool signedIn = true;
    std::thread([&] { signedIn = CLoginState::SignInCore("test", "test", "TEST01", true); }).join();
    EXPECT_FALSE(signedIn);
    EXPECT_FALSE(CLoginState::IsSignedIn());
    ASSERT_EQ(1u, m_boxes.boxes.size());
    const CString& text = m_boxes.boxes[0].text;
    EXPECT_TRUE(text.Find(LoadText(IDS_ACCOUNT_SERVICE_NOT_CREATED) + "\n\n") == 0 ||
                text == CString("HRESULT = -2147221008"))
        << text;
    EXPECT_EQ((UINT)MB_ICONSTOP, m_boxes.boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(0u, Requests());
}

TEST_F(LoginState, OtherServiceErrorShowsTheSignInFailure) {
    EXPECT_FALSE(CLoginState::SignIn("fault25", "x", "TEST01"));
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(LoadText(IDS_SIGN_IN_FAILED) + "\n\nInjected fault with an unknown code.", m_boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, m_boxes.boxes[0].type & MB_ICONMASK);
}

TEST_F(LoginState, RefusedConnectionShowsTheConnectionMessage) {
    unsigned short port = ClosedPort();
    ASSERT_NE(0, port);
    PointSdkAt(L"http://127.0.0.1:" + std::to_wstring(port) + L"/secure/messenger/soap/");
    EXPECT_FALSE(CLoginState::SignIn("test", "test", "TEST01"));
    EXPECT_FALSE(CLoginState::IsSignedIn());
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(LoadText(IDS_SIGN_IN_FAILED) + "\n\n" + LoadText(IDS_CONNECTION_FAILED), m_boxes.boxes[0].text);

    m_boxes.boxes.clear();
    CLoginLog log;
    EXPECT_FALSE(CLoginState::SignInCore("test", "test", "TEST01", true));
    EXPECT_TRUE(m_boxes.boxes.empty()) << "the automatic sign-in only logs it";
    EXPECT_NE(std::string::npos, log.Text().find("ERROR ")) << log.Text();
}

TEST_F(LoginState, AutoSignInFromTheProtectedPassword) {
    WriteStoredCredentials("test", "TEST01");
    std::vector<BYTE> value;
    ASSERT_TRUE(CStoredPassword::Protect("test", value));
    WriteBinary("ProtectedPassword", value);

    ASSERT_TRUE(CLoginState::AutoSignIn());
    EXPECT_TRUE(CLoginState::IsSignedIn());
    EXPECT_EQ(CString("test"), CLoginState::Password());
    EXPECT_EQ(CString(kAccountId), CLoginState::AccountId());
    EXPECT_EQ(100, CLoginState::MessageLimit());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(LoginState, AutoSignInFromTheLegacyPasswordReplacesIt) {
    WriteStoredCredentials("test", "TEST01");
    WriteBinary("Password", CStoredPassword::EncipherLegacy("test"));

    ASSERT_TRUE(CLoginState::AutoSignIn());
    EXPECT_TRUE(CLoginState::IsSignedIn());
    EXPECT_EQ(CString("TestAlias"), CLoginState::ServiceAlias());
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_FALSE(HasProfileValue("Password"));
    EXPECT_EQ(CString("test"), StoredProtectedPassword());
}

TEST_F(LoginState, FailedAutoSignInShowsNothingAndKeepsTheStoredValue) {
    WriteStoredCredentials("test", "TEST01");
    std::vector<BYTE> legacy = CStoredPassword::EncipherLegacy("wrong");
    WriteBinary("Password", legacy);

    EXPECT_FALSE(CLoginState::AutoSignIn());
    EXPECT_FALSE(CLoginState::IsSignedIn());
    EXPECT_TRUE(m_boxes.boxes.empty());
    EXPECT_EQ(L"GetAccountState", Log().Last().operation);
    EXPECT_EQ(legacy, ProfileBinary("Password"));
    EXPECT_FALSE(HasProfileValue("ProtectedPassword"));
}

TEST_F(LoginState, NoAutoSignInWithoutUsernameAccountOrPassword) {
    std::vector<BYTE> value;
    ASSERT_TRUE(CStoredPassword::Protect("test", value));
    WriteBinary("ProtectedPassword", value);

    AfxGetApp()->WriteProfileString("Login", "Username", "test");  // no account
    EXPECT_FALSE(CLoginState::AutoSignIn());
    WriteStoredCredentials(nullptr, "TEST01");  // no user name
    EXPECT_FALSE(CLoginState::AutoSignIn());
    WriteStoredCredentials("", "TEST01");
    EXPECT_FALSE(CLoginState::AutoSignIn());

    WriteStoredCredentials("test", "TEST01");
    AfxGetApp()->WriteProfileString("Login", "ProtectedPassword", nullptr);  // no password
    EXPECT_FALSE(CLoginState::AutoSignIn());

    EXPECT_EQ(0u, Requests()) << "nothing was sent";
    EXPECT_FALSE(CLoginState::IsSignedIn());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(LoginState, DamagedOrEmptyStoredPasswordIsNone) {
    WriteStoredCredentials("test", "TEST01");
    // Whole blocks without a terminator, a broken length, the stored empty password.
    for (const std::string& hex : {std::string("48ad623b0e03362f17aed26c815d0178"),
                                   std::string("a7f318cd1ed323c680fe2fb7c26c5c8b00"), std::string(""),
                                   std::string("d6e07c0a2dad944add415d809bb425d8")}) {
        std::vector<BYTE> value;
        for (size_t i = 0; i + 1 < hex.size(); i += 2) value.push_back((BYTE)std::stoul(hex.substr(i, 2), nullptr, 16));
        WriteBinary("Password", value);
        EXPECT_FALSE(CLoginState::AutoSignIn()) << hex;
    }
    // A protected value that is not readable.
    std::vector<BYTE> damaged;
    ASSERT_TRUE(CStoredPassword::Protect("test", damaged));
    damaged[damaged.size() / 2] ^= 0x55;
    WriteBinary("ProtectedPassword", damaged);
    EXPECT_FALSE(CLoginState::AutoSignIn());

    EXPECT_EQ(0u, Requests());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(LoginState, SignOutLeavesNoPassword) {
    WriteBinary("Password", CStoredPassword::EncipherLegacy("test"));
    ASSERT_TRUE(CLoginState::SignIn("test", "test", "TEST01"));
    EXPECT_FALSE(HasProfileValue("Password")) << "saving replaced the legacy value";
    ASSERT_TRUE(HasProfileValue("ProtectedPassword"));

    CLoginState::SignOut();
    EXPECT_FALSE(CLoginState::IsSignedIn());
    EXPECT_TRUE(CLoginState::Password().IsEmpty());
    EXPECT_EQ(CString("test"), CLoginState::Username());
    EXPECT_FALSE(HasProfileValue("ProtectedPassword"));
    EXPECT_FALSE(HasProfileValue("Password"));
    EXPECT_EQ(CString("test"), AfxGetApp()->GetProfileString("Login", "Username"));
    EXPECT_EQ(CString("TEST01"), AfxGetApp()->GetProfileString("Login", "Account"));

    size_t before = Requests();
    EXPECT_FALSE(CLoginState::AutoSignIn()) << "the next start shows the sign-in dialog";
    EXPECT_EQ(before, Requests());
}

TEST_F(LoginState, RefreshUsesTheCurrentCredentials) {
    ASSERT_TRUE(CLoginState::SignIn("test", "test", "TEST01"));
    size_t before = Requests();
    EXPECT_TRUE(CLoginState::RefreshAccountState());
    EXPECT_EQ(before + 1, Requests());
    EXPECT_EQ(L"GetAccountState", Log().Last().operation);
    EXPECT_NE(std::wstring::npos, Log().Last().body.find(L"<Username>test</Username>"));
    EXPECT_EQ(100, CLoginState::MessageLimit());

    // A failed refresh is shown but does not sign the user out.
    unsigned short port = ClosedPort();
    PointSdkAt(L"http://127.0.0.1:" + std::to_wstring(port) + L"/secure/messenger/soap/");
    EXPECT_FALSE(CLoginState::RefreshAccountState());
    EXPECT_TRUE(CLoginState::IsSignedIn());
    EXPECT_EQ(1u, m_boxes.boxes.size());
}

TEST_F(LoginState, CachedContactsAreFetchedOnceUntilReleased) {
    CComPtr<IContactService> service = NewContactService(L"test", L"test", L"TEST01");
    ASSERT_NE(nullptr, service.p);
    IObjectCollection* contacts = CLoginState::GetCachedContacts(std::move(service));
    ASSERT_NE(nullptr, contacts);
    EXPECT_EQ(4, CountOf(contacts));
    EXPECT_EQ(L"GetContacts", Log().Last().operation);

    size_t before = Requests();
    service = NewContactService(L"test", L"test", L"TEST01");
    IContactService* handed = service;
    handed->AddRef();
    EXPECT_EQ(contacts, CLoginState::GetCachedContacts(std::move(service)).p);
    EXPECT_EQ(0u, handed->Release()) << "the caller's reference was released";
    EXPECT_EQ(before, Requests()) << "served from the cache";

    // Signing in releases the caches.
    ASSERT_TRUE(CLoginState::SignIn("test", "test", "TEST01"));
    IObjectCollection* again = CLoginState::GetCachedContacts(NewContactService(L"test", L"test", L"TEST01"));
    EXPECT_EQ(4, CountOf(again));
    EXPECT_EQ(L"GetContacts", Log().Last().operation);

    CLoginState::ReleaseCachedContacts();
    before = Requests();
    EXPECT_EQ(4, CountOf(CLoginState::GetCachedContacts(NewContactService(L"test", L"test", L"TEST01"))));
    EXPECT_EQ(before + 1, Requests());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(LoginState, CachedGroupsAreFetchedOnceUntilReleased) {
    IObjectCollection* groups = CLoginState::GetCachedGroups(NewContactService(L"test", L"test", L"TEST01"));
    EXPECT_EQ(3, CountOf(groups));
    EXPECT_EQ(L"GetGroups", Log().Last().operation);
    size_t before = Requests();
    EXPECT_EQ(groups, CLoginState::GetCachedGroups(NewContactService(L"test", L"test", L"TEST01")).p);
    EXPECT_EQ(before, Requests());

    CLoginState::ReleaseCachedContacts();  // leaves the groups
    EXPECT_EQ(groups, CLoginState::GetCachedGroups(NewContactService(L"test", L"test", L"TEST01")).p);
    EXPECT_EQ(before, Requests());
    CLoginState::ReleaseCachedGroups();
    EXPECT_EQ(3, CountOf(CLoginState::GetCachedGroups(NewContactService(L"test", L"test", L"TEST01"))));
    EXPECT_EQ(before + 1, Requests());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(LoginState, FailedFetchIsReportedAndCachesNothing) {
    CComPtr<IContactService> service = NewContactService(L"test", L"wrong", L"TEST01");
    ASSERT_NE(nullptr, service.p);
    IContactService* handed = service;
    handed->AddRef();
    EXPECT_EQ(nullptr, CLoginState::GetCachedContacts(std::move(service)).p);
    EXPECT_EQ(0u, handed->Release()) << "released after a failure too";
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_CONTACTS_NOT_READ)));
    EXPECT_FALSE(LoadText(IDS_CONTACTS_NOT_READ).IsEmpty());

    EXPECT_EQ(nullptr, CLoginState::GetCachedGroups(NewContactService(L"test", L"wrong", L"TEST01")).p);
    ASSERT_EQ(2u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[1].text.Find(LoadText(IDS_GROUPS_NOT_READ)));

    // Nothing was cached: the next good service fetches.
    EXPECT_EQ(4, CountOf(CLoginState::GetCachedContacts(NewContactService(L"test", L"test", L"TEST01"))));
}

}  // namespace
