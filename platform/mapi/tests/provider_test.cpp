// The provider through the MAPI functions and interfaces, as a caller sees it: logon over a
// folder of books, the root hierarchy, the personal address book, contents tables with columns
// and restrictions, entry properties, the scripted address dialog, memory and object counts,
// and injected failures.
#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MapiProviderControl.h"
#include "MapiTestBooks.h"
#include "RecipientDialog.h"

namespace {

using mapitest::CCard;
using mapitest::CEnvironment;
using mapitest::CTestBooks;

// Releases a MAPI interface at the end of a scope.
template <class T>
class Ref {
public:
    ~Ref() { Reset(); }
    void Reset() {
        UlRelease(p);
        p = nullptr;
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    T* p = nullptr;
};

class ProviderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_baseline = mapitest::ProviderCounters();
        ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
    }
    void TearDown() override {
        m_book.Reset();
        m_session.Reset();
        MAPIUninitialize();
        const TarvockMapiCounters now = mapitest::ProviderCounters();
        EXPECT_EQ(m_baseline.liveObjects, now.liveObjects) << "provider objects left alive";
        EXPECT_EQ(m_baseline.liveBuffers, now.liveBuffers) << "MAPI buffers left unfreed";
    }

    // Logs on over the books and opens the address book.
    void Open(const CTestBooks& books) {
        CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, books.Root());
        ASSERT_EQ(S_OK, MAPILogonEx(0, nullptr, nullptr, MAPI_EXTENDED | MAPI_NO_MAIL, &m_session));
        ASSERT_EQ(S_OK, m_session->OpenAddressBook(0, nullptr, 0, &m_book));
    }

    IABContainer* OpenBook(ULONG cb, LPENTRYID id) {
        ULONG type = 0;
        IUnknown* unknown = nullptr;
        EXPECT_EQ(S_OK, m_book->OpenEntry(cb, id, nullptr, 0, &type, &unknown));
        EXPECT_EQ(static_cast<ULONG>(MAPI_ABCONT), type);
        return static_cast<IABContainer*>(unknown);
    }
    IABContainer* OpenBook(const std::vector<BYTE>& id) {
        return OpenBook(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(id.data())));
    }

    // Opens the first book of the hierarchy and its contents table, and reads its first count rows.
    void FirstBookRows(Ref<IABContainer>& book, Ref<IMAPITable>& table, ULONG count, LPSRowSet* rows) {
        const std::vector<BYTE> work = Hierarchy().at(0).entryId;
        book.p = OpenBook(work);
        ASSERT_EQ(S_OK, book->GetContentsTable(0, &table));
        ASSERT_EQ(S_OK, table->QueryRows(count, 0, rows));
    }

    // The hierarchy rows of the root container: name (ANSI), flags and entry identifier.
    struct BookRow {
        std::string name;
        ULONG flags;
        std::vector<BYTE> entryId;
    };
    std::vector<BookRow> Hierarchy() {
        std::vector<BookRow> result;
        ULONG type = 0;
        Ref<IABContainer> root;
        EXPECT_EQ(S_OK, m_book->OpenEntry(0, nullptr, nullptr, 0, &type, reinterpret_cast<IUnknown**>(&root)));
        Ref<IMAPITable> table;
        EXPECT_EQ(S_OK, root->GetHierarchyTable(0, &table));
        SizedSPropTagArray(3, columns) = {3, {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_CONTAINER_FLAGS}};
        EXPECT_EQ(S_OK, table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
        LPSRowSet rows = nullptr;
        EXPECT_EQ(S_OK, table->QueryRows(100, 0, &rows));
        for (ULONG i = 0; rows && i < rows->cRows; ++i) {
            const SPropValue* v = rows->aRow[i].lpProps;
            BookRow row;
            row.name = v[1].ulPropTag == PR_DISPLAY_NAME_A ? v[1].Value.lpszA : "<error>";
            row.flags = v[2].Value.l;
            row.entryId.assign(v[0].Value.bin.lpb, v[0].Value.bin.lpb + v[0].Value.bin.cb);
            result.push_back(row);
        }
        FreeProws(rows);
        return result;
    }

    // The contents rows of a book (given name, surname, mobile as ANSI, "<tag>" when missing).
    std::vector<std::string> Contents(const std::vector<BYTE>& bookId, LPSRestriction restriction, HRESULT* restrictResult = nullptr) {
        std::vector<std::string> result;
        Ref<IABContainer> book;
        book.p = OpenBook(bookId);
        Ref<IMAPITable> table;
        EXPECT_EQ(S_OK, book->GetContentsTable(0, &table));
        SizedSPropTagArray(4, columns) = {4, {PR_ENTRYID, PR_GIVEN_NAME_A, PR_SURNAME_A, PR_MOBILE_TELEPHONE_NUMBER_A}};
        EXPECT_EQ(S_OK, table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
        const HRESULT hr = table->Restrict(restriction, 0);
        if (restrictResult) *restrictResult = hr;
        while (true) {
            LPSRowSet rows = nullptr;
            EXPECT_EQ(S_OK, table->QueryRows(1, 0, &rows));
            if (!rows || rows->cRows == 0) {
                FreeProws(rows);
                break;
            }
            std::string line;
            for (ULONG c = 1; c < 4; ++c) {
                const SPropValue& v = rows->aRow[0].lpProps[c];
                line += (c > 1 ? "|" : "") + std::string(PROP_TYPE(v.ulPropTag) == PT_STRING8 ? v.Value.lpszA : "-");
            }
            result.push_back(line);
            FreeProws(rows);
        }
        return result;
    }

    TarvockMapiCounters m_baseline = {};
    Ref<IMAPISession> m_session;
    Ref<IAddrBook> m_book;
};

SRestriction MobileExists() {
    SRestriction restriction = {};
    restriction.rt = RES_EXIST;
    restriction.res.resExist.ulPropTag = PR_MOBILE_TELEPHONE_NUMBER_A;
    return restriction;
}

TEST(ProviderEntry, LogonNeedsAnInitialisedLibraryAndAnExistingRoot) {
    CTestBooks books;
    IMAPISession* session = nullptr;
    {
        CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, books.Root());
        EXPECT_EQ(MAPI_E_NOT_INITIALIZED, MAPILogonEx(0, nullptr, nullptr, 0, &session));
    }
    ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
    {
        CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, books.Root() + L"\\missing");
        EXPECT_EQ(MAPI_E_LOGON_FAILED, MAPILogonEx(0, nullptr, nullptr, 0, &session));
        EXPECT_EQ(nullptr, session);
    }
    {
        CEnvironment root(TARVOCK_MAPI_ROOT_VARIABLE, L"");
        EXPECT_EQ(MAPI_E_LOGON_FAILED, MAPILogonEx(0, nullptr, nullptr, 0, &session));
    }
    MAPIUninitialize();
}

TEST(ProviderEntry, InitialisationsAreCountedAndAnUnmatchedUninitialiseIsSeen) {
    mapitest::ResetProviderCounters();
    ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
    ASSERT_EQ(S_OK, MAPIInitialize(nullptr));
    MAPIUninitialize();
    MAPIUninitialize();
    MAPIUninitialize();
    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(2, counters.initializeCalls);
    EXPECT_EQ(2, counters.uninitializeCalls);
    EXPECT_EQ(1, counters.unbalancedUninitialize);
}

TEST(ProviderEntry, InjectedInitialiseFailureIsReturnedAndNotCounted) {
    mapitest::ResetProviderCounters();
    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"MAPIInitialize=0x80040111");
    EXPECT_EQ(static_cast<HRESULT>(0x80040111), MAPIInitialize(nullptr));
    EXPECT_EQ(0, mapitest::ProviderCounters().initializeCalls);
}

TEST(ProviderBuffers, MoreBlocksGoWithTheirBufferAndRowSetsFreeEveryRow) {
    const LONG before = mapitest::ProviderCounters().liveBuffers;
    void* buffer = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(16, &buffer));
    void* more = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateMore(32, buffer, &more));
    EXPECT_NE(nullptr, more);
    EXPECT_EQ(0u, reinterpret_cast<ULONG_PTR>(buffer) % 8);
    EXPECT_EQ(before + 1, mapitest::ProviderCounters().liveBuffers);
    EXPECT_EQ(0u, MAPIFreeBuffer(buffer));
    EXPECT_EQ(0u, MAPIFreeBuffer(nullptr));

    LPSRowSet rows = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(CbNewSRowSet(2), reinterpret_cast<void**>(&rows)));
    rows->cRows = 2;
    for (ULONG i = 0; i < 2; ++i) {
        ASSERT_EQ(S_OK, MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<void**>(&rows->aRow[i].lpProps)));
        rows->aRow[i].cValues = 1;
    }
    EXPECT_EQ(before + 3, mapitest::ProviderCounters().liveBuffers);
    FreeProws(rows);
    FreeProws(nullptr);
    FreePadrlist(nullptr);
    EXPECT_EQ(before, mapitest::ProviderCounters().liveBuffers);
    EXPECT_EQ(0u, UlRelease(nullptr));
}

TEST_F(ProviderTest, HierarchyListsTheBooksInFolderOrderWithoutThePersonalBook) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddBook(L"Family", "[Book]\r\nDisplayName=Family and friends\r\n");
    books.AddBook(L"Directory", "[Book]\r\nContainerFlags=0x13\r\n");
    books.AddBook(L"Personal");
    books.SetPersonal(L"Personal");
    Open(books);

    const std::vector<BookRow> rows = Hierarchy();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("Directory", rows[0].name);
    EXPECT_EQ(0x13u, rows[0].flags);
    EXPECT_EQ("Family and friends", rows[1].name);
    EXPECT_EQ("Work", rows[2].name);
    EXPECT_EQ(static_cast<ULONG>(AB_RECIPIENTS | AB_MODIFIABLE), rows[2].flags);
}

TEST_F(ProviderTest, ABookWithAnEmptyDisplayNameHasAnErrorInItsNameColumn) {
    CTestBooks books;
    books.AddBook(L"Nameless", "[Book]\r\nDisplayName=\r\n");
    Open(books);
    const std::vector<BookRow> rows = Hierarchy();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("<error>", rows[0].name);
}

TEST_F(ProviderTest, PersonalAddressBookIsNamedByTheProfileAndEmptyWithoutOne) {
    CTestBooks books;
    books.AddBook(L"Work");
    Open(books);
    ULONG cb = 99;
    LPENTRYID id = reinterpret_cast<LPENTRYID>(1);
    ASSERT_EQ(S_OK, m_book->GetPAB(&cb, &id));
    EXPECT_EQ(0u, cb);
    EXPECT_EQ(nullptr, id);

    books.AddBook(L"Contacts", "[Book]\r\nDisplayName=My Contacts\r\n");
    books.SetPersonal(L"Contacts");
    ASSERT_EQ(S_OK, m_book->GetPAB(&cb, &id));
    ASSERT_NE(0u, cb);
    {
        Ref<IABContainer> pab;
        pab.p = OpenBook(cb, id);
        SizedSPropTagArray(3, tags) = {3, {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_CONTAINER_FLAGS}};
        ULONG count = 0;
        LPSPropValue values = nullptr;
        ASSERT_EQ(S_OK, pab->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values));
        ASSERT_EQ(3u, count);
        EXPECT_EQ(PR_DISPLAY_NAME_A, values[1].ulPropTag);
        EXPECT_STREQ("My Contacts", values[1].Value.lpszA);
        MAPIFreeBuffer(values);
    }
    MAPIFreeBuffer(id);
}

TEST_F(ProviderTest, ContentsTableShowsTheColumnsAndRestrictsToEntriesWithAMobileNumber) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddCard(L"Work", L"a.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("+447700900001"));
    books.AddCard(L"Work", L"b.vcf", CCard("Bob Hart").Name("Bob", "Hart").Phone("WORK", "0207 946 0000"));
    books.AddFile(L"Work", L"c.vcf", CCard("Cy").Mobile("+447700900003").Text() + CCard("Di Fox").Name("Di", "Fox").Text());
    books.AddFile(L"Work", L"notes.txt", "not a card");
    Open(books);
    const std::vector<BYTE> work = Hierarchy().at(0).entryId;

    EXPECT_EQ((std::vector<std::string>{"Ann|Lee|+447700900001", "Bob|Hart|-", "-|-|+447700900003", "Di|Fox|-"}),
              Contents(work, nullptr));
    SRestriction mobile = MobileExists();
    EXPECT_EQ((std::vector<std::string>{"Ann|Lee|+447700900001", "-|-|+447700900003"}), Contents(work, &mobile));
    EXPECT_EQ(RES_EXIST, mapitest::ProviderCounters().lastRestrictionType);
    EXPECT_EQ(PR_MOBILE_TELEPHONE_NUMBER_A, mapitest::ProviderCounters().lastRestrictionTag);
}

TEST_F(ProviderTest, ABookCanRefuseRestrictionsAndLeaveTheMobileNumberOutOfItsTable) {
    CTestBooks books;
    books.AddBook(L"Directory", "[Book]\r\nRestriction=refuse\r\nMobileColumn=no\r\n");
    books.AddCard(L"Directory", L"a.vcf", CCard("Ann Lee").Name("Ann", "Lee").Mobile("+447700900001"));
    Open(books);
    const std::vector<BYTE> directory = Hierarchy().at(0).entryId;

    SRestriction mobile = MobileExists();
    HRESULT restrictResult = S_OK;
    EXPECT_EQ((std::vector<std::string>{"Ann|Lee|-"}), Contents(directory, &mobile, &restrictResult));
    EXPECT_EQ(MAPI_E_TOO_COMPLEX, restrictResult);
}

TEST_F(ProviderTest, EntryServesEveryPropertyOfItsCardAnsiWhereTheCodePageHoldsIt) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddCard(L"Work", L"a.vcf",
                  CCard("Zoë Ήλιος").Name("Zoë", "Ήλιος").Nickname("Zed").Mobile("+447700900001")
                      .Phone("WORK,VOICE,PREF", "0207 946 0001").Address({"1 High St", "Flat 2"}, "Leeds", "West Yorkshire", "LS1 1AA", "UK")
                      .Email("zoe@example.org"));
    Open(books);
    Ref<IABContainer> book;
    Ref<IMAPITable> table;
    LPSRowSet rows = nullptr;
    ASSERT_NO_FATAL_FAILURE(FirstBookRows(book, table, 1, &rows));
    ASSERT_EQ(1u, rows->cRows);
    const SPropValue& entryId = rows->aRow[0].lpProps[0];
    ASSERT_EQ(PR_ENTRYID, entryId.ulPropTag);

    ULONG type = 0;
    Ref<IMailUser> user;
    ASSERT_EQ(S_OK, m_book->OpenEntry(entryId.Value.bin.cb, reinterpret_cast<LPENTRYID>(entryId.Value.bin.lpb), nullptr,
                                      MAPI_BEST_ACCESS, &type, reinterpret_cast<IUnknown**>(&user)));
    FreeProws(rows);
    EXPECT_EQ(static_cast<ULONG>(MAPI_MAILUSER), type);

    ULONG count = 0;
    LPSPropValue values = nullptr;
    ASSERT_EQ(S_OK, user->GetProps(nullptr, 0, &count, &values));
    auto find = [&](ULONG id) -> const SPropValue* {
        for (ULONG i = 0; i < count; ++i)
            if (PROP_ID(values[i].ulPropTag) == id) return &values[i];
        return nullptr;
    };
    ASSERT_NE(nullptr, find(0x3A06));
    EXPECT_EQ(static_cast<ULONG>(PT_STRING8), PROP_TYPE(find(0x3A06)->ulPropTag)) << "Zoë fits the ANSI code page";
    EXPECT_EQ(mapitest::Widen("Ήλιος"), std::wstring(find(0x3A11)->Value.lpszW));
    EXPECT_EQ(static_cast<ULONG>(PT_UNICODE), PROP_TYPE(find(0x3A11)->ulPropTag));
    EXPECT_STREQ("Zed", find(0x3A4F)->Value.lpszA);
    EXPECT_STREQ("+447700900001", find(0x3A1C)->Value.lpszA);
    EXPECT_STREQ("0207 946 0001", find(0x3A1A)->Value.lpszA);
    EXPECT_STREQ("0207 946 0001", find(0x3A08)->Value.lpszA);
    EXPECT_STREQ("1 High St\r\nFlat 2", find(0x3A29)->Value.lpszA);
    EXPECT_STREQ("Leeds", find(0x3A27)->Value.lpszA);
    EXPECT_STREQ("West Yorkshire", find(0x3A28)->Value.lpszA);
    EXPECT_STREQ("LS1 1AA", find(0x3A2A)->Value.lpszA);
    EXPECT_STREQ("UK", find(0x3A26)->Value.lpszA);
    EXPECT_STREQ("zoe@example.org", find(0x3003)->Value.lpszA);
    EXPECT_STREQ("SMTP", find(0x3002)->Value.lpszA);
    EXPECT_EQ(static_cast<LONG>(MAPI_MAILUSER), find(PROP_ID(PR_OBJECT_TYPE))->Value.l);
    MAPIFreeBuffer(values);

    SizedSPropTagArray(2, tags) = {2, {PR_MOBILE_TELEPHONE_NUMBER_W, PR_HOME_TELEPHONE_NUMBER_A}};
    ASSERT_EQ(MAPI_W_ERRORS_RETURNED, user->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values));
    EXPECT_EQ(L"+447700900001", std::wstring(values[0].Value.lpszW));
    EXPECT_EQ(PROP_TAG(PT_ERROR, 0x3A09), values[1].ulPropTag);
    EXPECT_EQ(MAPI_E_NOT_FOUND, values[1].Value.err);
    MAPIFreeBuffer(values);
}

TEST_F(ProviderTest, AGroupCardOpensAsADistributionList) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddCard(L"Work", L"team.vcf", CCard("Team").Group().Mobile("+447700900009"));
    Open(books);
    Ref<IABContainer> book;
    Ref<IMAPITable> table;
    LPSRowSet rows = nullptr;
    ASSERT_NO_FATAL_FAILURE(FirstBookRows(book, table, 1, &rows));
    const SBinary& id = rows->aRow[0].lpProps[0].Value.bin;
    ULONG type = 0;
    Ref<IUnknown> entry;
    ASSERT_EQ(S_OK, book->OpenEntry(id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr, 0, &type, &entry));
    EXPECT_EQ(static_cast<ULONG>(MAPI_DISTLIST), type);
    FreeProws(rows);
}

TEST_F(ProviderTest, UnknownEntryIdentifiersAreRefused) {
    CTestBooks books;
    Open(books);
    BYTE foreign[24] = {0, 0, 0, 0, 1, 2, 3};
    ULONG type = 0;
    IUnknown* unknown = nullptr;
    EXPECT_EQ(MAPI_E_UNKNOWN_ENTRYID, m_book->OpenEntry(sizeof foreign, reinterpret_cast<LPENTRYID>(foreign), nullptr, 0, &type, &unknown));
    EXPECT_EQ(nullptr, unknown);
}

TEST_F(ProviderTest, ScriptedDialogReturnsItsPicksWithTheEntryIdentifierLast) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddBook(L"Personal", "[Book]\r\nDisplayName=Personal Contacts\r\n");
    books.SetPersonal(L"Personal");
    books.AddCard(L"Work", L"a.vcf", CCard("Ann Lee").Name("Ann", "Lee").Email("ann@example.org"));
    books.AddCard(L"Personal", L"b.vcf", CCard("Bob Hart").Name("Bob", "Hart"));
    Open(books);
    mapitest::ResetProviderCounters();

    CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Personal Contacts/Bob Hart|Work/Ann Lee");
    mapitest::CRecipientDialogParms parms("Select Recipients", "Recipients");
    ULONG_PTR parent = static_cast<ULONG_PTR>(0xFFFFFFFF80001234ull);
    LPADRLIST list = nullptr;
    ASSERT_EQ(S_OK, m_book->Address(&parent, parms.get(), &list));
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2u, list->cEntries);
    for (ULONG i = 0; i < 2; ++i) {
        const ADRENTRY& entry = list->aEntries[i];
        EXPECT_EQ(PR_DISPLAY_NAME_A, entry.rgPropVals[0].ulPropTag);
        EXPECT_EQ(PR_ENTRYID, entry.rgPropVals[entry.cValues - 1].ulPropTag);
    }
    EXPECT_STREQ("Bob Hart", list->aEntries[0].rgPropVals[0].Value.lpszA);
    EXPECT_STREQ("Ann Lee", list->aEntries[1].rgPropVals[0].Value.lpszA);
    EXPECT_STREQ("ann@example.org", list->aEntries[1].rgPropVals[2].Value.lpszA);
    FreePadrlist(list);

    const TarvockMapiCounters counters = mapitest::ProviderCounters();
    EXPECT_EQ(1, counters.addressCalls);
    EXPECT_EQ(parent, counters.lastAddressUIParam);
    EXPECT_EQ(static_cast<ULONG>(0x31), counters.lastAddressFlags);
    EXPECT_EQ(1u, counters.lastAddressDestFields);
    EXPECT_STREQ(L"Select Recipients", counters.lastAddressCaption);
    EXPECT_STREQ(L"Recipients", counters.lastAddressDestTitle);
}

TEST_F(ProviderTest, ScriptedDialogCancelsAndRefusesUnknownPicks) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddCard(L"Work", L"a.vcf", CCard("Ann Lee"));
    Open(books);
    ADRPARM parms = {};
    parms.ulFlags = DIALOG_MODAL;
    parms.cDestFields = 1;
    ULONG_PTR parent = 0;
    LPADRLIST list = nullptr;
    {
        CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"cancel");
        EXPECT_EQ(MAPI_E_USER_CANCEL, m_book->Address(&parent, &parms, &list));
    }
    {
        CEnvironment script(TARVOCK_MAPI_ADDRESS_SCRIPT_VARIABLE, L"Work/Nobody");
        EXPECT_EQ(MAPI_E_NOT_FOUND, m_book->Address(&parent, &parms, &list));
    }
    EXPECT_EQ(nullptr, list);
    parms.ulFlags = DIALOG_SDI;
    EXPECT_EQ(MAPI_E_NO_SUPPORT, m_book->Address(&parent, &parms, &list));
}

TEST_F(ProviderTest, InjectedFailuresHitTheNamedCallAndTarget) {
    CTestBooks books;
    books.AddBook(L"Work");
    books.AddCard(L"Work", L"a.vcf", CCard("Ann Lee").Mobile("1"));
    books.AddCard(L"Work", L"b.vcf", CCard("Bob Hart").Mobile("2"));
    Open(books);
    Ref<IABContainer> book;
    Ref<IMAPITable> table;
    LPSRowSet rows = nullptr;
    ASSERT_NO_FATAL_FAILURE(FirstBookRows(book, table, 2, &rows));
    ASSERT_EQ(2u, rows->cRows);

    CEnvironment fail(TARVOCK_MAPI_FAIL_VARIABLE, L"OpenEntry:Bob Hart=0x8004010F, QueryRows:Work");
    ULONG type = 0;
    IUnknown* entry = nullptr;
    const SBinary& ann = rows->aRow[0].lpProps[0].Value.bin;
    const SBinary& bob = rows->aRow[1].lpProps[0].Value.bin;
    EXPECT_EQ(S_OK, m_book->OpenEntry(ann.cb, reinterpret_cast<LPENTRYID>(ann.lpb), nullptr, 0, &type, &entry));
    UlRelease(entry);
    entry = nullptr;
    EXPECT_EQ(MAPI_E_NOT_FOUND, m_book->OpenEntry(bob.cb, reinterpret_cast<LPENTRYID>(bob.lpb), nullptr, 0, &type, &entry));
    EXPECT_EQ(nullptr, entry);
    FreeProws(rows);
    rows = nullptr;
    EXPECT_EQ(MAPI_E_CALL_FAILED, table->QueryRows(1, 0, &rows));
    EXPECT_EQ(nullptr, rows);
}

TEST_F(ProviderTest, LogoffEndsTheSessionOnce) {
    CTestBooks books;
    Open(books);
    mapitest::ResetProviderCounters();
    EXPECT_EQ(S_OK, m_session->Logoff(0, 0, 0));
    EXPECT_EQ(S_OK, m_session->Logoff(0, 0, 0));
    EXPECT_EQ(1, mapitest::ProviderCounters().logoffs);
    IAddrBook* again = nullptr;
    EXPECT_EQ(MAPI_E_END_OF_SESSION, m_session->OpenAddressBook(0, nullptr, 0, &again));
}

}  // namespace
