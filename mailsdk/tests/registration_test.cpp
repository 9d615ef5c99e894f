// regsvr32 of the address-book server writes its AppID, its class and its type library, and /u
// removes them again; neither touches the SDK's registration of IObjectCollection, which the
// server's type library only refers to. The test ends with the server registered: it is the
// fixture of the server's COM tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ComTestSupport.h"
#include "RegistryTestSupport.h"

namespace {

using namespace testsupport;  // the registry readers

const std::wstring kClsid = L"{C688B454-AABC-4053-B530-E276E92E16AA}";
const std::wstring kClsidKey = L"CLSID\\" + kClsid;
const std::wstring kAppId = L"{6D5B3F50-E46F-4E53-967F-C4F94C70EAFD}";
const std::wstring kTypeLibKey = L"TypeLib\\{619804B0-0500-4687-89C8-8075E78F121C}";
const std::wstring kAddressBookInterface = L"Interface\\{88952BCD-D566-4438-B145-2D365AAA4F58}";
const std::wstring kObjectCollectionInterface = L"Interface\\{6EF5679E-A648-4546-B2E3-C9FDD64D96B4}";
const std::wstring kSdkLibId = L"{73FEF5D5-6853-4D5F-A14C-0153F8535FD1}";

std::wstring ServerPath() {
    return testsupport::BesideProgram(L"TarvockMailSDK.dll");
}

bool SameGuid(const std::wstring& a, const std::wstring& b) {
    return SamePath(a, b);
}

// The SDK's registration of IObjectCollection: present and pointing at the SDK's library.
void ExpectSdkCollectionInterfaceIntact() {
    EXPECT_TRUE(KeyExists(kObjectCollectionInterface)) << "the SDK's IObjectCollection registration was removed";
    EXPECT_TRUE(SameGuid(kSdkLibId, Value(kObjectCollectionInterface + L"\\TypeLib")))
        << testsupport::Narrow(Value(kObjectCollectionInterface + L"\\TypeLib"));
}

void ExpectRegistered() {
    EXPECT_EQ(L"AddressBook Class", Value(L"TarvockMailSDK.AddressBook.1"));
    EXPECT_EQ(kClsid, Value(L"TarvockMailSDK.AddressBook.1\\CLSID"));
    EXPECT_EQ((std::set<std::wstring>{L"CLSID"}), SubKeys(L"TarvockMailSDK.AddressBook.1"));
    EXPECT_EQ(L"AddressBook Class", Value(L"TarvockMailSDK.AddressBook"));
    EXPECT_EQ(kClsid, Value(L"TarvockMailSDK.AddressBook\\CLSID"));
    EXPECT_EQ(L"TarvockMailSDK.AddressBook.1", Value(L"TarvockMailSDK.AddressBook\\CurVer"));

    EXPECT_EQ(L"AddressBook Class", Value(kClsidKey));
    EXPECT_EQ((std::set<std::wstring>{L"InprocServer32", L"ProgID", L"Programmable", L"TypeLib", L"VersionIndependentProgID"}),
              SubKeys(kClsidKey));
    EXPECT_EQ(L"TarvockMailSDK.AddressBook.1", Value(kClsidKey + L"\\ProgID"));
    EXPECT_EQ(L"TarvockMailSDK.AddressBook", Value(kClsidKey + L"\\VersionIndependentProgID"));
    EXPECT_TRUE(SamePath(ServerPath(), Value(kClsidKey + L"\\InprocServer32")));
    EXPECT_EQ(L"Apartment", Value(kClsidKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(L"{619804B0-0500-4687-89C8-8075E78F121C}", Value(kClsidKey + L"\\TypeLib"));
    EXPECT_EQ((std::set<std::wstring>{L"", L"AppID"}), ValueNames(kClsidKey));
    EXPECT_EQ(kAppId, Value(kClsidKey, L"AppID"));

    EXPECT_EQ(L"TarvockMailSDK", Value(L"AppID\\" + kAppId));
    EXPECT_EQ(kAppId, Value(L"AppID\\TarvockMailSDK.DLL", L"AppID"));

    EXPECT_EQ(L"TarvockMailSDK 1.0 Type Library", Value(kTypeLibKey + L"\\1.0"));
    EXPECT_TRUE(SamePath(ServerPath(), Value(kTypeLibKey + L"\\1.0\\0\\win64")));
    EXPECT_TRUE(SameGuid(L"{619804B0-0500-4687-89C8-8075E78F121C}", Value(kAddressBookInterface + L"\\TypeLib")));
    ExpectSdkCollectionInterfaceIntact();
}

TEST(MailRegistration, UnregisterRemovesTheServerAndLeavesTheSdksInterface) {
    ASSERT_TRUE(KeyExists(kObjectCollectionInterface)) << "the SDK is registered by the fixture";
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ASSERT_EQ(0u, RunRegsvr32(L"/u \"" + ServerPath() + L"\""));

    EXPECT_FALSE(KeyExists(L"TarvockMailSDK.AddressBook.1"));
    EXPECT_FALSE(KeyExists(L"TarvockMailSDK.AddressBook"));
    EXPECT_FALSE(KeyExists(kClsidKey));
    EXPECT_TRUE(KeyExists(L"CLSID"));
    EXPECT_FALSE(KeyExists(L"AppID\\" + kAppId));
    EXPECT_FALSE(KeyExists(L"AppID\\TarvockMailSDK.DLL"));
    EXPECT_TRUE(KeyExists(L"AppID"));
    EXPECT_FALSE(KeyExists(kTypeLibKey + L"\\1.0"));
    EXPECT_FALSE(KeyExists(kAddressBookInterface));
    ExpectSdkCollectionInterfaceIntact();
}

TEST(MailRegistration, RegisterWritesTheAppIdClassAndTypeLibrary) {
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ExpectRegistered();
}

TEST(MailRegistration, RegisteringTwiceKeepsOneLayout) {
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ExpectRegistered();
}

}  // namespace
