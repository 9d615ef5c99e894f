// The process-wide signed-in state that every web-service call carries. Signing in itself
// (the sign-in dialog, stored credentials and the account service) joins later; until then
// AutoSignIn and the dialog report "not signed in".
#pragma once

#include "afx.h"

class CLoginState {
public:
    static bool IsSignedIn() { return s_signedIn; }
    static const CString& Username() { return s_username; }
    static const CString& Account() { return s_account; }
    static const CString& AccountId() { return s_accountId; }

    // Records a completed sign-in (the sign-in code and tests).
    static void SetSignedIn(const char* username, const char* account, const char* accountId);
    // Empties the password and clears the signed-in flag.
    static void SignOut();
    // Signs in from the stored credentials; false when that is not possible.
    static bool AutoSignIn();
    // Runs the sign-in dialog modally; returns IDOK or IDCANCEL.
    static int RunSignInDialog();
    // Releases the cached contact and group collections.
    static void ReleaseCachedCollections();

private:
    static bool s_signedIn;
    static CString s_username, s_account, s_accountId;
};
