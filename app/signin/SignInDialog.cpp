// The sign-in dialog's entry point: runs the dialog modally.
#include "signin/LoginDlg.h"
#include "signin/LoginState.h"

int CLoginState::RunSignInDialog() {
    CLoginDlg dialog;
    INT_PTR result = dialog.DoModal();
    return result == IDOK ? IDOK : IDCANCEL;
}
