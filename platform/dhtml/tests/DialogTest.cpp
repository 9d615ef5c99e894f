#include "TestApp.h"
#include "afxdhtml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const bool g_privateDesktop = UsePrivateDesktop(L"TarvockDHtmlTests");

const UINT kHost = 200;
const UINT kFormPage = 300;
const UINT kBrokenPage = 301;

class CTestPageDlg : public CDHtmlDialog {
public:
    explicit CTestPageDlg(UINT page = kFormPage) : CDHtmlDialog(kHost, page) {}

    CString who = "Jo";
    CString name = "typed";
    int agree = 0;
    std::vector<std::string> clicks;
    std::vector<std::string> urls;
    int contextMenus = 0;
    HRESULT contextAnswer = S_FALSE;
    bool clickOkOnInit = false;

    bool OnInitDialog() override {
        bool result = CDHtmlDialog::OnInitDialog();
        if (clickOkOnInit) PostMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(GetElementHwnd("okButton")), BN_CLICKED),
                                       (LPARAM)GetElementHwnd("okButton"));
        return result;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_DHtml_ElementInnerText(dx, "who", who);
        DDX_DHtml_ElementValue(dx, "nameBox", name);
        DDX_DHtml_CheckBox(dx, "agree", agree);
    }
    void OnBeforeNavigate(LPDISPATCH, const char* url) override { urls.push_back(url); }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
        ++contextMenus;
        return contextAnswer;
    }
    HRESULT OnOkButton(const CDHtmlNode*) {
        clicks.push_back("ok");
        if (m_bModal) EndDialog(IDOK);
        return S_OK;
    }
    HRESULT OnCancelButton(const CDHtmlNode* element) {
        clicks.push_back(CString(element->GetId().c_str()).str());
        return S_OK;
    }
    HRESULT OnCloseLink(const CDHtmlNode*) {
        clicks.push_back("closeLink");
        return S_OK;
    }
    DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(CTestPageDlg)
    DHTML_EVENT_ONCLICK("okButton", OnOkButton)
    DHTML_EVENT_ONCLICK("cancelButton", OnCancelButton)
    DHTML_EVENT_ONCLICK("closeLink", OnCloseLink)
END_DHTML_EVENT_MAP()

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

DWORD StyleOf(HWND hwnd) {
    return (DWORD)::GetWindowLongPtrW(hwnd, GWL_STYLE);
}

// The dialog's label (static) with exactly this text, or null.
HWND FindLabel(HWND dialog, const std::wstring& text) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static" && TextOf(child) == text) return child;
    return nullptr;
}

RECT RectIn(HWND dialog, HWND control) {
    RECT rect = {};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Whether a popup menu came up while the call ran (it is closed at once).
bool g_menuSeen = false;
void CALLBACK CloseAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    if (menu && ::IsWindowVisible(menu)) {
        g_menuSeen = true;
        ::EndMenu();
    }
}
bool MenuShownBy(HWND target) {
    g_menuSeen = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseAnyMenu);
    ::SendMessageW(target, WM_CONTEXTMENU, (WPARAM)target, MAKELPARAM(20, 20));
    for (int i = 0; i < 6; ++i) {
        PumpPending();
        ::Sleep(30);
    }
    ::KillTimer(nullptr, timer);
    return g_menuSeen;
}

class DHtmlDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(g_privateDesktop);
        ASSERT_TRUE(dlg.Create(kHost));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (dlg.m_hWnd) dlg.DestroyWindow();
        PumpPending();
    }
    void Click(const char* id) {
        HWND control = dlg.GetElementHwnd(id);
        ASSERT_NE(nullptr, control) << id;
        ::SendMessageW(control, BM_CLICK, 0, 0);
    }
    CTestPageDlg dlg;
};

}  // namespace

TEST_F(DHtmlDialogTest, ThePageBecomesNativeControls) {
    EXPECT_EQ(S_OK, dlg.GetPageResult());
    EXPECT_EQ(L"Test Page", TextOf(dlg.m_hWnd)) << "the page's title is the dialog's caption";

    HWND name = dlg.GetElementHwnd("nameBox");
    HWND secret = dlg.GetElementHwnd("secretBox");
    HWND agree = dlg.GetElementHwnd("agree");
    HWND other = dlg.GetElementHwnd("other");
    HWND ok = dlg.GetElementHwnd("okButton");
    HWND cancel = dlg.GetElementHwnd("cancelButton");
    HWND link = dlg.GetElementHwnd("closeLink");
    for (HWND control : {name, secret, agree, other, ok, cancel, link}) ASSERT_NE(nullptr, control);
    EXPECT_EQ(nullptr, dlg.GetElementHwnd("heading")) << "texts are labels, not controls of their own";

    EXPECT_EQ(L"Edit", ClassOf(name));
    EXPECT_FALSE(StyleOf(name) & ES_PASSWORD);
    EXPECT_EQ(L"Edit", ClassOf(secret));
    EXPECT_TRUE(StyleOf(secret) & ES_PASSWORD);
    EXPECT_EQ((DWORD)BS_AUTOCHECKBOX, StyleOf(agree) & BS_TYPEMASK);
    EXPECT_EQ(L"I agree && accept", TextOf(agree)) << "an enclosing label is the check box's caption";
    EXPECT_EQ(L"Other option", TextOf(other)) << "a label for the check box is its caption";
    EXPECT_EQ(nullptr, FindLabel(dlg.m_hWnd, L"Other option")) << "and is not shown twice";
    EXPECT_EQ((DWORD)BS_DEFPUSHBUTTON, StyleOf(ok) & BS_TYPEMASK);
    EXPECT_EQ(L"OK", TextOf(ok));
    EXPECT_EQ((DWORD)BS_PUSHBUTTON, StyleOf(cancel) & BS_TYPEMASK);
    EXPECT_EQ(L"Cancel", TextOf(cancel));
    EXPECT_EQ((DWORD)BS_OWNERDRAW, StyleOf(link) & BS_TYPEMASK);
    EXPECT_EQ(L"Close this page", TextOf(link));
    EXPECT_EQ((LRESULT)::GetDlgCtrlID(ok), LOWORD(dlg.SendMessage(DM_GETDEFID)));

    EXPECT_NE(nullptr, FindLabel(dlg.m_hWnd, L"Welcome"));
    EXPECT_NE(nullptr, FindLabel(dlg.m_hWnd, L"Signed in as Jo.")) << "a paragraph's inline texts make one label";
    EXPECT_NE(nullptr, FindLabel(dlg.m_hWnd, L"User name"));
}

TEST_F(DHtmlDialogTest, ThePageIsLaidOutTopDownWithTableColumnsAligned) {
    HWND heading = FindLabel(dlg.m_hWnd, L"Welcome");
    HWND userLabel = FindLabel(dlg.m_hWnd, L"User name");
    HWND passwordLabel = FindLabel(dlg.m_hWnd, L"Password");
    ASSERT_TRUE(heading && userLabel && passwordLabel);
    std::vector<HWND> order = {heading,
                               dlg.GetElementHwnd("nameBox"),
                               dlg.GetElementHwnd("secretBox"),
                               dlg.GetElementHwnd("agree"),
                               dlg.GetElementHwnd("other"),
                               dlg.GetElementHwnd("closeLink"),
                               dlg.GetElementHwnd("plainLink"),
                               dlg.GetElementHwnd("okButton")};
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_GE(RectIn(dlg.m_hWnd, order[i]).top, RectIn(dlg.m_hWnd, order[i - 1]).bottom) << i;

    RECT name = RectIn(dlg.m_hWnd, dlg.GetElementHwnd("nameBox"));
    RECT secret = RectIn(dlg.m_hWnd, dlg.GetElementHwnd("secretBox"));
    EXPECT_EQ(name.left, secret.left) << "cells of one column share their left edge";
    EXPECT_GT(name.left, RectIn(dlg.m_hWnd, passwordLabel).right);
    EXPECT_GT(name.top, RectIn(dlg.m_hWnd, userLabel).top - 8);
    EXPECT_LT(name.top, RectIn(dlg.m_hWnd, userLabel).bottom) << "a row's cells sit side by side";

    RECT ok = RectIn(dlg.m_hWnd, dlg.GetElementHwnd("okButton"));
    RECT cancel = RectIn(dlg.m_hWnd, dlg.GetElementHwnd("cancelButton"));
    EXPECT_EQ(ok.top, cancel.top);
    EXPECT_GT(cancel.left, ok.right);
    RECT client;
    ::GetClientRect(dlg.m_hWnd, &client);
    EXPECT_LE(cancel.bottom, client.bottom) << "the page fits its dialog";
}

TEST_F(DHtmlDialogTest, ElementValuesTextsAndCheckBoxesAreExchangedById) {
    EXPECT_EQ(L"typed", TextOf(dlg.GetElementHwnd("nameBox"))) << "the dialog's value replaces the page's";
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(dlg.GetElementHwnd("agree"), BM_GETCHECK, 0, 0));

    ::SetWindowTextW(dlg.GetElementHwnd("nameBox"), L"someone else");
    ::SendMessageW(dlg.GetElementHwnd("agree"), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_STREQ("someone else", dlg.name);
    EXPECT_EQ(1, dlg.agree);
    EXPECT_STREQ("Jo", dlg.who) << "reading an inner text gives back what the page shows";

    dlg.who = "Mary Anne";
    ASSERT_TRUE(dlg.UpdateData(false));
    EXPECT_NE(nullptr, FindLabel(dlg.m_hWnd, L"Signed in as Mary Anne."));
    CString text;
    EXPECT_EQ(S_OK, dlg.GetElementText("greeting", text));
    EXPECT_STREQ("Signed in as Mary Anne.", text);
}

TEST_F(DHtmlDialogTest, ANewTextLaysThePageOutAgain) {
    int before = RectIn(dlg.m_hWnd, dlg.GetElementHwnd("nameBox")).top;
    std::string longText;
    for (int i = 0; i < 30; ++i) longText += "many words ";
    ASSERT_EQ(S_OK, dlg.SetElementText("who", longText.c_str()));
    EXPECT_GT(RectIn(dlg.m_hWnd, dlg.GetElementHwnd("nameBox")).top, before + 10)
        << "the wrapped paragraph pushes the form down";
    ASSERT_EQ(S_OK, dlg.SetElementText("closeLink", "Shut"));
    EXPECT_EQ(L"Shut", TextOf(dlg.GetElementHwnd("closeLink")));
}

TEST_F(DHtmlDialogTest, ElementAccessReportsWrongIdsAndKinds) {
    CString text;
    int checked = 0;
    EXPECT_EQ(E_INVALIDARG, dlg.GetElementText("missing", text));
    EXPECT_EQ(E_INVALIDARG, dlg.SetElementValue("missing", "x"));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, dlg.GetElementValue("heading", text));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, dlg.GetElementChecked("nameBox", checked));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, dlg.SetElementText("agree", "x"));
    CDHtmlNode* paragraph = const_cast<CDHtmlNode*>(dlg.GetDocument().GetElementById("okButton"))->GetParent();
    paragraph->SetAttribute(L"id", L"buttons");
    EXPECT_EQ(DISP_E_TYPEMISMATCH, dlg.SetElementText("buttons", "x")) << "controls cannot be replaced by a text";
    EXPECT_NE(nullptr, dlg.GetElementHwnd("okButton"));

    EXPECT_EQ(S_OK, dlg.SetElementText("secretBox", "hidden"));
    EXPECT_EQ(S_OK, dlg.GetElementValue("secretBox", text));
    EXPECT_STREQ("hidden", text);
    EXPECT_EQ(S_OK, dlg.GetElementChecked("other", checked));
    EXPECT_EQ(0, checked);
}

TEST_F(DHtmlDialogTest, ClicksReachTheEventMapByElementId) {
    Click("okButton");
    Click("cancelButton");
    Click("other");
    EXPECT_EQ((std::vector<std::string>{"ok", "cancelButton"}), dlg.clicks);
    EXPECT_TRUE(dlg.urls.empty()) << "buttons do not navigate";
    int checked = 0;
    dlg.GetElementChecked("other", checked);
    EXPECT_EQ(1, checked) << "a click checks a check box";
}

TEST_F(DHtmlDialogTest, LinksReachOnBeforeNavigateWithTheirAddress) {
    Click("closeLink");
    Click("plainLink");
    EXPECT_EQ((std::vector<std::string>{"closeLink"}), dlg.clicks) << "a link's click handler runs first";
    EXPECT_EQ((std::vector<std::string>{"app:start?action=close&x=1", "http://tarvock.invalid/page"}), dlg.urls);
}

TEST_F(DHtmlDialogTest, TheEnterKeyClicksTheSubmitButton) {
    ::SetFocus(dlg.GetElementHwnd("nameBox"));
    ::PostMessageW(dlg.GetElementHwnd("nameBox"), WM_KEYDOWN, VK_RETURN, 0);
    PumpPending();
    EXPECT_EQ((std::vector<std::string>{"ok"}), dlg.clicks);
}

TEST_F(DHtmlDialogTest, TheDialogDecidesOnContextMenus) {
    HWND name = dlg.GetElementHwnd("nameBox");
    dlg.contextAnswer = S_OK;
    EXPECT_FALSE(MenuShownBy(name)) << "handled: no menu";
    EXPECT_EQ(1, dlg.contextMenus);
    EXPECT_FALSE(MenuShownBy(dlg.m_hWnd));
    EXPECT_EQ(2, dlg.contextMenus) << "the page's background asks as well";

    dlg.contextAnswer = S_FALSE;
    EXPECT_TRUE(MenuShownBy(name)) << "not handled: the edit box shows its own menu";
    EXPECT_EQ(3, dlg.contextMenus);
}

namespace {

// A modeless page that deletes itself with its window, closed by a click handler.
class CSelfDeletingPageDlg : public CDHtmlDialog {
public:
    static int navigations;
    static int deleted;
    CSelfDeletingPageDlg() : CDHtmlDialog(kHost, kFormPage) {}
    ~CSelfDeletingPageDlg() override { ++deleted; }
    void OnBeforeNavigate(LPDISPATCH, const char*) override { ++navigations; }
    HRESULT OnCloseLink(const CDHtmlNode*) {
        DestroyWindow();
        return S_OK;
    }

protected:
    void PostNcDestroy() override { delete this; }
    DECLARE_DHTML_EVENT_MAP()
};
int CSelfDeletingPageDlg::navigations = 0;
int CSelfDeletingPageDlg::deleted = 0;

BEGIN_DHTML_EVENT_MAP(CSelfDeletingPageDlg)
    DHTML_EVENT_ONCLICK("closeLink", OnCloseLink)
END_DHTML_EVENT_MAP()

}  // namespace

TEST(DHtmlDialog, AHandlerThatDestroysTheDialogEndsTheClick) {
    ASSERT_TRUE(g_privateDesktop);
    CSelfDeletingPageDlg* dlg = new CSelfDeletingPageDlg;
    ASSERT_TRUE(dlg->Create(kHost));
    HWND link = dlg->GetElementHwnd("closeLink");
    ::SendMessageW(link, BM_CLICK, 0, 0);
    EXPECT_EQ(1, CSelfDeletingPageDlg::deleted);
    EXPECT_EQ(0, CSelfDeletingPageDlg::navigations) << "a closed page follows no link";
}

TEST(DHtmlDialog, AModalPageEndsThroughItsHandlers) {
    ASSERT_TRUE(g_privateDesktop);
    CTestPageDlg dlg;
    dlg.clickOkOnInit = true;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ((std::vector<std::string>{"ok"}), dlg.clicks);
}

TEST(DHtmlDialog, APageThatCannotBeLoadedFailsTheDialog) {
    ASSERT_TRUE(g_privateDesktop);
    CTestPageDlg missing(999);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND), missing.GetPageResult());

    CTestPageDlg broken(kBrokenPage);
    EXPECT_FALSE(broken.Create(kHost));
    EXPECT_EQ(nullptr, broken.m_hWnd);
    EXPECT_TRUE(FAILED(broken.GetPageResult()));
    EXPECT_GE(broken.GetPageError().Find("line"), 0);
}
