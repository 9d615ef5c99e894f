// AccountService against the stand-in: the account's state, message limit and features, and an
// authentication failure.
#include <windows.h>

#include "ServiceStandinTest.h"

namespace {

using namespace servicetest;

class AccountTest : public ServiceStandinTest {};

TEST_F(AccountTest, TheStateCarriesEveryField) {
    CComPtr<IAccountState> state;
    ASSERT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService)->GetAccountState(&state));
    ExpectSent(LastSent(), "AccountService", "GetAccountState", WithCredentials({}));
    EXPECT_EQ("a0000000-0000-4000-8000-000000000001", Text(state, &IAccountState::get_ID));
    EXPECT_EQ("TEST01", Text(state, &IAccountState::get_Reference));
    EXPECT_EQ("447700900101", Text(state, &IAccountState::get_Address));
    EXPECT_EQ("TestAlias", Text(state, &IAccountState::get_ServiceAlias));
    LONG value = 0;
    state->get_MessageLimit(&value);
    EXPECT_EQ(100, value);
    state->get_Features(&value);
    EXPECT_EQ(ACCOUNT_FEATURE_SERVICE_ALIASING | ACCOUNT_FEATURE_INBOX, value);
}

TEST_F(AccountTest, AnAccountWithoutFeaturesOrAlias) {
    CComPtr<IAccountState> state;
    ASSERT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService, L"plain", L"plain", L"PLAIN01")
                        ->GetAccountState(&state));
    EXPECT_EQ("", Text(state, &IAccountState::get_ServiceAlias));
    LONG features = -1;
    state->get_Features(&features);
    EXPECT_EQ(ACCOUNT_FEATURE_NONE, features);
}

TEST_F(AccountTest, TheMessageLimit) {
    LONG limit = 0;
    ASSERT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService)->GetMessageLimit(&limit));
    EXPECT_EQ(100, limit);
    ExpectSent(LastSent(), "AccountService", "GetMessageLimit", WithCredentials({}));
    ASSERT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService, L"lowlimit", L"lowlimit", L"LOW01")
                        ->GetMessageLimit(&limit));
    EXPECT_EQ(2, limit);
}

TEST_F(AccountTest, FeaturesFromTheirWords) {
    const struct {
        const wchar_t* user;
        const wchar_t* account;
        LONG features;
    } accounts[] = {{L"test", L"TEST01", 3}, {L"other", L"OTHER01", 2}, {L"plain", L"PLAIN01", 0}};
    for (const auto& a : accounts) {
        LONG features = -1;
        ASSERT_EQ(S_OK, Initialised<IAccountService>(CLSID_AccountService, a.user, a.user, a.account)
                            ->GetAccountFeatures(&features));
        EXPECT_EQ(a.features, features) << N(std::wstring(a.user));
    }
    ExpectSent(LastSent(), "AccountService", "GetAccountFeatures", WithCredentials({}, "plain", "plain", "PLAIN01"));
}

TEST_F(AccountTest, AWrongPasswordIsAnAuthenticationFailure) {
    CComPtr<IAccountService> account = Initialised<IAccountService>(CLSID_AccountService, L"test", L"Test", L"TEST01");
    CComPtr<IAccountState> state;
    EXPECT_EQ(HRESULT(0x80020002), account->GetAccountState(&state));
    EXPECT_EQ(N(SdkText(5102)), ErrorText());
    EXPECT_EQ(nullptr, state.p);
    ExpectSent(LastSent(), "AccountService", "GetAccountState", WithCredentials({}, "test", "Test"));
}

TEST_F(AccountTest, NothingIsSentBeforeInitialise) {
    LONG limit = 5;
    EXPECT_EQ(E_FAIL, Create<IAccountService>(CLSID_AccountService)->GetMessageLimit(&limit));
    EXPECT_EQ(N(SdkText(5003)), ErrorText());
    EXPECT_EQ(0, limit);
    EXPECT_TRUE(Log().Empty());
}

}  // namespace
