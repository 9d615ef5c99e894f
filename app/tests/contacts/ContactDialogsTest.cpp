// The contact and group dialogs against the stand-in: what they send, the required fields, a
// refused change that leaves the shared cached object alone, a country outside the list kept,
// and a group the Members button created reported to the caller even after Cancel.
#include "contacts/ContactDlg.h"
#include "contacts/CountryTable.h"
#include "contacts/GroupDlg.h"
#include "contacts/SelectContactsDlg.h"
#include "ContactWindowsTest.h"
#include "resource.h"

using S = CDialogScript;
using ContactDialogs = ContactWindowsTest;

namespace {

// Runs the dialog through a change the service refuses: the step fills in the fields and presses
// OK, the dialog stays open with the failure shown, and Cancel closes it.
void RunRefusedChange(CDialog& dialog, const char* caption, S::Step fill) {
    S script;
    script.Then(caption, fill).Then(caption, [](HWND d) { S::Click(d, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
}

}  // namespace

TEST(CountryTable, HoldsTheCodesInListOrder) {
    EXPECT_STREQ("AP", kCountries[0].code);
    EXPECT_STREQ("EU", kCountries[1].code);
    EXPECT_STREQ("AD", kCountries[2].code);
    EXPECT_STREQ("United Kingdom", kCountries[76].name);
    EXPECT_STREQ("ZW", kCountries[242].code);
    EXPECT_STREQ("A2", kCountries[244].code);
    // From "AD" to "ZW" the codes run in order, each once.
    for (int i = 3; i <= 242; ++i) EXPECT_LT(strcmp(kCountries[i - 1].code, kCountries[i].code), 0) << i;
    EXPECT_EQ(76, FindCountryCode("gb"));
    EXPECT_EQ(-1, FindCountryCode("United Kingdom"));
    EXPECT_EQ(-1, FindCountryCode(""));
}

TEST_F(ContactDialogs, ANewContactIsCheckedTrimmedAndAddedOnce) {
    CContactDlg dialog(nullptr, nullptr);
    std::vector<CString> countries;
    CString selected;
    S script;
    script
        .Then("Contact",
              [&](HWND d) {
                  countries = S::Entries(d, IDC_COUNTRY);
                  selected = S::Text(d, IDC_COUNTRY);
                  S::Type(d, IDC_QUICK_NAME, "   ");
                  S::Type(d, IDC_MOBILE_NUMBER, "447700900305");
                  S::Click(d, IDOK);
              })
        .Then("Contact",
              [&](HWND d) {
                  EXPECT_EQ(0u, Requests(L"AddContact")) << "a blank quick name sends nothing";
                  S::Type(d, IDC_QUICK_NAME, "  Eve  ");
                  S::Type(d, IDC_MOBILE_NUMBER, " ");
                  S::Click(d, IDOK);
              })
        .Then("Contact", [&](HWND d) {
            S::Type(d, IDC_MOBILE_NUMBER, "447700900305");
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(245u, countries.size());
    EXPECT_STREQ("Asia/Pacific Region", countries[0]);
    EXPECT_STREQ("Satellite Provider", countries[244]);
    EXPECT_STREQ("United Kingdom", selected);

    ASSERT_EQ(2u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_QUICK_NAME_EMPTY), m_boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, m_boxes.boxes[0].type);
    EXPECT_STREQ(LoadText(IDS_MOBILE_EMPTY), m_boxes.boxes[1].text);

    ASSERT_EQ(1u, Requests(L"AddContact"));
    EXPECT_EQ(L"Eve", LastField(L"AddContact", L"QuickName"));
    EXPECT_EQ(L"447700900305", LastField(L"AddContact", L"MobileNumber"));
    EXPECT_EQ(L"GB", LastField(L"AddContact", L"Country"));
    EXPECT_EQ(L"", LastField(L"AddContact", L"FirstName"));
    ASSERT_NE(nullptr, dialog.GetContact());
    CString id = GetEntryId(dialog.GetContact());
    EXPECT_FALSE(id.IsEmpty());
    EXPECT_STREQ("Eve", ContactText(dialog.GetContact(), &IContact::get_QuickName));
    EXPECT_STREQ("GB", ContactText(dialog.GetContact(), &IContact::get_Country));
}

TEST_F(ContactDialogs, ARefusedAddKeepsTheDialogOpenAndASecondOkSendsAgain) {
    CContactDlg dialog(nullptr, nullptr);
    S script;
    auto submit = [](HWND d) {
        S::Type(d, IDC_QUICK_NAME, "bob");
        S::Type(d, IDC_MOBILE_NUMBER, "447700900399");
        S::SelectCombo(d, IDC_COUNTRY, "France");
        S::Click(d, IDOK);
    };
    script.Then("Contact", submit).Then("Contact", [](HWND d) { S::Click(d, IDOK); }).Then("Contact", [](HWND d) {
        S::Click(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(2u, Requests(L"AddContact"));
    EXPECT_EQ(L"FR", LastField(L"AddContact", L"Country"));
    ASSERT_EQ(2u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_CONTACT_NOT_ADDED)));
    EXPECT_GT(m_boxes.boxes[0].text.GetLength(), LoadText(IDS_CONTACT_NOT_ADDED).GetLength()) << "with the service's reason";
    EXPECT_EQ(nullptr, dialog.GetContact());
}

TEST_F(ContactDialogs, EditingKeepsAStoredCountryOutsideTheListAndARefusalLeavesTheCacheAlone) {
    CCachedCollection contacts(CCachedCollection::kContacts);
    ASSERT_TRUE(contacts.Fetch(NewService()));
    CComPtr<IContact> alice = contacts.ContactAt(1);
    {
        CContactDlg dialog(alice, nullptr);
        CString shownCountry;
        size_t listed = 0;
        S script;
        script.Then("Contact", [&](HWND d) {
            EXPECT_STREQ("Alice", S::Text(d, IDC_QUICK_NAME));
            shownCountry = S::Text(d, IDC_COUNTRY);
            listed = S::Entries(d, IDC_COUNTRY).size();
            S::Type(d, IDC_FIRST_NAME, "Alicia");
            S::Click(d, IDOK);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_TRUE(script.Finished());
        EXPECT_STREQ("United Kingdom", shownCountry) << "the stored value is shown as it is";
        EXPECT_EQ(246u, listed);
    }
    ASSERT_EQ(1u, Requests(L"UpdateContact"));
    EXPECT_EQ(L"1001", LastField(L"UpdateContact", L"ID"));
    EXPECT_EQ(L"Alicia", LastField(L"UpdateContact", L"FirstName"));
    EXPECT_EQ(L"United Kingdom", LastField(L"UpdateContact", L"Country"));
    EXPECT_EQ(L"Archer", LastField(L"UpdateContact", L"LastName"));
    EXPECT_STREQ("Alicia", ContactText(alice, &IContact::get_FirstName)) << "the cached Alice took the change";
    EXPECT_EQ(alice.p, contacts.ContactAt(1).p);

    // A quick name that is taken: refused, and the cached Alice keeps what the service has.
    {
        CContactDlg dialog(alice, nullptr);
        RunRefusedChange(dialog, "Contact", [](HWND d) {
            S::Type(d, IDC_QUICK_NAME, "Bob");
            S::Type(d, IDC_LAST_NAME, "Changed");
            S::SelectCombo(d, IDC_COUNTRY, "Germany");
            S::Click(d, IDOK);
        });
    }
    EXPECT_EQ(2u, Requests(L"UpdateContact"));
    EXPECT_EQ(L"DE", LastField(L"UpdateContact", L"Country"));
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_CONTACT_NOT_UPDATED)));
    EXPECT_STREQ("Alice", ContactText(alice, &IContact::get_QuickName));
    EXPECT_STREQ("Archer", ContactText(alice, &IContact::get_LastName));
    EXPECT_STREQ("United Kingdom", ContactText(alice, &IContact::get_Country));

    // A subscriber stays one.
    CComPtr<IContact> carol = contacts.ContactAt(3);
    CContactDlg dialog(carol, nullptr);
    S script;
    script.Then("Contact", [](HWND d) { S::Click(d, IDOK); });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(L"Subscriber", LastField(L"UpdateContact", L"ContactType"));
    EXPECT_EQ(L"1003", LastField(L"UpdateContact", L"ID"));
}

TEST_F(ContactDialogs, AGroupIsEditedWithItsMembersAndANameIsRequired) {
    CCachedCollection groups(CCachedCollection::kGroups);
    ASSERT_TRUE(groups.Fetch(NewService()));
    CComPtr<IContactGroup> friends = groups.GroupAt(1);
    CGroupDlg dialog(friends, nullptr);
    std::vector<CString> members;
    S script;
    script
        .Then("Group",
              [&](HWND d) {
                  members = S::Entries(d, IDC_GROUP_MEMBERS);
                  EXPECT_STREQ("Friends", S::Text(d, IDC_GROUP_NAME));
                  S::Type(d, IDC_GROUP_NAME, "  ");
                  S::Click(d, IDOK);
              })
        .Then("Group", [&](HWND d) {
            EXPECT_EQ(0u, Requests(L"UpdateGroup"));
            S::Type(d, IDC_GROUP_NAME, " Pals ");
            S::Type(d, IDC_GROUP_DESCRIPTION, "Old friends");
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(1u, Requests(L"GetGroupMembers"));
    EXPECT_EQ(L"2001", LastField(L"GetGroupMembers", L"id"));
    EXPECT_EQ((std::vector<CString>{"Alice", "Bob"}), members);
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_GROUP_NAME_EMPTY), m_boxes.boxes[0].text);
    ASSERT_EQ(1u, Requests(L"UpdateGroup"));
    EXPECT_EQ(L"Pals", LastField(L"UpdateGroup", L"Name"));
    EXPECT_EQ(L"2001", LastField(L"UpdateGroup", L"ID"));
    EXPECT_EQ((std::vector<std::wstring>{L"1001", L"1002"}), LastFields(L"UpdateGroup", L"string"));
    EXPECT_STREQ("Pals", GetEntryText(friends)) << "the cached group took the change";

    // A name that is taken: refused, and the cached group keeps what the service has.
    m_boxes.boxes.clear();
    CGroupDlg refused(friends, nullptr);
    RunRefusedChange(refused, "Group", [](HWND d) {
        S::Type(d, IDC_GROUP_NAME, "Subscribers");
        S::Type(d, IDC_GROUP_DESCRIPTION, "Changed");
        S::Click(d, IDOK);
    });
    EXPECT_EQ(2u, Requests(L"UpdateGroup"));
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_GROUP_NOT_UPDATED)));
    EXPECT_STREQ("Pals", GetEntryText(friends));
    CComBSTR description;
    friends->get_Description(&description);
    EXPECT_STREQ("Old friends", CString(description));
    EXPECT_FALSE(refused.WasCreated());
}

TEST_F(ContactDialogs, MembersOfANewGroupAreStoredAtOk) {
    CGroupDlg dialog(nullptr, nullptr);
    S script;
    script
        .Then("Group",
              [](HWND d) {
                  S::Type(d, IDC_GROUP_NAME, "Team2");
                  S::Click(d, IDC_GROUP_MEMBERS_BUTTON);
              })
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_TRUE(S::Enabled(d, IDOK)) << "an empty member list is a valid answer";
                  EXPECT_TRUE(S::Select(d, IDC_CONTACTS_LIST, "Carol"));
                  S::Click(d, IDC_ADD_RECIPIENT);
              })
        .Then("Select Recipients",
              [](HWND d) {
                  EXPECT_EQ((std::vector<CString>{"Carol"}), S::Entries(d, IDC_RECIPIENTS_LIST));
                  S::Click(d, IDOK);
              })
        .Then("Group", [&](HWND d) {
            EXPECT_EQ((std::vector<CString>{"Carol"}), S::Entries(d, IDC_GROUP_MEMBERS));
            S::Click(d, IDOK);
        });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
    ASSERT_EQ(1u, Requests(L"AddGroup"));
    EXPECT_EQ(L"Team2", LastField(L"AddGroup", L"Name"));
    EXPECT_TRUE(LastFields(L"AddGroup", L"string").empty());
    ASSERT_EQ(1u, Requests(L"UpdateGroup"));
    EXPECT_EQ((std::vector<std::wstring>{L"1003"}), LastFields(L"UpdateGroup", L"string"));
    EXPECT_EQ(GetEntryId(dialog.GetGroup()), CString(LastField(L"UpdateGroup", L"ID").c_str()));
    EXPECT_TRUE(dialog.WasCreated());
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(ContactDialogs, AGroupTheMembersButtonCreatedReachesThePickerAndTheCacheAfterCancel) {
    CSelectContactsDlg picker("", nullptr);
    S script;
    script
        .Then("Select Recipients",
              [](HWND d) {
                  S::SelectTab(d, IDC_SOURCE_TABS, 1);
                  S::Click(d, IDC_NEW_ENTRY);
              })
        .Then("Group",
              [](HWND d) {
                  S::Type(d, IDC_GROUP_NAME, "Team3");
                  S::Click(d, IDC_GROUP_MEMBERS_BUTTON);
              })
        .Then("Select Recipients", [](HWND d) { S::Click(d, IDCANCEL); })
        .Then("Group", [](HWND d) { S::Click(d, IDCANCEL); })
        .Then("Select Recipients", [&](HWND d) {
            std::vector<CString> groups = S::Entries(d, IDC_GROUPS_LIST);
            EXPECT_EQ((std::vector<CString>{"Friends", "Subscribers", "Empty", "Team3"}), groups);
            EXPECT_STREQ("Team3", S::Selected(d, IDC_GROUPS_LIST));
            S::Click(d, IDCANCEL);
        });
    EXPECT_EQ(IDCANCEL, picker.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(1u, Requests(L"AddGroup"));
    EXPECT_EQ(0u, Requests(L"UpdateGroup"));
    CCachedCollection groups(CCachedCollection::kGroups);
    ASSERT_TRUE(groups.Fetch(NewService()));
    EXPECT_EQ(4, groups.Count());
    EXPECT_STREQ("Team3", GetEntryText(groups.Item(4)));
    EXPECT_EQ(1u, Requests(L"GetGroups")) << "the cache was not read again";
}
