#include "signin/LoginState.h"

#include "afxwin.h"
#include "resource.h"
#include "shared/Helpers.h"
#include "signin/RijndaelCipher.h"
#include "TarvockLib.h"

#include <log4cpp/Category.hh>

#include <comsupp.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const char kClassName[] = "CLoginState";

log4cpp::Category& Log() {
    return log4cpp::Category::getInstance(kClassName);
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

// The earlier versions' cipher key: 13 characters and three zero bytes.
const char kLegacyKey[16] = {'k', 'q', 'h', 'r', '5', '3', '0', '6', 'v', 'n', '2', 't', 'y', 0, 0, 0};
const size_t kLegacyBlock = 16;

void Wipe(std::vector<BYTE>& bytes) {
    volatile BYTE* p = bytes.data();
    for (size_t i = 0; i < bytes.size(); ++i) p[i] = 0;
}

// The text before the first zero byte; false when there is none.
bool TextUpToTerminator(const BYTE* bytes, size_t length, CString& text) {
    const BYTE* end = bytes + length;
    const BYTE* zero = std::find(bytes, end, BYTE(0));
    if (zero == end) return false;
    text = CString(reinterpret_cast<const char*>(bytes), (int)(zero - bytes));
    return true;
}

enum class Collection { Contacts, Groups };

// The signed-in state's cached collection of that kind. Never destroyed: when the process ends,
// COM has gone, and a release then would call into an unloaded server.
CComPtr<IObjectCollection>& Cache(Collection which) {
    static auto* const contacts = new CComPtr<IObjectCollection>;
    static auto* const groups = new CComPtr<IObjectCollection>;
    return which == Collection::Contacts ? *contacts : *groups;
}

// The cache's collection, fetched through the service when there is none.
CComPtr<IObjectCollection> GetCached(Collection which, CComPtr<IContactService> service) {
    CComPtr<IObjectCollection>& cache = Cache(which);
    if (cache || !service) return cache;
    try {
        CComPtr<IObjectCollection> fetched;
        if (which == Collection::Contacts) {
            HR_CHECK_ON(service.p, IID_IContactService, service->GetContacts(&fetched));
        } else {
            HR_CHECK_ON(service.p, IID_IContactService, service->GetGroups(&fetched));
        }
        cache = std::move(fetched);
    } catch (const _com_error& error) {
        ReportComErrorId(which == Collection::Contacts ? IDS_CONTACTS_NOT_READ : IDS_GROUPS_NOT_READ, error, true);
    }
    return cache;
}

// The stored password: the protected value when there is one, else the legacy one.
bool ReadStoredPassword(CWinApp& app, CString& password, bool& legacy) {
    std::vector<BYTE> value;
    legacy = false;
    if (app.GetProfileBinary(CLoginState::kSection, CLoginState::kProtectedPasswordValue, value)) {
        bool read = CStoredPassword::Unprotect(value, password);
        if (!read) Log().warn("The stored password cannot be read; it is ignored.");
        return read;
    }
    if (!app.GetProfileBinary(CLoginState::kSection, CLoginState::kLegacyPasswordValue, value)) return false;
    legacy = true;
    bool read = CStoredPassword::DecipherLegacy(value, password);
    Wipe(value);
    if (!read) Log().warn("The stored password is damaged; it is ignored.");
    return read;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The stored password.

std::vector<BYTE> CStoredPassword::EncipherLegacy(const char* password) {
    const size_t length = std::strlen(password ? password : "") + 1;  // with the terminator
    std::vector<BYTE> plain((length + kLegacyBlock - 1) / kLegacyBlock * kLegacyBlock, 0);
    std::copy(password ? password : "", (password ? password : "") + length - 1, plain.begin());
    CRijndaelCipher cipher;
    cipher.MakeKey(kLegacyKey, nullptr, 16, 16);
    std::vector<BYTE> value(plain.size());
    cipher.Encrypt(reinterpret_cast<const char*>(plain.data()), reinterpret_cast<char*>(value.data()), plain.size(),
                   CRijndaelCipher::ECB);
    Wipe(plain);
    return value;
}

bool CStoredPassword::DecipherLegacy(const std::vector<BYTE>& value, CString& password) {
    password.Empty();
    if (value.empty() || value.size() % kLegacyBlock != 0) return false;
    CRijndaelCipher cipher;
    cipher.MakeKey(kLegacyKey, nullptr, 16, 16);
    std::vector<BYTE> plain(value.size());
    cipher.Decrypt(reinterpret_cast<const char*>(value.data()), reinterpret_cast<char*>(plain.data()), value.size(),
                   CRijndaelCipher::ECB);
    bool read = TextUpToTerminator(plain.data(), plain.size(), password);
    Wipe(plain);
    return read;
}

bool CStoredPassword::Protect(const char* password, std::vector<BYTE>& value) {
    value.clear();
    const char* text = password ? password : "";
    std::vector<BYTE> plain(text, text + std::strlen(text) + 1);  // with the terminator
    DATA_BLOB in = {(DWORD)plain.size(), plain.data()};
    DATA_BLOB out = {};
    BOOL made = ::CryptProtectData(&in, L"Tarvock Velko", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out);
    Wipe(plain);
    if (!made) {
        Log().error("The password cannot be protected (error %lu).", ::GetLastError());
        return false;
    }
    value.assign(out.pbData, out.pbData + out.cbData);
    ::LocalFree(out.pbData);
    return true;
}

bool CStoredPassword::Unprotect(const std::vector<BYTE>& value, CString& password) {
    password.Empty();
    if (value.empty()) return false;
    DATA_BLOB in = {(DWORD)value.size(), const_cast<BYTE*>(value.data())};
    DATA_BLOB out = {};
    if (!::CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return false;
    bool read = TextUpToTerminator(out.pbData, out.cbData, password);
    ::SecureZeroMemory(out.pbData, out.cbData);
    ::LocalFree(out.pbData);
    return read;
}

// ---------------------------------------------------------------------------------------------
// The signed-in state.

const char* const CLoginState::kSection = "Login";
const char* const CLoginState::kUsernameValue = "Username";
const char* const CLoginState::kAccountValue = "Account";
const char* const CLoginState::kProtectedPasswordValue = "ProtectedPassword";
const char* const CLoginState::kLegacyPasswordValue = "Password";

bool CLoginState::s_signedIn = false;
CString CLoginState::s_username, CLoginState::s_password, CLoginState::s_account;
CString CLoginState::s_accountId, CLoginState::s_serviceAlias;
long CLoginState::s_messageLimit = 0;
long CLoginState::s_features = 0;

bool CLoginState::SignIn(const char* user, const char* password, const char* account) {
    Log().debug("Entering %s::%s", kClassName, "SignIn");
    if (!SignInCore(user, password, account, false)) return false;
    SaveCredentials();
    return true;
}

bool CLoginState::SignInCore(const char* user, const char* password, const char* account, bool quiet) {
    Log().debug("Entering %s::%s", kClassName, "SignInCore");
    // Copies first: the arguments may be the stored values themselves.
    const CString userText(user), passwordText(password), accountText(account);
    s_signedIn = false;
    s_username = userText;
    ClearPassword();
    s_password = passwordText;
    s_account = accountText;
    if (!InternalRefreshAccountState(userText, passwordText, accountText, quiet)) return false;
    s_signedIn = true;
    ReleaseCachedCollections();  // they may belong to another account
    Log().info("Signed in as %s (account %s).", (const char*)s_username, (const char*)s_account);
    return true;
}

void CLoginState::SignOut() {
    Log().debug("Entering %s::%s", kClassName, "SignOut");
    ClearPassword();
    s_signedIn = false;
    SaveCredentials();
}

bool CLoginState::AutoSignIn() {
    Log().debug("Entering %s::%s", kClassName, "AutoSignIn");
    CWinApp* app = AfxGetApp();
    if (!app) return false;
    CString account = app->GetProfileString(kSection, kAccountValue);
    CString user = app->GetProfileString(kSection, kUsernameValue);
    if (account.IsEmpty() || user.IsEmpty()) return false;
    CString password;
    bool legacy = false;
    if (!ReadStoredPassword(*app, password, legacy) || password.IsEmpty()) return false;
    if (!SignInCore(user, password, account, true)) return false;
    if (legacy) SaveCredentials();  // the protected form replaces the legacy value
    return true;
}

void CLoginState::SaveCredentials() {
    Log().debug("Entering %s::%s", kClassName, "SaveCredentials");
    CWinApp* app = AfxGetApp();
    if (!app) return;
    app->WriteProfileString(kSection, kUsernameValue, s_username);
    app->WriteProfileString(kSection, kAccountValue, s_account);
    std::vector<BYTE> value;
    if (!s_password.IsEmpty() && CStoredPassword::Protect(s_password, value)) {
        if (!app->WriteProfileBinary(kSection, kProtectedPasswordValue, value.data(), (UINT)value.size()))
            Log().error("The password cannot be stored.");
    } else {
        app->WriteProfileString(kSection, kProtectedPasswordValue, nullptr);  // deletes the value
    }
    app->WriteProfileString(kSection, kLegacyPasswordValue, nullptr);
}

bool CLoginState::RefreshAccountState() {
    Log().debug("Entering %s::%s", kClassName, "RefreshAccountState");
    const CString user(s_username), password(s_password), account(s_account);
    return InternalRefreshAccountState(user, password, account, false);
}

bool CLoginState::InternalRefreshAccountState(const char* user, const char* password, const char* account,
                                              bool quiet) {
    Log().debug("Entering %s::%s", kClassName, "InternalRefreshAccountState");
    CComPtr<IAccountService> service;
    HRESULT hr = CreateRunningObject(CLSID_AccountService, service);
    if (FAILED(hr)) {
        ReportHResult(LoadText(IDS_ACCOUNT_SERVICE_NOT_CREATED), hr);
        return false;
    }
    try {
        _bstr_t userText(user), passwordText(password), accountText(account);
        HR_CHECK_ON(service.p, IID_IAccountService,
                    service->Initialise(userText, passwordText, accountText, MissingArgument()));
        CComPtr<IAccountState> state;
        HR_CHECK_ON(service.p, IID_IAccountService, service->GetAccountState(&state));
        if (!state) _com_issue_error(E_POINTER);
        long features = 0, limit = 0;
        HR_CHECK_ON(state.p, IID_IAccountState, state->get_Features(&features));
        s_features = features;
        s_accountId = ReadText(state.p, &IAccountState::get_ID);
        s_serviceAlias = ReadText(state.p, &IAccountState::get_ServiceAlias);
        HR_CHECK_ON(state.p, IID_IAccountState, state->get_MessageLimit(&limit));
        s_messageLimit = limit;
        return true;
    } catch (const _com_error& error) {
        if ((error.Error() & 0xFFFF) == ERROR_CODE_AUTHENTICATION_FAILED) {
            if (quiet) {
                Log().warn(LoadText(IDS_AUTHENTICATION_FAILED).str());
            } else {
                AfxMessageBox(IDS_AUTHENTICATION_FAILED, MB_ICONEXCLAMATION);
            }
        } else if (quiet) {
            Log().error(CString(error.ErrorMessage()).str());
        } else {
            ReportComErrorId(IDS_SIGN_IN_FAILED, error, true);
        }
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// The cached collections.

CComPtr<IObjectCollection> CLoginState::GetCachedContacts(CComPtr<IContactService> service) {
    Log().debug("Entering %s::%s", kClassName, "GetCachedContacts");
    return GetCached(Collection::Contacts, std::move(service));
}

CComPtr<IObjectCollection> CLoginState::GetCachedGroups(CComPtr<IContactService> service) {
    Log().debug("Entering %s::%s", kClassName, "GetCachedGroups");
    return GetCached(Collection::Groups, std::move(service));
}

void CLoginState::ReleaseCachedContacts() {
    Cache(Collection::Contacts).Release();
}

void CLoginState::ReleaseCachedGroups() {
    Cache(Collection::Groups).Release();
}

void CLoginState::ReleaseCachedCollections() {
    ReleaseCachedContacts();
    ReleaseCachedGroups();
}

// ---------------------------------------------------------------------------------------------

void CLoginState::SetSignedIn(const char* username, const char* account, const char* accountId) {
    s_username = username;
    s_account = account;
    s_accountId = accountId;
    s_signedIn = true;
}

void CLoginState::ClearPassword() {
    for (int i = 0; i < s_password.GetLength(); ++i) s_password.SetAt(i, '\0');
    s_password.Empty();
}
