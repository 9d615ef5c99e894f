// regsvr32 of the SDK writes the class table's registry layout and the type library, and /u
// removes them again. The test ends with the server registered: it is the fixture of every other
// COM test of the SDK.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ComTestSupport.h"
#include "RegistryTestSupport.h"

namespace {

using namespace testsupport;  // the registry readers

struct ClassRow {
    const wchar_t* clsid;
    const wchar_t* progId;
    const wchar_t* independentProgId;
    const wchar_t* description;
};

const ClassRow kClasses[] = {
    {L"{EC711225-61CA-4992-A48B-44453957FB54}", L"Tarvock.SendService.2", L"Tarvock.SendService2", L"Tarvock SendService2 Class"},
    {L"{E5B75431-6C0B-438B-A560-99D682B988B8}", L"Tarvock.StringCollection.2", L"Tarvock.StringCollection2", L"Tarvock StringCollection2 Class"},
    {L"{11BC71C9-E410-446B-BA08-241F32C2D3C6}", L"Tarvock.InboxService.2", L"Tarvock.InboxService2", L"Tarvock InboxService2 Class"},
    {L"{6964E153-7999-40B0-8A7D-05CDD4D6B7C0}", L"Tarvock.AccountService.1", L"Tarvock.AccountService", L"Tarvock AccountService Class"},
    {L"{FBD44C3B-5A03-4FBA-8044-A1D9A8D5BD42}", L"Tarvock.SMSMessage.2", L"Tarvock.SMSMessage2", L"Tarvock SMSMessage2 Class"},
    {L"{FC4B1994-DE90-4655-85A8-AADE7C405261}", L"Tarvock.ContactService.1", L"Tarvock.ContactService", L"Tarvock ContactService Class"},
    {L"{E566C526-B40F-4539-B3E2-F6A4C5911B87}", L"Tarvock.SignupService.1", L"Tarvock.SignupService", L"Tarvock SignupService Class"},
    {L"{A2A9134A-5B61-4785-9652-70635F5F67A8}", L"Tarvock.ObjectCollection.1", L"Tarvock.ObjectCollection", L"ObjectCollection Class"},
    {L"{C4A0F7F2-5BA0-4EBE-AEE9-E65EA63330ED}", L"Tarvock.Contact.1", L"Tarvock.Contact", L"Tarvock Contact Class"},
    {L"{CD076658-CC44-4FE3-A696-470B50BE2595}", L"Tarvock.ContactGroup.1", L"Tarvock.ContactGroup", L"Tarvock ContactGroup Class"},
    {L"{C8E14693-88CF-47C2-A802-159AD787545F}", L"Tarvock.TestService.1", L"Tarvock.TestService", L"Tarvock TestService Class"},
    {L"{3AAA4707-C4EE-441F-8F0F-9D87A9F9E8AC}", L"Tarvock.SignupCompletionElements.1", L"Tarvock.SignupCompletionElements", L"Tarvock SignupCompletionElements Class"},
    {L"{DC986047-4EA9-4C08-9ACA-3935B53F8FC3}", L"Tarvock.AccountState.1", L"Tarvock.AccountState", L"Tarvock AccountState Class"},
    {L"{BFEE1DEB-E2E8-492B-A838-8F7CE4371AE2}", L"Tarvock.MessengerService.1", L"Tarvock.MessengerService", L"Tarvock MessengerService Class"},
};

const wchar_t kTypeLibKey[] = L"TypeLib\\{73FEF5D5-6853-4D5F-A14C-0153F8535FD1}";

std::wstring ServerPath() {
    return testsupport::BesideProgram(L"TarvockSDK2.dll");
}

void ExpectClassRegistered(const ClassRow& row) {
    SCOPED_TRACE(testsupport::Narrow(std::wstring(row.progId)));
    const std::wstring clsidKey = std::wstring(L"CLSID\\") + row.clsid;

    EXPECT_EQ(row.description, Value(row.progId));
    EXPECT_EQ(row.clsid, Value(std::wstring(row.progId) + L"\\CLSID"));
    EXPECT_EQ((std::set<std::wstring>{L"CLSID"}), SubKeys(row.progId));

    EXPECT_EQ(row.description, Value(row.independentProgId));
    EXPECT_EQ(row.clsid, Value(std::wstring(row.independentProgId) + L"\\CLSID"));
    EXPECT_EQ(row.progId, Value(std::wstring(row.independentProgId) + L"\\CurVer"));
    EXPECT_EQ((std::set<std::wstring>{L"CLSID", L"CurVer"}), SubKeys(row.independentProgId));

    EXPECT_EQ(row.description, Value(clsidKey));
    EXPECT_EQ((std::set<std::wstring>{L"InprocServer32", L"ProgID", L"Programmable", L"TypeLib", L"VersionIndependentProgID"}),
              SubKeys(clsidKey));
    EXPECT_EQ(row.progId, Value(clsidKey + L"\\ProgID"));
    EXPECT_EQ(row.independentProgId, Value(clsidKey + L"\\VersionIndependentProgID"));
    EXPECT_TRUE(SubKeys(clsidKey + L"\\Programmable").empty());
    EXPECT_TRUE(SamePath(ServerPath(), Value(clsidKey + L"\\InprocServer32")))
        << testsupport::Narrow(Value(clsidKey + L"\\InprocServer32"));
    EXPECT_EQ(L"Apartment", Value(clsidKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(L"{73FEF5D5-6853-4d5f-A14C-0153F8535FD1}", Value(clsidKey + L"\\TypeLib"));
    // No AppID anywhere.
    EXPECT_EQ((std::set<std::wstring>{L""}), ValueNames(clsidKey));
}

TEST(Registration, UnregisterRemovesEveryClassAndTheTypeLibrary) {
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ASSERT_EQ(0u, RunRegsvr32(L"/u \"" + ServerPath() + L"\""));

    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(testsupport::Narrow(std::wstring(row.progId)));
        EXPECT_FALSE(KeyExists(row.progId));
        EXPECT_FALSE(KeyExists(row.independentProgId));
        EXPECT_FALSE(KeyExists(std::wstring(L"CLSID\\") + row.clsid));
    }
    EXPECT_TRUE(KeyExists(L"CLSID"));
    EXPECT_FALSE(KeyExists(std::wstring(kTypeLibKey) + L"\\2.0"));
}

TEST(Registration, RegisterWritesTheClassTableLayout) {
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));

    for (const ClassRow& row : kClasses) ExpectClassRegistered(row);

    const std::wstring version = std::wstring(kTypeLibKey) + L"\\2.0";
    EXPECT_EQ(L"Tarvock SDK 2.0 Type Library", Value(version));
    EXPECT_TRUE(SamePath(ServerPath(), Value(version + L"\\0\\win64")));
}

TEST(Registration, RegisteringTwiceKeepsOneLayout) {
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    ASSERT_EQ(0u, RunRegsvr32(L"\"" + ServerPath() + L"\""));
    for (const ClassRow& row : kClasses) ExpectClassRegistered(row);
}

}  // namespace
