// The recipient pickers against the stand-in: the recipients text and collection, duplicates,
// entries renamed and deleted on the service, deletes that act on the entry the user chose
// whatever happened to the shared cache, and failed deletes.
#include "contacts/GroupDlg.h"
#include "contacts/SelectContactsDlgEx.h"
#include "ContactWindowsTest.h"
#include "resource.h"

using S = CDialogScript;

namespace {

class Pickers : public ContactWindowsTest {
protected:
    static CComPtr<IObjectCollection> CachedContacts() {
        CCachedCollection contacts(CCachedCollection::kContacts);
        contacts.Fetch(nullptr);
        return contacts.Get();
    }
    static std::vector<CString> Names(IObjectCollection* collection) {
        std::vector<CString> names;
        ForEachEntry(collection, [&](IDispatch* entry) { names.push_back(GetEntryText(entry)); });
        return names;
    }
};

// A picker whose new member collections cannot be made.
class CNoCollectionPicker : public CSelectContactsDlg {
public:
    using CSelectContactsDlg::CSelectContactsDlg;
    CComPtr<IObjectCollection> NewCollection() override { return nullptr; }
};

}  // namespace

TEST_F(Pickers, TheRecipientsTextIsSplitTrimmedAndJoinedAndADuplicateAddIsRefused) {
    // Cold caches: one read of each.
    {
        CSelectContactsDlgEx picker("", nullptr);
        S script;
        script.Then("Select Recipients", [](HWND d) { S::Click(d, IDCANCEL); });
        EXPECT_EQ(IDCANCEL, picker.DoModal());
        EXPECT_EQ(1u, Requests(L"GetContacts"));
        EXPECT_EQ(1u, Requests(L"GetGroups"));
    }
    WarmCaches();
    CSelectContactsDlgEx picker("Alice; ;bob ;Alice;447700900301", nullptr);
    std::vector<CString> listed, contacts, groups;
    bool okWhenEmpty = true;
    S script;
    script
        .Then("Select Recipients",
              [&](HWND d) {
                  listed = S::Entries(d, IDC_RECIPIENTS_LIST);
                  contacts = S::Entries(d, IDC_CONTACTS_LIST);
                  groups = S::Entries(d, IDC_GROUPS_LIST);
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Bob"));
                  S::Click(d, IDC_ADD_RECIPIENT);  // "bob" is listed: refused
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Carol"));
                  S::DoubleClick(d, IDC_CONTACTS_LIST);
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  S::SelectTab(d, IDC_SOURCE_TABS, 1);
                  EXPECT_TRUE(S::Select(d, IDC_GROUPS_LIST, "Friends"));
                  S::Click(d, IDC_ADD_RECIPIENT);
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  // Removing the entry of the text: gone for good.
                  EXPECT_TRUE(S::Select(d, IDC_RECIPIENTS_LIST, "447700900301"));
                  S::Click(d, IDC_REMOVE_RECIPIENT);
              })
        .Then("Select Recipients", [&](HWND d) { S::Click(d, IDOK); });
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<CString>{"Alice", "bob", "447700900301"}), listed);
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob", "Carol", "Dave"}), contacts);
    EXPECT_EQ((std::vector<CString>{"Friends", "Subscribers", "Empty"}), groups);
    EXPECT_STREQ("Alice; bob; Carol; Friends", picker.GetRecipients());
    ASSERT_EQ(1u, m_boxes.boxes.size());
    CString duplicate;
    duplicate.Format(LoadText(IDS_ALREADY_A_RECIPIENT), "Bob");
    EXPECT_STREQ(duplicate, m_boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, m_boxes.boxes[0].type);
    EXPECT_EQ(0u, AllRequests()) << "warm caches: nothing is asked of the service";

    // In string mode an empty list cannot be confirmed.
    CSelectContactsDlgEx empty("Alice", nullptr);
    S again;
    again
        .Then("Select Recipients",
              [&](HWND d) {
                  EXPECT_TRUE(S::Enabled(d, IDOK));
                  S::Select(d, IDC_RECIPIENTS_LIST, "Alice");
                  S::DoubleClick(d, IDC_RECIPIENTS_LIST);
              })
        .Then("Select Recipients", [&](HWND d) {
            okWhenEmpty = S::Enabled(d, IDOK);
            EXPECT_FALSE(S::Enabled(d, IDC_REMOVE_RECIPIENT));
            S::Click(d, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, empty.DoModal());
    EXPECT_FALSE(okWhenEmpty);
}

TEST_F(Pickers, ARenameOnTheContactsTabRenamesTheRecipientInPlaceKeepingItsContact) {
    WarmCaches();
    m_boxes.answers = {};
    CSelectContactsDlgEx picker("Alice; bob; 447700900301", nullptr);
    std::vector<CString> after;
    S script;
    script
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Bob"));
                  S::Click(d, IDC_EDIT_ENTRY);
              })
        .Then("Contact",
              [](HWND d) {
                  S::Type(d, IDC_QUICK_NAME, "Robert");
                  S::Click(d, IDOK);
              })
        .Then("Select Recipients", [&](HWND d) {
            after = S::Entries(d, IDC_RECIPIENTS_LIST);
            EXPECT_EQ((std::vector<CString>{"Alice", "Robert", "Carol", "Dave"}), S::Entries(d, IDC_CONTACTS_LIST));
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<CString>{"Alice", "Robert", "447700900301"}), after);
    EXPECT_STREQ("Alice; Robert; 447700900301", picker.GetRecipients());
    EXPECT_EQ(L"Robert", LastField(L"UpdateContact", L"QuickName"));

    // Collection mode: the renamed member keeps its contact, so OK gives it back.
    CCachedCollection contacts(CCachedCollection::kContacts);
    ASSERT_TRUE(contacts.Fetch(nullptr));
    CComPtr<IObjectCollection> members;
    ASSERT_EQ(S_OK, members.CoCreateInstance(CLSID_ObjectCollection));
    members->Add(contacts.Item(1));
    members->Add(contacts.Item(2));
    CSelectContactsDlg memberPicker(members, nullptr);
    S renaming;
    renaming
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Robert"));
                  S::DoubleClick(d, IDC_RECIPIENTS_LIST);  // nothing selected there: nothing removed
                  S::Click(d, IDC_EDIT_ENTRY);
              })
        .Then("Contact",
              [](HWND d) {
                  S::Type(d, IDC_QUICK_NAME, "Rob");
                  S::Click(d, IDOK);
              })
        .Then("Select Recipients", [](HWND d) {
            EXPECT_EQ((std::vector<CString>{"Alice", "Rob"}), S::Entries(d, IDC_RECIPIENTS_LIST));
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, memberPicker.DoModal());
    EXPECT_TRUE(renaming.Finished());
    ASSERT_NE(members.p, memberPicker.GetCollection());
    CComBSTR ids;
    memberPicker.GetCollection()->get_IDs(&ids);
    EXPECT_STREQ(L"1001,1002", ids.m_str);
}

TEST_F(Pickers, DeleteActsOnTheChosenEntryEvenAfterANestedPickerChangedTheCache) {
    WarmCaches();
    m_boxes.answers = {IDYES, IDYES};
    CSelectContactsDlgEx picker("Carol; Alice", nullptr);
    std::vector<CString> nestedContacts, contactsAfter, recipientsAfter;
    S script;
    script
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Carol"));
                  S::SelectTab(d, IDC_SOURCE_TABS, 1);
                  S::Click(d, IDC_NEW_ENTRY);
              })
        .Then("Group",
              [](HWND d) {
                  S::Type(d, IDC_GROUP_NAME, "Team4");
                  S::Click(d, IDC_GROUP_MEMBERS_BUTTON);
              })
        .Then("Select Recipients",
              [](HWND d) {  // the members picker: Alice is deleted from the account
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Alice"));
                  S::Click(d, IDC_DELETE_ENTRY);
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  nestedContacts = S::Entries(d, IDC_CONTACTS_LIST);
                  S::Click(d, IDCANCEL);
              })
        .Then("Group", [](HWND d) { S::Click(d, IDCANCEL); })
        .Then("Select Recipients",
              [](HWND d) {
                  S::SelectTab(d, IDC_SOURCE_TABS, 0);
                  EXPECT_STREQ("Carol", S::Selected(d, IDC_CONTACTS_LIST));
                  S::Click(d, IDC_DELETE_ENTRY);  // Carol is still the chosen entry
              })
        .Then("Select Recipients", [&](HWND d) {
            contactsAfter = S::Entries(d, IDC_CONTACTS_LIST);
            recipientsAfter = S::Entries(d, IDC_RECIPIENTS_LIST);
            S::Click(d, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<CString>{"Bob", "Carol", "Dave"}), nestedContacts);
    std::vector<standin::LoggedRequest> deletes = Log().ByOperation(L"DeleteContact");
    ASSERT_EQ(2u, deletes.size());
    EXPECT_NE(std::wstring::npos, deletes[0].body.find(L"<id>1001</id>"));
    EXPECT_NE(std::wstring::npos, deletes[1].body.find(L"<id>1003</id>")) << "Carol, not whoever is third now";
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob", "Dave"}), contactsAfter) << "only Carol's entry left this list";
    EXPECT_EQ((std::vector<CString>{"Alice"}), recipientsAfter);
    EXPECT_EQ((std::vector<CString>{"Bob", "Dave"}), Names(CachedContacts()));
    ASSERT_EQ(2u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_CONFIRM_DELETE_ENTRY), m_boxes.boxes[1].text);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), m_boxes.boxes[1].type);
}

TEST_F(Pickers, AFailedOrDeclinedDeleteChangesNothing) {
    WarmCaches();
    ASSERT_EQ(S_OK, NewService()->DeleteContact(CComBSTR(L"1002")));  // gone behind the picker's back
    m_boxes.answers = {IDNO, IDYES};
    CSelectContactsDlgEx picker("Bob", nullptr);
    std::vector<CString> contactsAfter, recipientsAfter;
    S script;
    script
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Bob"));
                  S::Click(d, IDC_DELETE_ENTRY);  // No
              })
        .Then("Select Recipients", [](HWND d) { S::Click(d, IDC_DELETE_ENTRY); })  // Yes: refused
        .Then("Select Recipients", [&](HWND d) {
            contactsAfter = S::Entries(d, IDC_CONTACTS_LIST);
            recipientsAfter = S::Entries(d, IDC_RECIPIENTS_LIST);
            S::Click(d, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(2u, Requests(L"DeleteContact")) << "one by the test, one by the picker";
    ASSERT_EQ(3u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[2].text.Find(LoadText(IDS_ENTRY_NOT_DELETED)));
    EXPECT_EQ((UINT)MB_ICONSTOP, m_boxes.boxes[2].type & MB_ICONMASK);
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob", "Carol", "Dave"}), contactsAfter);
    EXPECT_EQ((std::vector<CString>{"Bob"}), recipientsAfter);
    EXPECT_EQ(4u, Names(CachedContacts()).size());
}

TEST_F(Pickers, AGroupsLastMemberCanBeRemovedAndAFailedCollectionKeepsTheMembers) {
    WarmCaches();
    CCachedCollection contacts(CCachedCollection::kContacts);
    ASSERT_TRUE(contacts.Fetch(nullptr));
    CComPtr<IObjectCollection> members;
    ASSERT_EQ(S_OK, members.CoCreateInstance(CLSID_ObjectCollection));
    members->Add(contacts.Item(1));
    members->Add(contacts.Item(2));
    members->Add(contacts.Item(1));  // a duplicate is dropped silently

    CSelectContactsDlg picker(members, nullptr);
    std::vector<CString> listed;
    bool okEnabled = false;
    S script;
    script
        .Then("Select Recipients",
              [&](HWND d) {
                  listed = S::Entries(d, IDC_RECIPIENTS_LIST);
                  EXPECT_EQ(0, ::SendDlgItemMessageW(d, IDC_SOURCE_TABS, TCM_GETITEMCOUNT, 0, 0) - 1) << "no groups tab";
                  S::Select(d, IDC_RECIPIENTS_LIST, "Alice");
                  S::Click(d, IDC_REMOVE_RECIPIENT);
                  S::Click(d, IDC_REMOVE_RECIPIENT);  // the next one (Bob) is selected now
              })
        .Then("Select Recipients", [&](HWND d) {
            EXPECT_TRUE(S::Entries(d, IDC_RECIPIENTS_LIST).empty());
            okEnabled = S::Enabled(d, IDOK);
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob"}), listed);
    EXPECT_TRUE(okEnabled);
    long count = -1;
    picker.GetCollection()->get_Count(&count);
    EXPECT_EQ(0, count);

    CNoCollectionPicker failing(members, nullptr);
    S keep;
    keep.Then("Select Recipients", [](HWND d) { S::Click(d, IDOK); })
        .Then("Select Recipients", [](HWND d) { S::Click(d, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, failing.DoModal()) << "OK could not make the collection: the dialog stayed";
    EXPECT_TRUE(keep.Finished());
    EXPECT_EQ(members.p, failing.GetCollection()) << "the members stay";
}

TEST_F(Pickers, ANewContactJoinsTheListAndTheSharedCacheAndMembersPickedThenCancelledAreNotSent) {
    WarmCaches();
    CSelectContactsDlgEx picker("", nullptr);
    CString selected;
    S script;
    script.Then("Select Recipients", [](HWND d) { S::Click(d, IDC_NEW_ENTRY); })
        .Then("Contact",
              [](HWND d) {
                  S::Type(d, IDC_QUICK_NAME, "Eve");
                  S::Type(d, IDC_MOBILE_NUMBER, "447700900305");
                  S::Click(d, IDOK);
              })
        .Then("Select Recipients",
              [&](HWND d) {
                  selected = S::Selected(d, IDC_CONTACTS_LIST);
                  S::Click(d, IDC_ADD_RECIPIENT);
              })
        .Then("Select Recipients", [](HWND d) { S::Click(d, IDOK); });
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_STREQ("Eve", selected);
    EXPECT_STREQ("Eve", picker.GetRecipients());
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob", "Carol", "Dave", "Eve"}), Names(CachedContacts()));

    // An existing group: Members stores the group as it stands, the picked members wait for OK,
    // and Cancel sends nothing more.
    CCachedCollection groups(CCachedCollection::kGroups);
    ASSERT_TRUE(groups.Fetch(nullptr));
    CGroupDlg dialog(groups.GroupAt(1), nullptr);
    S members;
    members.Then("Group", [](HWND d) { S::Click(d, IDC_GROUP_MEMBERS_BUTTON); })
        .Then("Select Recipients",
              [](HWND d) {
                  S::Select(d, IDC_CONTACTS_LIST, "Eve");
                  S::Click(d, IDC_ADD_RECIPIENT);
              })
        .Then("Select Recipients", [](HWND d) { S::Click(d, IDOK); })
        .Then("Group",
              [](HWND d) {
                  EXPECT_EQ((std::vector<CString>{"Alice", "Bob", "Eve"}), S::Entries(d, IDC_GROUP_MEMBERS));
                  S::Click(d, IDCANCEL);
              });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(members.Finished());
    ASSERT_EQ(1u, Requests(L"UpdateGroup")) << "only the save before the picker";
    EXPECT_EQ((std::vector<std::wstring>{L"1001", L"1002"}), LastFields(L"UpdateGroup", L"string"));
    EXPECT_FALSE(dialog.WasCreated());
}
