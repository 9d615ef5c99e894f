// The server's classes linked in directly: the log lines of each operation, the warning box of
// Contacts, the error texts, and the small parts (window parameter, street address, book map).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mapitags.h>

#include "AddressBook.h"
#include "AddressDialog.h"
#include "BookMap.h"
#include "LogCapture.h"
#include "MailErrors.h"
#include "MailTestSupport.h"
#include "RecipientReader.h"
#include "UserMessage.h"
#include "resource.h"

CComModule _Module;

namespace {

using mapitest::CCard;
using mapitest::CEnvironment;

// Captures the server's log category for the length of a test.
class LogCapture : public testsupport::LogCapture {
public:
    LogCapture() : testsupport::LogCapture("CAddressBook") {}
};

// The message boxes the server showed.
struct ShownBox {
    std::string text, caption;
    UINT type;
};
std::vector<ShownBox> g_boxes;

int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    g_boxes.push_back({text, caption, type});
    return IDOK;
}

class InternalTest : public mailtest::AddressBookTest {
protected:
    static void SetUpTestSuite() {
        _Module.Init(nullptr, ::GetModuleHandleW(nullptr), &LIBID_TarvockMailSDKLib);
        s_satellite = ::LoadLibraryW(testsupport::BesideProgram(L"TarvockMailSDK_en.dll").c_str());
        ASSERT_NE(nullptr, s_satellite);
        _Module.SetResourceInstance(s_satellite);
    }
    static void TearDownTestSuite() {
        _Module.SetResourceInstance(::GetModuleHandleW(nullptr));
        ::FreeLibrary(s_satellite);
    }
    void SetUp() override {
        AddressBookTest::SetUp();
        g_boxes.clear();
        m_previousBox = SetMessageBoxFunction(&RecordBox);
        m_books.AddBook(L"Work");
        m_books.AddCard(L"Work", L"1.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("+111"));
        m_books.AddCard(L"Work", L"2.vcf", CCard("Bob Hart").Name("Bob", "Hart").Mobile("+222"));
    }
    void TearDown() override {
        m_object.Release();
        SetMessageBoxFunction(m_previousBox);
        AddressBookTest::TearDown();
    }

    IAddressBook* Object() {
        CComObject<CAddressBook>* object = nullptr;
        EXPECT_EQ(S_OK, CComObject<CAddressBook>::CreateInstance(&object));
        m_object = object;
        return m_object;
    }

    static HMODULE s_satellite;
    MessageBoxFunction m_previousBox = nullptr;
    CComPtr<IAddressBook> m_object;
};

HMODULE InternalTest::s_satellite = nullptr;

TEST_F(InternalTest, SelectContactsLogsEachOperationItRuns) {
    LogCapture log;
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Ann Lee|Work/Bob Hart");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, Object()->SelectContacts(0, &contacts));
    const std::string expected =
        "DEBUG Entering CAddressBook::SelectContacts\n"
        "DEBUG Entering CAddressBook::ShowDialog\n"
        "DEBUG Exiting CAddressBook::ShowDialog\n"
        "DEBUG Entering CAddressBook::getContacts\n"
        "DEBUG Entering CAddressBook::makeContact\n"
        "DEBUG Exiting CAddressBook::makeContact\n"
        "DEBUG Entering CAddressBook::makeContact\n"
        "DEBUG Exiting CAddressBook::makeContact\n"
        "DEBUG Exiting CAddressBook::getContacts\n"
        "DEBUG Exiting CAddressBook::SelectContacts\n";
    EXPECT_EQ(expected, log.Text());
}

TEST_F(InternalTest, AnUnreadableEntryIsLoggedAndLeftOut) {
    LogCapture log;
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Ann Lee|Work/Bob Hart");
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"OpenEntry:Ann Lee");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, Object()->SelectContacts(0, &contacts));
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::makeContact")) << log.Text();
    EXPECT_EQ((std::vector<std::wstring>{L"+222"}), mailtest::Mobiles(contacts));
}

TEST_F(InternalTest, ACancelIsLoggedAsAFailureOfSelectContacts) {
    LogCapture log;
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"cancel");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_FALSE, Object()->SelectContacts(0, &contacts));
    EXPECT_TRUE(log.Has("DEBUG Exiting CAddressBook::ShowDialog")) << log.Text();
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::SelectContacts")) << log.Text();
    EXPECT_FALSE(log.Has("DEBUG Exiting CAddressBook::SelectContacts"));
}

TEST_F(InternalTest, ADialogFailureIsLoggedByTheDialogAndBySelectContacts) {
    LogCapture log;
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"Address");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(E_FAIL, Object()->SelectContacts(0, &contacts));
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::ShowDialog")) << log.Text();
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::SelectContacts")) << log.Text();
}

TEST_F(InternalTest, ContactsLogsItsEntryOnlyAndWarnsOnFailureWithoutAnErrorLine) {
    IAddressBook* addressBook = Object();
    LogCapture log;
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_TRUE(log.Has("DEBUG Entering CAddressBook::get_Contacts")) << log.Text();
    EXPECT_EQ(std::string::npos, log.Text().find("Exiting CAddressBook::get_Contacts"));

    contacts.Release();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"GetContentsTable:Work");
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("There was a problem reading the selected address book.", g_boxes[0].text);
    EXPECT_EQ("Contacts", g_boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), g_boxes[0].type);
    EXPECT_EQ(std::string::npos, log.Text().find("An error occurred.")) << log.Text();
}

TEST_F(InternalTest, AnUnknownBookShowsNoWarningAndAnEmptyNameDoes) {
    IAddressBook* addressBook = Object();
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Unknown"), &contacts));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L""), &contacts));
    EXPECT_EQ(1u, g_boxes.size());
}

TEST_F(InternalTest, AddressBookNamesLogsEntryExitAndAPersonalBookWithoutAName) {
    m_books.AddBook(L"Personal", "[Book]\r\nDisplayName=\r\n");
    m_books.SetPersonal(L"Personal");
    LogCapture log;
    CComVariant names;
    ASSERT_EQ(S_OK, Object()->get_AddressBookNames(&names));
    EXPECT_TRUE(log.Has("DEBUG Entering CAddressBook::get_AddressBookNames")) << log.Text();
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::getAddressBookName")) << log.Text();
    EXPECT_TRUE(log.Has("DEBUG Exiting CAddressBook::get_AddressBookNames")) << log.Text();
    EXPECT_EQ((std::vector<std::wstring>{L"Work"}), mailtest::Names(names));
}

TEST_F(InternalTest, AddressBookNamesFailureIsLogged) {
    IAddressBook* addressBook = Object();
    LogCapture log;
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"QueryRows");
    CComVariant names;
    EXPECT_EQ(E_FAIL, addressBook->get_AddressBookNames(&names));
    EXPECT_TRUE(log.Has("ERROR An error occurred.  CAddressBook::get_AddressBookNames")) << log.Text();
}

// ---- parts ------------------------------------------------------------------------------------

TEST(MailParts, WindowHandlesAreSignExtended) {
    EXPECT_EQ(static_cast<ULONG_PTR>(0xFFFFFFFF80000000ull), CAddressDialog::WindowParam(0x80000000u));
    EXPECT_EQ(static_cast<ULONG_PTR>(0xFFFFFFFFFFFFFFFFull), CAddressDialog::WindowParam(0xFFFFFFFFu));
    EXPECT_EQ(static_cast<ULONG_PTR>(0x7FFFFFFFu), CAddressDialog::WindowParam(0x7FFFFFFFu));
    EXPECT_EQ(static_cast<ULONG_PTR>(0), CAddressDialog::WindowParam(0));
}

class ContactPartsTest : public testsupport::ComTest {
protected:
    CComPtr<IContact> NewContact() {
        CComPtr<IContact> contact;
        EXPECT_EQ(S_OK, contact.CoCreateInstance(CLSID_Contact));
        return contact;
    }
    static SPropValue Ansi(ULONG id, const char* text) {
        SPropValue value = {};
        value.ulPropTag = PROP_TAG(PT_STRING8, id);
        value.Value.lpszA = const_cast<char*>(text);
        return value;
    }
    static SPropValue Wide(ULONG id, const wchar_t* text) {
        SPropValue value = {};
        value.ulPropTag = PROP_TAG(PT_UNICODE, id);
        value.Value.lpszW = const_cast<wchar_t*>(text);
        return value;
    }
};

TEST_F(ContactPartsTest, StreetAddressIsSplitAtLineFeedsKeepingCarriageReturns) {
    CComPtr<IContact> contact = NewContact();
    CRecipientReader::ApplyProperty(contact, Ansi(0x3A29, "One\r\nTwo\r\nThree"));
    EXPECT_EQ(L"One\r", mailtest::Fields(contact).street1);
    EXPECT_EQ(L"Two\r", mailtest::Fields(contact).street2);

    contact = NewContact();
    CRecipientReader::ApplyProperty(contact, Wide(0x3A29, L"Uno\nDos"));
    EXPECT_EQ(L"Uno", mailtest::Fields(contact).street1);
    EXPECT_EQ(L"Dos", mailtest::Fields(contact).street2);

    contact = NewContact();
    CRecipientReader::ApplyProperty(contact, Ansi(0x3A29, "Only"));
    EXPECT_EQ(L"Only", mailtest::Fields(contact).street1);
    EXPECT_EQ(L"", mailtest::Fields(contact).street2);
}

TEST_F(ContactPartsTest, OnlyTextPropertiesOfTheMappedIdentifiersAreTaken) {
    CComPtr<IContact> contact = NewContact();
    SPropValue number = {};
    number.ulPropTag = PROP_TAG(PT_LONG, 0x3A06);
    number.Value.l = 5;
    CRecipientReader::ApplyProperty(contact, number);
    CRecipientReader::ApplyProperty(contact, Ansi(0x3A08, "business"));  // PR_BUSINESS_TELEPHONE_NUMBER
    CRecipientReader::ApplyProperty(contact, Ansi(0x3001, "display"));   // PR_DISPLAY_NAME
    CRecipientReader::ApplyProperty(contact, Wide(0x3A1C, L"+1"));
    const mailtest::ContactFields fields = mailtest::Fields(contact);
    EXPECT_EQ(L"", fields.firstName);
    EXPECT_EQ(L"", fields.telephone);
    EXPECT_EQ(L"+1", fields.mobile);
}

TEST(MailParts, TheBookMapIsCaseSensitiveAndKeepsTheLaterBook) {
    CBookMap books;
    const BYTE first[] = {1}, second[] = {2}, other[] = {3, 4};
    books.Put(CComBSTR(L"Shared"), CContainerEntry(CContainerEntry::HierarchyContainer, 1, reinterpret_cast<const ENTRYID*>(first)));
    books.Put(CComBSTR(L"shared"), CContainerEntry(CContainerEntry::HierarchyContainer, 2, reinterpret_cast<const ENTRYID*>(other)));
    books.Put(CComBSTR(L"Shared"), CContainerEntry(CContainerEntry::PersonalAddressBook, 1, reinterpret_cast<const ENTRYID*>(second)));
    EXPECT_EQ(2u, books.Size());
    const CContainerEntry* shared = books.Find(CComBSTR(L"Shared"));
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(static_cast<ULONG>(CContainerEntry::PersonalAddressBook), shared->GetKind());
    EXPECT_EQ(2, reinterpret_cast<const BYTE*>(shared->Id())[0]);
    EXPECT_EQ(2u, books.Find(CComBSTR(L"shared"))->Size());
    EXPECT_EQ(nullptr, books.Find(CComBSTR(L"SHARED")));
    books.Clear();
    EXPECT_TRUE(books.Empty());
}

class MailErrorsTest : public InternalTest {};

TEST_F(MailErrorsTest, TextsComeFromTheSatelliteWithTheirInsert) {
    try {
        ThrowInvalidArgument("bstrAddressBookName");
        FAIL();
    } catch (const CMailError& error) {
        EXPECT_EQ(E_INVALIDARG, error.Result());
    }
    EXPECT_EQ(L"The argument bstrAddressBookName is missing or empty.", testsupport::TakeErrorDescription());
    try {
        ThrowCallFailure(static_cast<HRESULT>(0x80040113), IDS_RECIPIENTS_NOT_READ);
        FAIL();
    } catch (const CMailError& error) {
        EXPECT_EQ(static_cast<HRESULT>(0x80040113), error.Result());
    }
    EXPECT_EQ(L"The chosen recipients could not be read (MAPI error 0x80040113).", testsupport::TakeErrorDescription());
    EXPECT_EQ(L"Select Recipients", LoadMailString(IDS_DIALOG_CAPTION));
    EXPECT_EQ(L"Recipients", LoadMailString(IDS_RECIPIENTS_WELL));
}

TEST_F(MailErrorsTest, ABareFailureTakesNoStaleDescriptionWithIt) {
    testsupport::SetErrorDescription(L"stale");
    try {
        ThrowHResult(E_INVALIDARG);
    } catch (const CMailError&) {
    }
    EXPECT_FALSE(testsupport::HasErrorInfo());
}

}  // namespace
