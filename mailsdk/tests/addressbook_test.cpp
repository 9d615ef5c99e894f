// AddressBook through COM, over folders of vCard books read by our MAPI provider: the books it
// lists, the contacts of a book, the address dialog's picks, its failures, and what it leaves
// behind in MAPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MailTestSupport.h"

namespace {

using mailtest::AddressBookTest;
using mapitest::CCard;
using mapitest::CEnvironment;
using testsupport::TakeErrorDescription;

std::vector<std::wstring> BookNames(IAddressBook* addressBook) {
    CComVariant names;
    EXPECT_EQ(S_OK, addressBook->get_AddressBookNames(&names));
    return mailtest::Names(names);
}

// ---- creation and lifetime -------------------------------------------------------------------

TEST_F(AddressBookTest, CreationLogsOnWithTheDefaultProfileAndNoMail) {
    mapitest::ResetProviderCounters();
    CComPtr<IAddressBook> addressBook = Create();
    ASSERT_TRUE(addressBook);
    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(1, counters.initializeCalls);
    EXPECT_EQ(1, counters.logons);
    EXPECT_EQ(0x8063u, counters.lastLogonFlags);
}

TEST_F(AddressBookTest, ReleaseLogsOffUninitialisesAndLeavesNothingBehind) {
    m_books.AddBook(L"Personal");
    m_books.SetPersonal(L"Personal");
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"a.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("+1"));
    {
        CComPtr<IAddressBook> addressBook = Create();
        ASSERT_TRUE(addressBook);
        mapitest::ResetProviderCounters();
        EXPECT_EQ(2u, BookNames(addressBook).size());
        CComPtr<IObjectCollection> contacts;
        EXPECT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    }
    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(1, counters.logoffs);
    EXPECT_EQ(1, counters.uninitializeCalls);
    EXPECT_EQ(0, counters.unbalancedUninitialize);
    EXPECT_EQ(0, counters.liveObjects) << "a session, book, container or table was not released";
    EXPECT_EQ(0, counters.liveBuffers) << "an entry identifier, row set or property array was not freed";
}

struct CreationFailure {
    const wchar_t* fault;
    HRESULT expected;
    LONG uninitialisations;  // MAPIUninitialize follows only a successful MAPIInitialize
    LONG logoffs;            // the session is logged off once it was opened
};

class CreationFailureTest : public AddressBookTest, public ::testing::WithParamInterface<CreationFailure> {};

TEST_P(CreationFailureTest, FailsCreationWithTheMapiResultAndUndoesWhatWasDone) {
    const CreationFailure& failure = GetParam();
    // Load the provider with the server first, so its counters can be read around the failure.
    CComPtr<IAddressBook> keeper = Create();
    ASSERT_TRUE(keeper);
    const TarvockMapiCounters before = mapitest::ProviderCounters();
    {
        CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, failure.fault);
        CComPtr<IAddressBook> addressBook;
        EXPECT_EQ(failure.expected, Create(addressBook));
        EXPECT_FALSE(addressBook);
        const std::wstring description = TakeErrorDescription();
        EXPECT_NE(std::wstring::npos, description.find(L"The MAPI address book could not be opened")) << testsupport::Narrow(description);
    }
    const TarvockMapiCounters after = mapitest::ProviderCounters();
    EXPECT_EQ(failure.uninitialisations, after.uninitializeCalls - before.uninitializeCalls);
    EXPECT_EQ(before.unbalancedUninitialize, after.unbalancedUninitialize);
    EXPECT_EQ(failure.logoffs, after.logoffs - before.logoffs);
    EXPECT_EQ(before.liveObjects, after.liveObjects);
    EXPECT_EQ(before.liveBuffers, after.liveBuffers);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreationFailureTest,
                         ::testing::Values(CreationFailure{L"MAPIInitialize=0x80040605", static_cast<HRESULT>(0x80040605), 0, 0},
                                           CreationFailure{L"MAPILogonEx=0x80040111", static_cast<HRESULT>(0x80040111), 1, 0},
                                           CreationFailure{L"OpenAddressBook", E_FAIL, 1, 1},
                                           CreationFailure{L"OpenRoot=0x8004010F", static_cast<HRESULT>(0x8004010F), 1, 1}));

TEST_F(AddressBookTest, NoProfileFailsCreationWithLogonFailed) {
    CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, m_books.Root() + L"\\missing");
    CComPtr<IAddressBook> addressBook;
    EXPECT_EQ(static_cast<HRESULT>(0x80040111), Create(addressBook));
}

// ---- AddressBookNames ------------------------------------------------------------------------

TEST_F(AddressBookTest, ListsThePersonalAddressBookFirstThenTheHierarchy) {
    m_books.AddBook(L"Work");
    m_books.AddBook(L"Family", "[Book]\r\nDisplayName=Family and Friends\r\n");
    m_books.AddBook(L"Personal", "[Book]\r\nDisplayName=Personal Address Book\r\n");
    m_books.SetPersonal(L"Personal");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"Personal Address Book", L"Family and Friends", L"Work"}), BookNames(addressBook));
}

TEST_F(AddressBookTest, ListsOnlyTheHierarchyWithoutAPersonalAddressBook) {
    m_books.AddBook(L"Work");
    m_books.AddBook(L"Family");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"Family", L"Work"}), BookNames(addressBook));
    EXPECT_EQ(0, mapitest::ProviderCounters().liveBuffers);
}

TEST_F(AddressBookTest, NoBooksAtAllIsAnEmptyList) {
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_TRUE(BookNames(addressBook).empty());
}

TEST_F(AddressBookTest, LeavesOutContainersThatHoldNoRecipientsOrHoldSubcontainersOrAreSearchedOnOpen) {
    m_books.AddBook(L"A Recipients", "[Book]\r\nContainerFlags=0x1\r\n");
    m_books.AddBook(L"B Subcontainers", "[Book]\r\nContainerFlags=0x3\r\n");
    m_books.AddBook(L"C Find on open", "[Book]\r\nContainerFlags=0x11\r\n");
    m_books.AddBook(L"D Modifiable only", "[Book]\r\nContainerFlags=0x4\r\n");
    m_books.AddBook(L"E Recipients modifiable", "[Book]\r\nContainerFlags=0x5\r\n");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"A Recipients", L"E Recipients modifiable"}), BookNames(addressBook));
}

TEST_F(AddressBookTest, SkipsAContainerWithoutADisplayName) {
    m_books.AddBook(L"Nameless", "[Book]\r\nDisplayName=\r\n");
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"Work"}), BookNames(addressBook));
}

TEST_F(AddressBookTest, LeavesOutAPersonalAddressBookWhoseNameCannotBeRead) {
    m_books.AddBook(L"Personal", "[Book]\r\nDisplayName=\r\n");
    m_books.SetPersonal(L"Personal");
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"Work"}), BookNames(addressBook));
}

TEST_F(AddressBookTest, ListsTwoContainersOfTheSameNameTwiceAndReadsTheLaterOne) {
    m_books.AddBook(L"1", "[Book]\r\nDisplayName=Shared\r\n");
    m_books.AddBook(L"2", "[Book]\r\nDisplayName=Shared\r\n");
    m_books.AddCard(L"1", L"a.vcf", CCard("Ann").Mobile("+111"));
    m_books.AddCard(L"2", L"b.vcf", CCard("Bob").Mobile("+222"));
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ((std::vector<std::wstring>{L"Shared", L"Shared"}), BookNames(addressBook));
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Shared"), &contacts));
    EXPECT_EQ((std::vector<std::wstring>{L"+222"}), mailtest::Mobiles(contacts));
}

TEST_F(AddressBookTest, AddressBookNamesFailureIsAnErrorWithADescription) {
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"GetHierarchyTable=0x80040115");
    CComVariant names;
    EXPECT_EQ(static_cast<HRESULT>(0x80040115), addressBook->get_AddressBookNames(&names));
    EXPECT_EQ(L"The address books could not be listed (MAPI error 0x80040115).", TakeErrorDescription());
    EXPECT_EQ(VT_EMPTY, names.vt);
}

TEST_F(AddressBookTest, AddressBookNamesFailsWhenThePersonalAddressBookCannotBeFound) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"GetPAB");
    CComVariant names;
    EXPECT_EQ(E_FAIL, addressBook->get_AddressBookNames(&names));
    EXPECT_EQ(L"The address books could not be listed (MAPI error 0x80004005).", TakeErrorDescription());
}

TEST_F(AddressBookTest, AddressBookNamesRefusesANullResult) {
    CComPtr<IAddressBook> addressBook = Create();
    testsupport::SetErrorDescription(L"stale");
    EXPECT_EQ(E_INVALIDARG, addressBook->get_AddressBookNames(nullptr));
    EXPECT_FALSE(testsupport::HasErrorInfo()) << "no stale description goes with the failure";
}

// ---- Contacts --------------------------------------------------------------------------------

TEST_F(AddressBookTest, ContactsAreTheEntriesWithAMobileNumberAsSdkContacts) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("+447700900001").Email("ann@example.org"));
    m_books.AddCard(L"Work", L"2.vcf", CCard("Bob Hart").Name("Bob", "Hart").Phone("WORK", "0207 946 0000"));
    m_books.AddCard(L"Work", L"3.vcf", CCard("Cy").Mobile("+447700900003"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    ASSERT_TRUE(contacts);
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(2u, items.size());

    const mailtest::ContactFields ann = mailtest::Fields(items[0]);
    EXPECT_EQ(L"Ann", ann.firstName);
    EXPECT_EQ(L"Lee", ann.lastName);
    EXPECT_EQ(L"+447700900001", ann.mobile);
    EXPECT_EQ(0, ann.contactType);
    EXPECT_EQ(L"", ann.email) << "a book's contacts carry names and the mobile number only";
    const mailtest::ContactFields cy = mailtest::Fields(items[1]);
    EXPECT_EQ(L"", cy.firstName);
    EXPECT_EQ(L"", cy.lastName);
    EXPECT_EQ(L"+447700900003", cy.mobile);

    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(8u, counters.lastRestrictionType) << "RES_EXIST";
    EXPECT_EQ(0x3A1C001Eu, counters.lastRestrictionTag) << "PR_MOBILE_TELEPHONE_NUMBER_A";
}

TEST_F(AddressBookTest, ContactsOfTheFirstCallListTheBooksFirst) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann").Mobile("+1"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    EXPECT_EQ((std::vector<std::wstring>{L"+1"}), mailtest::Mobiles(contacts));
}

TEST_F(AddressBookTest, ContactsOfThePersonalAddressBook) {
    m_books.AddBook(L"Personal");
    m_books.SetPersonal(L"Personal");
    m_books.AddCard(L"Personal", L"1.vcf", CCard("Ann").Name("Ann", "Lee").Mobile("+1"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Personal"), &contacts));
    EXPECT_EQ((std::vector<std::wstring>{L"+1"}), mailtest::Mobiles(contacts));
}

TEST_F(AddressBookTest, BookNamesAreMatchedExactly) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann").Mobile("+1"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"work"), &contacts));
    EXPECT_FALSE(contacts) << "names are case-sensitive";
}

TEST_F(AddressBookTest, AnUnknownBookIsNoCollectionAndNoError) {
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    testsupport::SetErrorDescription(L"stale");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Nowhere"), &contacts));
    EXPECT_FALSE(contacts);
}

TEST_F(AddressBookTest, OneContactStandsForEachDistinctNumberTheFirstInTableOrder) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann").Name("Ann", "Lee").Mobile("+111"));
    m_books.AddCard(L"Work", L"2.vcf", CCard("Annie").Name("Annie", "Lee").Mobile("+111"));
    m_books.AddCard(L"Work", L"3.vcf", CCard("Bob").Name("Bob", "Hart").Mobile("+222"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(L"Ann", mailtest::Fields(items[0]).firstName);
    EXPECT_EQ(L"Bob", mailtest::Fields(items[1]).firstName);
}

TEST_F(AddressBookTest, AtMostAThousandRowsAreRead) {
    m_books.AddBook(L"Big");
    std::string cards;
    for (int i = 0; i < 1500; ++i) cards += CCard("Person " + std::to_string(i)).Mobile("+44" + std::to_string(7700000000LL + i)).Text();
    m_books.AddFile(L"Big", L"all.vcf", cards);
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Big"), &contacts));
    long count = 0;
    contacts->get_Count(&count);
    EXPECT_EQ(1000, count);
}

TEST_F(AddressBookTest, ABookThatRefusesTheRestrictionIsReadWholeRowsWithoutNumbersSkipped) {
    m_books.AddBook(L"Directory", "[Book]\r\nRestriction=refuse\r\n");
    m_books.AddCard(L"Directory", L"1.vcf", CCard("Ann").Phone("HOME", "0113"));
    m_books.AddCard(L"Directory", L"2.vcf", CCard("Bob").Mobile("+222"));
    m_books.AddCard(L"Directory", L"3.vcf", CCard("Cy"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Directory"), &contacts));
    EXPECT_EQ((std::vector<std::wstring>{L"+222"}), mailtest::Mobiles(contacts));
}

TEST_F(AddressBookTest, SkippedRowsCountTowardsTheThousandWhenTheRestrictionIsRefused) {
    m_books.AddBook(L"Directory", "[Book]\r\nRestriction=refuse\r\n");
    std::string cards;
    for (int i = 0; i < 1000; ++i) cards += CCard("Nobody " + std::to_string(i)).Text();
    m_books.AddFile(L"Directory", L"1.vcf", cards);
    m_books.AddCard(L"Directory", L"2.vcf", CCard("Late").Mobile("+999"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Directory"), &contacts));
    long count = -1;
    contacts->get_Count(&count);
    EXPECT_EQ(0, count);
}

TEST_F(AddressBookTest, AMobileNumberOnlyOnTheMailUserIsFoundThroughTheEntry) {
    m_books.AddBook(L"Directory", "[Book]\r\nMobileColumn=no\r\n");
    m_books.AddCard(L"Directory", L"1.vcf", CCard("Ann").Name("Ann", "Lee").Mobile("+111"));
    m_books.AddCard(L"Directory", L"2.vcf", CCard("Team").Group().Mobile("+999"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Directory"), &contacts));
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(1u, items.size()) << "a distribution list is not a mail user";
    EXPECT_EQ(L"+111", mailtest::Fields(items[0]).mobile);
    EXPECT_EQ(L"Ann", mailtest::Fields(items[0]).firstName);
}

TEST_F(AddressBookTest, AnEntryThatCannotBeOpenedForItsNumberIsSkipped) {
    m_books.AddBook(L"Directory", "[Book]\r\nMobileColumn=no\r\n");
    m_books.AddCard(L"Directory", L"1.vcf", CCard("Ann").Mobile("+111"));
    m_books.AddCard(L"Directory", L"2.vcf", CCard("Bob").Mobile("+222"));
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"OpenEntry:Ann");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->get_Contacts(CComBSTR(L"Directory"), &contacts));
    EXPECT_EQ((std::vector<std::wstring>{L"+222"}), mailtest::Mobiles(contacts));
}

TEST_F(AddressBookTest, AnEmptyNameIsAWarningWithTheArgumentText) {
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L""), &contacts));
    EXPECT_FALSE(contacts);
    EXPECT_EQ(L"The argument bstrAddressBookName is missing or empty.", TakeErrorDescription());
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(nullptr, &contacts));
    EXPECT_FALSE(contacts);
    IObjectCollection* untouched = reinterpret_cast<IObjectCollection*>(static_cast<ULONG_PTR>(0x1));
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L""), &untouched));
    EXPECT_EQ(nullptr, untouched) << "the result is NULL on a warning";
}

TEST_F(AddressBookTest, ANullResultPointerIsNeverWrittenThrough) {
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L"Work"), nullptr));
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L""), nullptr));
    EXPECT_EQ(E_INVALIDARG, addressBook->SelectContacts(0, nullptr));
}

TEST_F(AddressBookTest, AFailingTableIsAWarningAndNoCollection) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann").Mobile("+1"));
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"QueryRows:Work");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L"Work"), &contacts));
    EXPECT_FALSE(contacts);
}

// ---- SelectContacts ----------------------------------------------------------------------------

class SelectContactsTest : public AddressBookTest {
protected:
    void SetUp() override {
        AddressBookTest::SetUp();
        m_books.AddBook(L"Personal");
        m_books.SetPersonal(L"Personal");
        m_books.AddBook(L"Work");
        m_books.AddCard(L"Personal", L"zoe.vcf",
                        CCard("Zoe Hill").Name("Zoe", "Hill").Nickname("Zed").Mobile("+447700900001")
                            .Phone("HOME,VOICE,PREF", "0113 496 0001")
                            .Address({"1 High Street", "Flat 2", "Rear"}, "Leeds", "West Yorkshire", "LS1 1AA", "United Kingdom")
                            .Email("zoe@example.org"));
        m_books.AddCard(L"Work", L"bob.vcf", CCard("Bob Hart").Name("Bob", "Hart").Phone("WORK", "0207 946 0000")
                                                 .Address({"2 Low Road"}, "York", "", "YO1 1AA", ""));
        m_books.AddCard(L"Work", L"eli.vcf", CCard("Eli Ήλιος").Name("Eli", "Ήλιος").Mobile("+302100000000"));
    }
};

TEST_F(SelectContactsTest, ThePicksComeBackAsContactsWithEveryMappedField) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Personal/Zoe Hill|Work/Bob Hart");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    ASSERT_TRUE(contacts);
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(2u, items.size());

    const mailtest::ContactFields zoe = mailtest::Fields(items[0]);
    EXPECT_EQ(0, zoe.contactType);
    EXPECT_EQ(L"Zed", zoe.quickName);
    EXPECT_EQ(L"Zoe", zoe.firstName);
    EXPECT_EQ(L"Hill", zoe.lastName);
    EXPECT_EQ(L"0113 496 0001", zoe.telephone);
    EXPECT_EQ(L"+447700900001", zoe.mobile);
    EXPECT_EQ(L"1 High Street\r", zoe.street1) << "the carriage return before the line feed stays";
    EXPECT_EQ(L"Flat 2\r", zoe.street2);
    EXPECT_EQ(L"Leeds", zoe.town);
    EXPECT_EQ(L"West Yorkshire", zoe.county);
    EXPECT_EQ(L"LS1 1AA", zoe.postcode);
    EXPECT_EQ(L"United Kingdom", zoe.country);
    EXPECT_EQ(L"zoe@example.org", zoe.email);

    const mailtest::ContactFields bob = mailtest::Fields(items[1]);
    EXPECT_EQ(L"Bob", bob.firstName);
    EXPECT_EQ(L"", bob.mobile) << "picks are not filtered by mobile number";
    EXPECT_EQ(L"", bob.telephone) << "a work number is not the primary number";
    EXPECT_EQ(L"2 Low Road", bob.street1);
    EXPECT_EQ(L"", bob.street2) << "a one-line address";
    EXPECT_EQ(L"York", bob.town);
}

TEST_F(SelectContactsTest, TextsTheAnsiCodePageCannotHoldArriveInFull) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Eli Ήλιος");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(mapitest::Widen("Ήλιος"), mailtest::Fields(items[0]).lastName);
}

TEST_F(SelectContactsTest, TheDialogIsModalSelectOnlyResolvingWithOneWell) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Bob Hart");
    mapitest::ResetProviderCounters();
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(1, counters.addressCalls);
    EXPECT_EQ(0x31u, counters.lastAddressFlags);
    EXPECT_EQ(1u, counters.lastAddressDestFields);
    EXPECT_STREQ(L"Select Recipients", counters.lastAddressCaption);
    EXPECT_STREQ(L"Recipients", counters.lastAddressDestTitle);
}

TEST_F(SelectContactsTest, TheWindowHandleIsSignExtended) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"cancel");
    CComPtr<IObjectCollection> contacts;
    addressBook->SelectContacts(0x80001234u, &contacts);
    EXPECT_EQ(static_cast<ULONG_PTR>(0xFFFFFFFF80001234ull), mapitest::ProviderCounters().lastAddressUIParam);
    addressBook->SelectContacts(0x00401234u, &contacts);
    EXPECT_EQ(static_cast<ULONG_PTR>(0x00401234u), mapitest::ProviderCounters().lastAddressUIParam);
}

TEST_F(SelectContactsTest, CancellingIsFalseAndNoCollection) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"cancel");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(S_FALSE, addressBook->SelectContacts(0, &contacts));
    EXPECT_FALSE(contacts);
}

TEST_F(SelectContactsTest, AnEntryThatCannotBeReadIsLeftOut) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Personal/Zoe Hill|Work/Bob Hart|Work/Eli Ήλιος");
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"OpenEntry:Bob Hart,GetProps:Zoe Hill=0x00040380");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    const std::vector<CComPtr<IDispatch>> items = mailtest::Items(contacts);
    ASSERT_EQ(1u, items.size()) << "no empty items: a warning from GetProps fails the entry too";
    ASSERT_TRUE(items[0]);
    EXPECT_EQ(L"Eli", mailtest::Fields(items[0]).firstName);
}

TEST_F(SelectContactsTest, ADialogFailureIsAnErrorWithADescription) {
    CComPtr<IAddressBook> addressBook = Create();
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Nobody");
    CComPtr<IObjectCollection> contacts;
    EXPECT_EQ(static_cast<HRESULT>(0x8004010F), addressBook->SelectContacts(0, &contacts));
    EXPECT_FALSE(contacts);
    EXPECT_EQ(L"The chosen recipients could not be read (MAPI error 0x8004010F).", TakeErrorDescription());
}

TEST_F(SelectContactsTest, EveryRecipientListIsFreed) {
    CComPtr<IAddressBook> addressBook = Create();
    const LONG buffers = mapitest::ProviderCounters().liveBuffers;
    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Personal/Zoe Hill|Work/Bob Hart");
    CComPtr<IObjectCollection> contacts;
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"OpenEntry:Bob Hart");
    contacts.Release();
    ASSERT_EQ(S_OK, addressBook->SelectContacts(0, &contacts));
    EXPECT_EQ(buffers, mapitest::ProviderCounters().liveBuffers);
}

// ---- automation -------------------------------------------------------------------------------

TEST_F(AddressBookTest, ServesItsDualInterfaceAndErrorInfoForItOnly) {
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<ISupportErrorInfo> errorInfo;
    ASSERT_EQ(S_OK, addressBook->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&errorInfo)));
    EXPECT_EQ(S_OK, errorInfo->InterfaceSupportsErrorInfo(IID_IAddressBook));
    EXPECT_EQ(S_FALSE, errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch));
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, addressBook->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    EXPECT_EQ(1, testsupport::DispIdOf(dispatch, L"SelectContacts"));
    EXPECT_EQ(2, testsupport::DispIdOf(dispatch, L"Contacts"));
    EXPECT_EQ(3, testsupport::DispIdOf(dispatch, L"AddressBookNames"));
}

TEST_F(AddressBookTest, TheProgIdCreatesTheClass) {
    CLSID clsid = {};
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"TarvockMailSDK.AddressBook", &clsid));
    EXPECT_TRUE(::IsEqualCLSID(CLSID_AddressBook, clsid));
    ASSERT_EQ(S_OK, ::CLSIDFromProgID(L"TarvockMailSDK.AddressBook.1", &clsid));
    EXPECT_TRUE(::IsEqualCLSID(CLSID_AddressBook, clsid));
}

TEST_F(AddressBookTest, ThroughIDispatchAFailureCarriesItsDescription) {
    m_books.AddBook(L"Work");
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, addressBook->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"QueryRows");
    CComVariant result;
    EXCEPINFO excep = {};
    EXPECT_EQ(DISP_E_EXCEPTION, testsupport::InvokeByName(dispatch, L"AddressBookNames", DISPATCH_PROPERTYGET, {}, &result, &excep));
    EXPECT_EQ(E_FAIL, excep.scode);
    EXPECT_EQ(std::string("The address books could not be listed (MAPI error 0x80004005)."), testsupport::Narrow(excep.bstrDescription));
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrHelpFile);
}

TEST_F(AddressBookTest, ThroughIDispatchTheBooksAndContactsAreRead) {
    m_books.AddBook(L"Work");
    m_books.AddCard(L"Work", L"1.vcf", CCard("Ann").Name("Ann", "Lee").Mobile("+1"));
    CComPtr<IAddressBook> addressBook = Create();
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, addressBook->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    CComVariant names;
    ASSERT_EQ(S_OK, testsupport::InvokeByName(dispatch, L"AddressBookNames", DISPATCH_PROPERTYGET, {}, &names));
    EXPECT_EQ((std::vector<std::wstring>{L"Work"}), mailtest::Names(names));
    CComVariant book(L"Work");
    CComVariant contacts;
    ASSERT_EQ(S_OK, testsupport::InvokeByName(dispatch, L"Contacts", DISPATCH_PROPERTYGET, {book}, &contacts));
    ASSERT_EQ(VT_DISPATCH, contacts.vt);
    CComPtr<IObjectCollection> collection;
    ASSERT_EQ(S_OK, contacts.pdispVal->QueryInterface(IID_IObjectCollection, reinterpret_cast<void**>(&collection)));
    EXPECT_EQ((std::vector<std::wstring>{L"+1"}), mailtest::Mobiles(collection));
}

}  // namespace
