#include "LoginState.h"

#include <winuser.h>

bool CLoginState::s_signedIn = false;
CString CLoginState::s_username, CLoginState::s_account, CLoginState::s_accountId;

void CLoginState::SetSignedIn(const char* username, const char* account, const char* accountId) {
    s_username = username;
    s_account = account;
    s_accountId = accountId;
    s_signedIn = true;
}

void CLoginState::SignOut() {
    s_signedIn = false;
}

bool CLoginState::AutoSignIn() {
    return false;  // no stored credentials are read yet
}

int CLoginState::RunSignInDialog() {
    return IDCANCEL;  // no sign-in dialog yet: the program runs signed out
}

void CLoginState::ReleaseCachedCollections() {}
