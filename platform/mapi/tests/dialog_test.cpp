// The interactive address dialog on the test run's display: the user chooses a book, selects
// an entry, adds it to the destination well and presses OK; or cancels.
#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

#include <gtest/gtest.h>

#include "DesktopSupport.h"
#include "MapiProviderControl.h"
#include "MapiTestBooks.h"
#include "RecipientDialog.h"

namespace {

using mapitest::CCard;
using mapitest::CEnvironment;
using mapitest::CTestBooks;

// What the timer does once the dialog is up.
enum class UserAction { PickSecondBookFirstEntry, Cancel };
UserAction g_action = UserAction::Cancel;
bool g_sawDialog = false;
std::wstring g_addLabel;

void CALLBACK ActAsUser(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowW(L"#32770", L"Choose Recipients");
    if (!dialog) return;
    ::KillTimer(nullptr, timer);
    g_sawDialog = true;
    wchar_t label[64] = {};
    ::GetDlgItemTextW(dialog, TARVOCK_MAPI_DIALOG_ADD, label, 64);
    g_addLabel = label;
    if (g_action == UserAction::Cancel) {
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    HWND books = ::GetDlgItem(dialog, TARVOCK_MAPI_DIALOG_BOOKS);
    ::SendMessageW(books, CB_SETCURSEL, 1, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(TARVOCK_MAPI_DIALOG_BOOKS, CBN_SELCHANGE), reinterpret_cast<LPARAM>(books));
    ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_ENTRIES, LB_SETSEL, TRUE, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(TARVOCK_MAPI_DIALOG_ADD, BN_CLICKED), 0);
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display for the dialog";
        // The dialog opens on a desktop of this test's own, which is up before it runs.
        static const bool desktop = TestUseOwnDesktop(L"TarvockMapiDialogTests");
        ASSERT_TRUE(desktop);
        ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
        m_books.AddBook(L"Personal");
        m_books.SetPersonal(L"Personal");
        m_books.AddBook(L"Work");
        m_books.AddCard(L"Personal", L"a.vcf", CCard("Ann Lee"));
        m_books.AddCard(L"Work", L"b.vcf", CCard("Bob Hart"));
        m_books.AddCard(L"Work", L"c.vcf", CCard("Cy Moss"));
        CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, m_books.Root());
        ASSERT_EQ(S_OK, MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED, &m_session));
        ASSERT_EQ(S_OK, m_session->OpenAddressBook(0, nullptr, 0, &m_book));
    }
    void TearDown() override {
        UlRelease(m_book);
        UlRelease(m_session);
        if (m_session) MAPIUninitialize();
    }

    HRESULT Run(UserAction action, LPADRLIST* list) {
        g_action = action;
        g_sawDialog = false;
        mapitest::CRecipientDialogParms parms("Choose Recipients", "Send to");
        ULONG_PTR parent = 0;
        ::SetTimer(nullptr, 0, 50, ActAsUser);
        return m_book->Address(&parent, parms.get(), list);
    }

    CTestBooks m_books;
    IMAPISession* m_session = nullptr;
    IAddrBook* m_book = nullptr;
};

TEST_F(DialogTest, TheUserPicksAnEntryOfTheChosenBook) {
    LPADRLIST list = nullptr;
    ASSERT_EQ(S_OK, Run(UserAction::PickSecondBookFirstEntry, &list));
    EXPECT_TRUE(g_sawDialog);
    EXPECT_EQ(L"Send to ->", g_addLabel);
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(1u, list->cEntries);
    EXPECT_STREQ("Bob Hart", list->aEntries[0].rgPropVals[0].Value.lpszA);
    FreePadrlist(list);
}

TEST_F(DialogTest, CancellingReturnsUserCancelAndNoList) {
    LPADRLIST list = nullptr;
    EXPECT_EQ(MAPI_E_USER_CANCEL, Run(UserAction::Cancel, &list));
    EXPECT_TRUE(g_sawDialog);
    EXPECT_EQ(nullptr, list);
}

}  // namespace
