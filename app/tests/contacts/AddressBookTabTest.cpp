// The picker's address-book tab over two vCard books read by our MAPI provider through the
// address-book server: the stored book opens, entries with a mobile are listed, their numbers
// are added, OK stores the chosen book, and a book that cannot be read is tried again.
#include "contacts/SelectContactsDlgEx.h"
#include "ContactWindowsTest.h"
#include "MapiTestBooks.h"
#include "resource.h"

#include <memory>

using S = CDialogScript;
using mapitest::CCard;

namespace {

class AddressBookTab : public ContactWindowsTest {
protected:
    void SetUp() override {
        ContactWindowsTest::SetUp();
        WarmCaches();
        m_root = std::make_unique<mapitest::CEnvironment>(TARVOCK_MAPI_ROOT_VARIABLE, m_books.Root());
        m_books.AddBook(L"Personal");
        m_books.SetPersonal(L"Personal");
        m_books.AddCard(L"Personal", L"ann.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("447700900401"));
        m_books.AddCard(L"Personal", L"nomobile.vcf", CCard("Nic Nobody").Name("Nic", "Nobody").Phone("WORK,VOICE", "01632960001"));
        m_books.AddBook(L"Work");
        m_books.AddCard(L"Work", L"bob.vcf", CCard("Bob Hart").Name("Bob", "Hart").Mobile("447700900402"));
        m_books.AddCard(L"Work", L"desk.vcf", CCard("").Mobile("447700900403"));
        // The books as the server names them.
        CComPtr<IAddressBook> addressBook;
        ASSERT_EQ(S_OK, addressBook.CoCreateInstance(CLSID_AddressBook));
        CComVariant names;
        ASSERT_EQ(S_OK, addressBook->get_AddressBookNames(&names));
        ASSERT_EQ(VT_ARRAY | VT_VARIANT, names.vt);
        LONG upper = -1;
        ::SafeArrayGetUBound(names.parray, 1, &upper);
        for (LONG i = 0; i <= upper; ++i) {
            CComVariant name;
            ::SafeArrayGetElement(names.parray, &i, &name);
            m_names.push_back(CString(name.bstrVal));
        }
        ASSERT_EQ(2u, m_names.size());
    }
    void TearDown() override {
        theTestApp.WriteProfileString(CSelectContactsDlgEx::kProfileSection, CSelectContactsDlgEx::kProfileEntry, nullptr);
        m_root.reset();
        ContactWindowsTest::TearDown();
    }
    CString StoredBook() {
        return theTestApp.GetProfileString(CSelectContactsDlgEx::kProfileSection, CSelectContactsDlgEx::kProfileEntry, "");
    }
    CString WorkBook() const { return m_names[0] == "Work" ? m_names[0] : m_names[1]; }
    CString PersonalBook() const { return m_names[0] == "Work" ? m_names[1] : m_names[0]; }

    mapitest::CTestBooks m_books;
    std::unique_ptr<mapitest::CEnvironment> m_root;
    std::vector<CString> m_names;
};

}  // namespace

TEST_F(AddressBookTab, TheStoredBookOpensItsMobilesAreAddedAndOkStoresTheChosenBook) {
    const CString second = m_names[1];
    theTestApp.WriteProfileString(CSelectContactsDlgEx::kProfileSection, CSelectContactsDlgEx::kProfileEntry, second);
    CSelectContactsDlgEx picker("Alice", nullptr);
    std::vector<CString> booksListed, firstEntries, otherEntries;
    CString opened;
    bool addEnabled = false;
    S script;
    script
        .Then("Select Recipients",
              [&](HWND d) {
                  EXPECT_TRUE(S::Entries(d, IDC_ADDRESS_BOOKS).empty()) << "listed when the tab is first shown";
                  S::SelectTab(d, IDC_SOURCE_TABS, CSelectContactsDlgEx::kAddressBookTab);
                  booksListed = S::Entries(d, IDC_ADDRESS_BOOKS);
                  opened = S::Text(d, IDC_ADDRESS_BOOKS);
                  firstEntries = S::Entries(d, IDC_ADDRESS_BOOK_ENTRIES);
                  addEnabled = S::Enabled(d, IDC_ADD_RECIPIENT);
                  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(d, IDC_NEW_ENTRY))) << "New belongs to the other tabs";
                  EXPECT_TRUE(S::Select(d, IDC_ADDRESS_BOOK_ENTRIES, firstEntries.empty() ? "" : firstEntries[0]));
                  S::DoubleClick(d, IDC_ADDRESS_BOOK_ENTRIES);
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  // The other book.
                  EXPECT_TRUE(S::SelectCombo(d, IDC_ADDRESS_BOOKS, m_names[0]));
                  otherEntries = S::Entries(d, IDC_ADDRESS_BOOK_ENTRIES);
                  ::SendDlgItemMessageW(d, IDC_ADDRESS_BOOK_ENTRIES, LB_SETCURSEL, 0, 0);
                  S::Click(d, IDC_ADD_RECIPIENT);
              })
        .Then("Select Recipients", [&](HWND d) {
            S::DoubleClick(d, IDC_ADDRESS_BOOK_ENTRIES);  // the same number again: refused
        })
        .Then("Select Recipients", [&](HWND d) { S::Click(d, IDOK); });
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(m_names, booksListed);
    EXPECT_STREQ(second, opened);
    EXPECT_TRUE(addEnabled);

    auto entriesOf = [&](const CString& book) {
        return book == WorkBook() ? std::vector<CString>{"Bob Hart", ""} : std::vector<CString>{"Ann Lee"};
    };
    auto mobileOf = [&](const CString& book) {
        return book == WorkBook() ? CString("447700900402") : CString("447700900401");
    };
    EXPECT_EQ(entriesOf(second), firstEntries);
    EXPECT_EQ(entriesOf(m_names[0]), otherEntries);
    CString expected = "Alice; " + mobileOf(second) + "; " + mobileOf(m_names[0]);
    EXPECT_STREQ(expected, picker.GetRecipients());
    ASSERT_EQ(1u, m_boxes.boxes.size());
    CString duplicate;
    duplicate.Format(LoadText(IDS_ALREADY_A_RECIPIENT), (const char*)mobileOf(m_names[0]));
    EXPECT_STREQ(duplicate, m_boxes.boxes[0].text);
    EXPECT_STREQ(m_names[0], StoredBook());
    EXPECT_EQ(0u, AllRequests()) << "the address book is no service call";
}

TEST_F(AddressBookTab, AnUnknownStoredBookOpensTheFirstAndAnUnreadableBookIsTriedAgain) {
    theTestApp.WriteProfileString(CSelectContactsDlgEx::kProfileSection, CSelectContactsDlgEx::kProfileEntry, "Gone");
    const CString work = WorkBook();
    const std::wstring workFolder = m_books.Root() + L"\\Work", hidden = m_books.Root() + L"\\Work.hidden";
    CSelectContactsDlgEx picker("", nullptr);
    CString opened, afterFailure, afterRetry;
    std::vector<CString> failedEntries, retriedEntries;
    bool serverWarned = false;
    S script;
    script
        .Then("Select Recipients",
              [&](HWND d) {
                  S::SelectTab(d, IDC_SOURCE_TABS, CSelectContactsDlgEx::kAddressBookTab);
                  opened = S::Text(d, IDC_ADDRESS_BOOKS);
                  // The work book goes away between listing and choosing it.
                  ::MoveFileW(workFolder.c_str(), hidden.c_str());
                  S::SelectCombo(d, IDC_ADDRESS_BOOKS, work);
                  failedEntries = S::Entries(d, IDC_ADDRESS_BOOK_ENTRIES);
                  afterFailure = S::Text(d, IDC_ADDRESS_BOOKS);
                  ::MoveFileW(hidden.c_str(), workFolder.c_str());
                  S::SelectCombo(d, IDC_ADDRESS_BOOKS, work);
                  retriedEntries = S::Entries(d, IDC_ADDRESS_BOOK_ENTRIES);
                  afterRetry = S::Text(d, IDC_ADDRESS_BOOKS);
              })
        .Then("Contacts",
              [&](HWND box) {  // the address-book server's own warning
                  serverWarned = true;
                  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              })
        .Then("Select Recipients", [&](HWND d) { S::Click(d, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_STREQ(m_names[0], opened);
    EXPECT_TRUE(serverWarned);
    EXPECT_TRUE(failedEntries.empty());
    EXPECT_STREQ("", afterFailure) << "no book is shown as open";
    EXPECT_EQ((std::vector<CString>{"Bob Hart", ""}), retriedEntries);
    EXPECT_STREQ(work, afterRetry);
    EXPECT_STREQ("Gone", StoredBook()) << "Cancel stores nothing";
}

TEST(AddressBookNames, AreReadByTheirRealTypeAndBoundsSkippingWhatIsNotText) {
    // VARIANTs as the server makes them, here from 1 and with a number among them.
    SAFEARRAYBOUND bound = {3, 1};
    SAFEARRAY* variants = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
    const wchar_t* texts[] = {L"Personal", nullptr, L"Caf\u00e9 Work"};
    for (LONG i = 1; i <= 3; ++i) {
        CComVariant item;
        if (texts[i - 1]) {
            item = texts[i - 1];
        } else {
            item = 42L;
        }
        ::SafeArrayPutElement(variants, &i, &item);
    }
    VARIANT names;
    ::VariantInit(&names);
    names.vt = VT_ARRAY | VT_VARIANT;
    names.parray = variants;
    EXPECT_EQ((std::vector<CString>{"Personal", CString(L"Caf\u00e9 Work")}), CSelectContactsDlgEx::ReadBookNames(names));
    ::VariantClear(&names);

    // Plain BSTRs are read too.
    bound = {2, 0};
    SAFEARRAY* strings = ::SafeArrayCreate(VT_BSTR, 1, &bound);
    for (LONG i = 0; i < 2; ++i) {
        CComBSTR text(i == 0 ? L"One" : L"Two");
        ::SafeArrayPutElement(strings, &i, text);
    }
    names.vt = VT_ARRAY | VT_BSTR;
    names.parray = strings;
    EXPECT_EQ((std::vector<CString>{"One", "Two"}), CSelectContactsDlgEx::ReadBookNames(names));
    ::VariantClear(&names);

    // Anything else gives no names.
    CComVariant single(L"Personal");
    EXPECT_TRUE(CSelectContactsDlgEx::ReadBookNames(single).empty());
    SAFEARRAYBOUND square[2] = {{1, 0}, {1, 0}};
    names.vt = VT_ARRAY | VT_VARIANT;
    names.parray = ::SafeArrayCreate(VT_VARIANT, 2, square);
    EXPECT_TRUE(CSelectContactsDlgEx::ReadBookNames(names).empty());
    ::VariantClear(&names);
    names.vt = VT_ARRAY | VT_I4;
    names.parray = ::SafeArrayCreate(VT_I4, 1, &bound);
    EXPECT_TRUE(CSelectContactsDlgEx::ReadBookNames(names).empty());
    ::VariantClear(&names);
}
