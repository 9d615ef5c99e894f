// The automation object in-process: each IApplication method posts its command to the main
// window, signs in first when signed out (once, even when a second call arrives during the
// sign-in), answers S_FALSE, serves IDispatch from the type library and holds the application
// lock while it lives.
#include "support/TestMessengerApp.h"

#include "resource.h"
#include "signin/LoginState.h"
#include "startup/Application.h"

#include <atlbase.h>
#include <gtest/gtest.h>

#include <functional>

namespace {

// The main window: records every command it receives; the sign-in command runs a test action.
class CCommandRecorderWnd : public CWnd {
public:
    std::vector<UINT> commands;
    std::function<void()> onSignIn;
    bool OnCommand(WPARAM wParam, LPARAM) override {
        commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == ID_SIGN_IN_OUT && onSignIn) onSignIn();
        return true;
    }
};

class Automation : public ::testing::Test {
protected:
    void SetUp() override {
        ::CoInitialize(nullptr);
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr));
        theTestApp.m_pMainWnd = &main;
        CLoginState::SetSignedIn("jo", "ACC1", "4711");
    }
    void TearDown() override {
        theTestApp.m_pMainWnd = nullptr;
        main.DestroyWindow();
        PumpPending();
        ::CoUninitialize();
    }
    CComPtr<IApplication> Create() {
        CComPtr<IApplication> application;
        HRESULT hr = CApplication::Factory().GetClassFactory()->CreateInstance(nullptr, IID_IApplication,
                                                                               (void**)&application);
        EXPECT_EQ(S_OK, hr);
        return application;
    }
    std::vector<UINT> Posted() {
        PumpPending();
        std::vector<UINT> result = main.commands;
        main.commands.clear();
        return result;
    }
    CCommandRecorderWnd main;
};

typedef HRESULT (STDMETHODCALLTYPE IApplication::*Method)(VARIANT_BOOL*);

}  // namespace

TEST_F(Automation, EachMethodPostsItsCommandAndAnswersTrueWithSFalse) {
    CComPtr<IApplication> application = Create();
    ASSERT_NE(nullptr, application.p);
    struct {
        Method method;
        UINT command;
    } table[] = {{&IApplication::Show, ID_SHOW_START_PAGE},   {&IApplication::SendSMS, ID_SEND},
                 {&IApplication::Contacts, ID_CONTACTS},      {&IApplication::Groups, ID_GROUPS},
                 {&IApplication::Inbox, ID_SMS_INBOX},        {&IApplication::SentItems, ID_SENT_MESSAGES},
                 {&IApplication::BuyCredits, ID_BUY_CREDITS_SIGNED_IN},
                 {&IApplication::AccountOptions, ID_ACCOUNT_OPTIONS}};
    for (const auto& entry : table) {
        VARIANT_BOOL result = VARIANT_FALSE;
        EXPECT_EQ(S_FALSE, (application->*entry.method)(&result));
        EXPECT_EQ(VARIANT_TRUE, result);
        // Posted, not sent: nothing has arrived before the messages are pumped.
        EXPECT_TRUE(main.commands.empty());
        EXPECT_EQ(std::vector<UINT>{entry.command}, Posted());
    }
}

TEST_F(Automation, TheCommandIdsAreThoseOfTheApplicationCommands) {
    EXPECT_EQ(32847u, (unsigned)ID_SHOW_START_PAGE);
    EXPECT_EQ(32817u, (unsigned)ID_SEND);
    EXPECT_EQ(32800u, (unsigned)ID_CONTACTS);
    EXPECT_EQ(32831u, (unsigned)ID_GROUPS);
    EXPECT_EQ(32785u, (unsigned)ID_SMS_INBOX);
    EXPECT_EQ(32801u, (unsigned)ID_SENT_MESSAGES);
    EXPECT_EQ(32807u, (unsigned)ID_BUY_CREDITS_SIGNED_IN);
    EXPECT_EQ(32802u, (unsigned)ID_ACCOUNT_OPTIONS);
    EXPECT_EQ(32813u, (unsigned)ID_SIGN_IN_OUT);
}

TEST_F(Automation, InboxByDispidAndByNameThroughIDispatchDoesWhatTheInterfaceDoes) {
    CComPtr<IApplication> application = Create();
    ASSERT_NE(nullptr, application.p);
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, application->QueryInterface(IID_IDispatch, (void**)&dispatch));
    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);

    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
    EXPECT_EQ(VT_BOOL, result.vt);
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    EXPECT_EQ(std::vector<UINT>{ID_SMS_INBOX}, Posted());

    const wchar_t* names[] = {L"Inbox", L"Show", L"SendSMS", L"Contacts",
                              L"Groups", L"SentItems", L"BuyCredits", L"AccountOptions"};
    const DISPID expected[] = {5, 1, 2, 3, 4, 6, 7, 8};
    for (int i = 0; i < 8; ++i) {
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
        EXPECT_EQ(expected[i], id) << CString(names[i]).str();
    }
    ::VariantClear(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(8, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result,
                                     nullptr, nullptr));
    EXPECT_EQ(VARIANT_TRUE, result.boolVal);
    EXPECT_EQ(std::vector<UINT>{ID_ACCOUNT_OPTIONS}, Posted());
}

TEST_F(Automation, SignedOutACallSignsInFirstAndGoesOnWhenTheUserSignedIn) {
    CLoginState::SignOut();
    CComPtr<IApplication> application = Create();
    ASSERT_NE(nullptr, application.p);
    main.onSignIn = [] { CLoginState::SetSignedIn("jo", "ACC1", "4711"); };
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(S_FALSE, application->SentItems(&result));
    EXPECT_EQ(VARIANT_TRUE, result);
    // The sign-in command was sent inside the call, the method's command posted after it.
    EXPECT_EQ((std::vector<UINT>{ID_SIGN_IN_OUT, ID_SENT_MESSAGES}), Posted());
}

TEST_F(Automation, SignedOutACancelledSignInAnswersFalseAndPostsNothing) {
    CLoginState::SignOut();
    CComPtr<IApplication> application = Create();
    ASSERT_NE(nullptr, application.p);
    VARIANT_BOOL result = VARIANT_TRUE;
    EXPECT_EQ(S_FALSE, application->Inbox(&result));
    EXPECT_EQ(VARIANT_FALSE, result);
    EXPECT_EQ(std::vector<UINT>{ID_SIGN_IN_OUT}, Posted());
}

TEST_F(Automation, ASecondCallDuringTheSignInAnswersFalseWithoutASecondSignIn) {
    CLoginState::SignOut();
    CComPtr<IApplication> first = Create();
    CComPtr<IApplication> second = Create();
    ASSERT_NE(nullptr, first.p);
    ASSERT_NE(nullptr, second.p);
    VARIANT_BOOL nested = VARIANT_TRUE;
    HRESULT nestedHr = E_FAIL;
    bool signingInSeen = false;
    main.onSignIn = [&] {
        // Another client's call arrives while the sign-in dialog runs.
        signingInSeen = CApplication::IsSigningIn();
        nestedHr = second->Show(&nested);
        CLoginState::SetSignedIn("jo", "ACC1", "4711");
    };
    VARIANT_BOOL result = VARIANT_FALSE;
    EXPECT_EQ(S_FALSE, first->BuyCredits(&result));
    EXPECT_TRUE(signingInSeen);
    EXPECT_EQ(S_FALSE, nestedHr);
    EXPECT_EQ(VARIANT_FALSE, nested);
    EXPECT_EQ(VARIANT_TRUE, result);
    EXPECT_FALSE(CApplication::IsSigningIn());
    EXPECT_EQ((std::vector<UINT>{ID_SIGN_IN_OUT, ID_BUY_CREDITS_SIGNED_IN}), Posted());
}

TEST_F(Automation, WithoutAMainWindowACallAnswersFalse) {
    CComPtr<IApplication> application = Create();
    ASSERT_NE(nullptr, application.p);
    theTestApp.m_pMainWnd = nullptr;
    VARIANT_BOOL result = VARIANT_TRUE;
    EXPECT_EQ(S_FALSE, application->Show(&result));
    EXPECT_EQ(VARIANT_FALSE, result);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(Automation, EachObjectLocksTheApplicationAndExitIsRefusedWhileOneLives) {
    CSatelliteScope satellite;
    LONG before = AfxOleGetLockCount();
    CComPtr<IApplication> first = Create();
    CComPtr<IApplication> second = Create();
    ASSERT_NE(nullptr, first.p);
    ASSERT_NE(nullptr, second.p);
    EXPECT_EQ(before + 2, AfxOleGetLockCount());
    EXPECT_FALSE(AfxOleCanExitApp());
    first->AddRef();
    first->Release();
    EXPECT_EQ(before + 2, AfxOleGetLockCount());
    {
        CMessageBoxRecorder boxes;
        theTestApp.OnCmdMsg(ID_APP_EXIT_COMMAND, CN_COMMAND, nullptr);
        ASSERT_EQ(1u, boxes.boxes.size());
        EXPECT_STREQ(LoadText(IDS_CANNOT_EXIT), boxes.boxes[0].text);
        EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes.boxes[0].type & MB_ICONMASK);
        EXPECT_TRUE(::IsWindow(main.m_hWnd));
    }
    second.Release();
    EXPECT_EQ(before + 1, AfxOleGetLockCount());
    first.Release();
    EXPECT_EQ(before, AfxOleGetLockCount());
    EXPECT_EQ(before == 0, AfxOleCanExitApp());
}

TEST_F(Automation, TheFactoryServesIApplicationIDispatchAndIUnknownButNoAggregation) {
    IClassFactory* factory = CApplication::Factory().GetClassFactory();
    CComPtr<IUnknown> unknown;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance((IUnknown*)factory, IID_IUnknown, (void**)&unknown));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, (void**)&unknown));
    CComPtr<IApplication> application;
    CComPtr<IDispatch> dispatch;
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IApplication, (void**)&application));
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IDispatch, (void**)&dispatch));
    EXPECT_EQ((void*)application.p, (void*)dispatch.p);
    CComPtr<IUnknown> again;
    EXPECT_EQ(S_OK, application->QueryInterface(IID_IUnknown, (void**)&again));
    EXPECT_EQ(unknown.p, again.p);
}
