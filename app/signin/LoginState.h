// The process-wide signed-in state that every web-service call carries: the credentials, the
// account as the service last reported it, signing in and out, the automatic sign-in from the
// credentials stored in the profile section "Login", and the cached contact and group
// collections the windows share. UI thread only; logs under "CLoginState".
#pragma once

#include "afx.h"

#include <atlbase.h>
#include <windows.h>

#include <vector>

struct IContactService;
struct IObjectCollection;

// The password as stored in the profile.
//
// "ProtectedPassword" (written by this program): the password's ANSI bytes and a terminating
// zero, protected with the user's data protection key (CryptProtectData), so only the same
// Windows user can read it back.
//
// "Password" (written by earlier versions, read only): the ANSI bytes and a terminating zero,
// padded with zeros to whole 16-byte blocks and enciphered with AES-128 in ECB mode under a key
// built into the program. Saving credentials deletes it.
class CStoredPassword {
public:
    // The earlier versions' format: an empty password is one block, 15 characters are one
    // block, 16 characters two (the terminator needs a byte).
    static std::vector<BYTE> EncipherLegacy(const char* password);
    // False when the value is empty, not whole blocks, or holds no terminator (no stored
    // password); else the text up to the first zero byte.
    static bool DecipherLegacy(const std::vector<BYTE>& value, CString& password);

    // False when the system cannot protect the data.
    static bool Protect(const char* password, std::vector<BYTE>& value);
    // False when the value cannot be unprotected (another user's, damaged) or holds no
    // terminator; else the text up to the first zero byte.
    static bool Unprotect(const std::vector<BYTE>& value, CString& password);
};

class CLoginState {
public:
    // Names of the profile section and its values.
    static const char* const kSection;                 // "Login"
    static const char* const kUsernameValue;           // "Username"
    static const char* const kAccountValue;            // "Account"
    static const char* const kProtectedPasswordValue;  // "ProtectedPassword"
    static const char* const kLegacyPasswordValue;     // "Password"

    static bool IsSignedIn() { return s_signedIn; }
    static const CString& Username() { return s_username; }
    static const CString& Password() { return s_password; }
    static const CString& Account() { return s_account; }
    // The account as the service last reported it.
    static const CString& AccountId() { return s_accountId; }
    static const CString& ServiceAlias() { return s_serviceAlias; }
    static long MessageLimit() { return s_messageLimit; }
    static long Features() { return s_features; }  // ACCOUNT_FEATURES flags

    // Signs in interactively (the sign-in dialog): SignInCore, and on success the credentials
    // are saved. Failures are shown.
    static bool SignIn(const char* user, const char* password, const char* account);
    // Stores the credentials and reads the account state; signed in when that succeeds (the
    // cached collections are then released). When quiet, a refused sign-in is only logged.
    static bool SignInCore(const char* user, const char* password, const char* account, bool quiet);
    // Empties the password, clears the signed-in flag and saves the credentials (so no
    // password stays stored).
    static void SignOut();
    // Signs in quietly from the stored credentials; false when there are none or the sign-in
    // fails. A legacy stored password is re-saved in the protected form after it signed in.
    static bool AutoSignIn();
    // Writes "Username", "Account" and the protected password (none for an empty password), and
    // deletes the legacy "Password".
    static void SaveCredentials();

    // Reads the account state again with the current credentials; failures are shown.
    static bool RefreshAccountState();
    static bool InternalRefreshAccountState(const char* user, const char* password, const char* account, bool quiet);

    // The cached collections, fetched through the initialised service on first use after a
    // release. The call takes the service over (a caller that goes on using it passes a copy).
    // Every window shares these collections: whoever keeps one holds a reference to it (the
    // result is one), so a release of the cache never frees it under a window, and entries are
    // found by identity, never by position, since other windows add and remove entries. Null
    // after a failure, which is reported (strings 5002 and 5003).
    static CComPtr<IObjectCollection> GetCachedContacts(CComPtr<IContactService> service);
    static CComPtr<IObjectCollection> GetCachedGroups(CComPtr<IContactService> service);
    static void ReleaseCachedContacts();
    static void ReleaseCachedGroups();
    static void ReleaseCachedCollections();

    // Runs the sign-in dialog modally; returns IDOK or IDCANCEL (SignInDialog.cpp).
    static int RunSignInDialog();

    // Records a completed sign-in without the service (tests of other windows).
    static void SetSignedIn(const char* username, const char* account, const char* accountId);

private:
    static void ClearPassword();

    static bool s_signedIn;
    static CString s_username, s_password, s_account;
    static CString s_accountId, s_serviceAlias;
    static long s_messageLimit, s_features;
};
