// The windows' hold on the signed-in state's cached contacts and groups: reference counts of
// the service and the collection, and finding entries by identity or ID wherever they are now.
#include "ContactWindowsTest.h"

#include "resource.h"
#include "shared/Helpers.h"

using CachedCollection = ContactWindowsTest;

TEST_F(CachedCollection, FetchingKeepsTheCallersServiceAndReadsTheServiceOnce) {
    CComPtr<IContactService> service = NewService();
    ASSERT_TRUE(service);
    ULONG before = RefCount(service);
    {
        CCachedCollection contacts(CCachedCollection::kContacts), groups(CCachedCollection::kGroups);
        ASSERT_TRUE(contacts.Fetch(service));
        ASSERT_TRUE(groups.Fetch(service));
        CCachedCollection again(CCachedCollection::kContacts);
        ASSERT_TRUE(again.Fetch(service));
        EXPECT_EQ(contacts.Get(), again.Get()) << "one shared collection";
        EXPECT_EQ(4, contacts.Count());
        EXPECT_EQ(3, groups.Count());
        EXPECT_EQ(before, RefCount(service)) << "every hand-over carried a reference of its own";
        // A second fetch replaces the hold without leaking it.
        ULONG held = RefCount(contacts.Get());
        ASSERT_TRUE(contacts.Fetch(service));
        EXPECT_EQ(held, RefCount(contacts.Get()));
    }
    EXPECT_EQ(before, RefCount(service));
    EXPECT_EQ(1u, Requests(L"GetContacts"));
    EXPECT_EQ(1u, Requests(L"GetGroups"));
    EXPECT_TRUE(m_boxes.boxes.empty());
}

TEST_F(CachedCollection, AHoldOutlivesAReleaseOfTheCacheAndReloadReadsTheServiceAgain) {
    CComPtr<IContactService> service = NewService();
    CCachedCollection window(CCachedCollection::kContacts);
    ASSERT_TRUE(window.Fetch(service));
    CComPtr<IContact> carol = window.ContactAt(3);
    CLoginState::ReleaseCachedContacts();  // a reload elsewhere
    EXPECT_EQ(4, window.Count()) << "the collection lives on for this window";
    EXPECT_STREQ("Carol", ContactText(window.ContactAt(3), &IContact::get_QuickName));

    CCachedCollection other(CCachedCollection::kContacts);
    ASSERT_TRUE(other.Fetch(service));
    EXPECT_NE(window.Get(), other.Get());
    EXPECT_EQ(2u, Requests(L"GetContacts"));
    other.Reload();
    EXPECT_FALSE(other);
    ASSERT_TRUE(other.Fetch(service));
    EXPECT_EQ(3u, Requests(L"GetContacts"));
}

TEST_F(CachedCollection, EntriesAreFoundByIdentityThenByIdAndRemovedWhereverTheyAre) {
    CComPtr<IContactService> service = NewService();
    CCachedCollection picker(CCachedCollection::kContacts), window(CCachedCollection::kContacts);
    ASSERT_TRUE(picker.Fetch(service));
    ASSERT_TRUE(window.Fetch(service));
    CComPtr<IContact> bob = picker.ContactAt(2), carol = picker.ContactAt(3);
    EXPECT_EQ(3, picker.IndexOf(carol));
    EXPECT_STREQ("1003", GetEntryId(carol));
    EXPECT_STREQ("Carol", GetEntryText(carol));

    // Another window removes Bob: Carol moves up, and is still found.
    EXPECT_TRUE(window.Remove(bob));
    EXPECT_EQ(3, picker.Count());
    EXPECT_EQ(2, picker.IndexOf(carol));
    EXPECT_EQ(0, picker.IndexOf(bob));
    EXPECT_FALSE(picker.Remove(bob)) << "an entry no longer held changes nothing";
    EXPECT_EQ(3, picker.Count());

    // A copy carrying Carol's ID (not the cached object) finds her too.
    CComPtr<IContact> copy;
    ASSERT_EQ(S_OK, copy.CoCreateInstance(CLSID_Contact));
    copy->put_ID(CComBSTR(L"1003"));
    EXPECT_EQ(2, picker.IndexOf(copy));
    EXPECT_EQ(2, picker.IndexOfId("1003"));
    copy->put_ID(CComBSTR(L"9999"));
    EXPECT_EQ(0, picker.IndexOf(copy));
    EXPECT_EQ(0, picker.IndexOf(nullptr));

    // Groups by their ID and Name.
    CCachedCollection groups(CCachedCollection::kGroups);
    ASSERT_TRUE(groups.Fetch(service));
    CComPtr<IContactGroup> friends = groups.GroupAt(1);
    EXPECT_STREQ("2001", GetEntryId(friends));
    EXPECT_STREQ("Friends", GetEntryText(friends));
    EXPECT_TRUE(IsSameObject(friends, groups.Item(1)));
    EXPECT_FALSE(IsSameObject(friends, groups.Item(2)));
    EXPECT_THROW(groups.Item(9), _com_error);
    EXPECT_EQ(0u, Requests(L"DeleteContact")) << "the cache changes, never the service";
}

TEST_F(CachedCollection, AFailedReadIsReportedAndHoldsNothing) {
    CComPtr<IContactService> service = NewService("wrong");
    ASSERT_TRUE(service);
    ULONG before = RefCount(service);
    CCachedCollection contacts(CCachedCollection::kContacts);
    EXPECT_FALSE(contacts.Fetch(service));
    EXPECT_FALSE(contacts);
    EXPECT_EQ(0, contacts.Count());
    EXPECT_EQ(before, RefCount(service));
    ASSERT_EQ(1u, m_boxes.boxes.size());
    EXPECT_EQ(0, m_boxes.boxes[0].text.Find(LoadText(IDS_CONTACTS_NOT_READ)));
}
