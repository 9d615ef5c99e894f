// Placeholder controls of popup menus: the Toolbars list, the recent files and the MDI window
// list expand into temporary items when their popup is laid out, anew each time, never stored.
#include "PainterTestSupport.h"
#include "commandbars/TkBarArchive.h"
#include "controls/TkControlPlaceholders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A toolbar that can be shown and hidden without a frame.
class CShowableBar : public CTkCommandBar {
public:
    CShowableBar(const char* title, bool visible) : m_visible(visible) { m_strTitle = title; }
    bool IsVisible() const override { return m_visible; }
    void SetVisible(bool on) override { m_visible = on; }
    bool m_visible;
};

class TkPlaceholdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(m_site.CreateEx(0, nullptr, "site", WS_OVERLAPPEDWINDOW, 10, 10, 500, 300, nullptr, nullptr));
        m_manager = new CTkCommandBars;
        m_manager->AttachFrame(&m_site);
        m_popup.reset(new CTestBar(200, 100, TK_BAR_POSITION_POPUP, TK_BAR_TYPE_POPUP, nullptr));
        m_popup->m_pManager = m_manager;
    }
    void TearDown() override {
        m_popup.reset();
        m_manager->InternalRelease();
        if (m_site.GetSafeHwnd()) m_site.DestroyWindow();
        CTkControlRecentFileList::SetSource(nullptr);
        TkPumpPending();
    }
    // What a popup's layout does first: every control hears of it.
    void LayOut(CTkCommandBar* bar) {
        for (int i = 0; i < bar->GetControls()->GetCount(); ++i) bar->GetControl(i)->OnCalcDynamicSize(0);
    }
    std::vector<std::string> Captions(CTkCommandBar* bar) {
        std::vector<std::string> captions;
        for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
            if (bar->GetControl(i)->IsVisible()) captions.push_back((const char*)bar->GetControl(i)->m_strCaption);
        return captions;
    }

    CWnd m_site;
    CTkCommandBars* m_manager = nullptr;
    std::unique_ptr<CTestBar> m_popup;
};

TEST_F(TkPlaceholdersTest, TheToolbarsListHasACheckItemPerBarThatTogglesIt) {
    auto* shown = new CShowableBar("Standard", true);
    auto* hidden = new CShowableBar("Formatting", false);
    m_manager->AppendBar(shown);
    m_manager->AppendBar(hidden);
    shown->InternalRelease();
    hidden->InternalRelease();

    CTkControl* before = m_popup->AddButton(CRect(), "Before");
    CTkControl* list = m_popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 59392);
    ASSERT_TRUE(dynamic_cast<CTkControlToolbars*>(list));
    m_popup->AddButton(CRect(), "After");
    LayOut(m_popup.get());
    EXPECT_EQ((std::vector<std::string>{"Before", "Standard", "Formatting", "After"}), Captions(m_popup.get()));
    EXPECT_EQ(TK_CONTROL_HIDE_EXPANDED, list->m_nHideFlags) << "the placeholder gives its place to its items";
    CTkControl* standard = m_popup->GetControl(2);
    EXPECT_EQ(1, standard->m_bChecked);
    EXPECT_EQ(1, standard->m_bTemporary);
    EXPECT_EQ(0, m_popup->GetControl(3)->m_bChecked);

    // Choosing "Formatting" shows that bar; the next layout shows it checked, items made anew.
    m_popup->GetControl(3)->Execute();
    EXPECT_TRUE(hidden->IsVisible());
    EXPECT_TRUE(shown->IsVisible());
    LayOut(m_popup.get());
    EXPECT_EQ(5, m_popup->GetControls()->GetCount()) << "the earlier items went";
    EXPECT_EQ(1, m_popup->GetControl(3)->m_bChecked);

    // Items are never stored: a copy of the popup's controls has the placeholder only.
    CTkControls* copy = m_popup->GetControls()->Clone(true);
    EXPECT_EQ(3, copy->GetCount());
    EXPECT_TRUE(dynamic_cast<CTkControlToolbars*>(copy->GetControl(1)));
    copy->InternalRelease();

    // While customising the popup, the placeholder shows itself and nothing else.
    m_manager->SetCustomizeMode(true);
    LayOut(m_popup.get());
    EXPECT_EQ((std::vector<std::string>{"Before", "", "After"}), Captions(m_popup.get()));
    EXPECT_EQ(before, m_popup->GetControl(0));
    m_manager->SetCustomizeMode(false);

    // A bar removed while an item of it waits names nothing then.
    LayOut(m_popup.get());
    CTkControl* stale = m_popup->GetControl(3);
    m_manager->RemoveBar(hidden);
    stale->Execute();
    EXPECT_TRUE(shown->IsVisible()) << "the stale index toggles no other bar";
}

TEST_F(TkPlaceholdersTest, OnAToolbarAPlaceholderIsNeverShownAndTheListNamesMenuBarsToo) {
    auto* menuBar = new CShowableBar("Menu Bar", true);
    menuBar->m_nBarType = TK_BAR_TYPE_MENUBAR;
    m_manager->AppendBar(menuBar);
    menuBar->InternalRelease();

    CTestBar toolbar(200, 30, TK_BAR_POSITION_TOP, TK_BAR_TYPE_TOOLBAR);
    toolbar.m_pManager = m_manager;
    toolbar.AddButton(CRect(), "Before");
    CTkControl* onToolbar = toolbar.GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 59392);
    ASSERT_TRUE(dynamic_cast<CTkControlToolbars*>(onToolbar));
    EXPECT_FALSE(onToolbar->IsVisible()) << "hidden as soon as it joins a toolbar";
    for (bool customizing : {false, true}) {
        m_manager->SetCustomizeMode(customizing);
        LayOut(&toolbar);
        EXPECT_EQ((std::vector<std::string>{"Before"}), Captions(&toolbar)) << customizing;
        EXPECT_EQ(2, toolbar.GetControls()->GetCount()) << "no items out of a popup";
    }
    m_manager->SetCustomizeMode(false);

    // Copied into a popup, the same placeholder lists every bar, the menu bar included.
    m_popup->GetControls()->InsertCopy(onToolbar, -1, true);
    LayOut(m_popup.get());
    EXPECT_EQ((std::vector<std::string>{"Menu Bar"}), Captions(m_popup.get()));
    EXPECT_EQ(1, m_popup->GetControl(1)->m_bChecked);
}

TEST_F(TkPlaceholdersTest, MenuItemsAndAddedCommandsChooseTheirPlaceholdersApart) {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, 57872, "<<OLE VERBS GO HERE>>");
    ::AppendMenuA(menu, MF_STRING, 57872, "&Object");
    ::AppendMenuA(menu, MF_STRING, 57616, "Recent File");
    ::AppendMenuA(menu, MF_STRING, 35003, "Recent files command");
    ::AppendMenuA(menu, MF_STRING, 59392, "Toolbars");
    m_popup->BuildFromMenu(menu, true);
    ::DestroyMenu(menu);
    ASSERT_EQ(5, m_popup->GetControls()->GetCount());
    const char* expected[] = {"CTkControlOleItems", "CTkControlButton", "CTkControlRecentFileList", "CTkControlButton",
                              "CTkControlToolbars"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(expected[i], m_popup->GetControl(i)->GetRuntimeClass()->m_lpszClassName) << i;
    EXPECT_EQ(57872, m_popup->GetControl(0)->m_nId);

    // Added by command id the other way round: the list's own command, not the first file.
    CTkControls* controls = m_popup->GetControls();
    EXPECT_STREQ("CTkControlRecentFileList",
                 controls->AddNew(TK_CONTROL_TYPE_BUTTON, 35003)->GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CTkControlButton", controls->AddNew(TK_CONTROL_TYPE_BUTTON, 57616)->GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CTkControlButton", controls->AddNew(TK_CONTROL_TYPE_BUTTON, 57872)->GetRuntimeClass()->m_lpszClassName);
}

std::vector<CString> ElevenFiles() {
    std::vector<CString> files;
    char directory[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, directory);
    for (int i = 1; i <= 11; ++i) {
        CString path;
        if (i == 2)
            path.Format("D:\\elsewhere\\file%d.txt", i);
        else
            path.Format("%s\\file%d.txt", directory, i);
        files.push_back(path);
    }
    return files;
}

TEST_F(TkPlaceholdersTest, RecentFilesAreNumberedFromOneAndWrapAtTen) {
    CTkControl* list = m_popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 35003);
    ASSERT_TRUE(dynamic_cast<CTkControlRecentFileList*>(list));
    LayOut(m_popup.get());
    EXPECT_TRUE(Captions(m_popup.get()).empty()) << "no recent files, no items";

    CTkControlRecentFileList::SetSource(ElevenFiles);
    LayOut(m_popup.get());
    const std::vector<std::string> captions = Captions(m_popup.get());
    ASSERT_EQ(11u, captions.size());
    EXPECT_EQ("&1 file1.txt", captions[0]) << "shown relative to the current directory";
    EXPECT_EQ("&2 D:\\elsewhere\\file2.txt", captions[1]);
    EXPECT_EQ("&9 file9.txt", captions[8]);
    EXPECT_EQ("&0 file10.txt", captions[9]);
    EXPECT_EQ("&1 file11.txt", captions[10]);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(57616 + i, m_popup->GetControl(1 + i)->m_nId);
    EXPECT_EQ(CString("C:\\a\\b.txt"), CTkControlRecentFileList::DisplayName("C:\\a\\b.txt", "C:\\ab"));
    EXPECT_EQ(CString("b.txt"), CTkControlRecentFileList::DisplayName("c:\\AB\\b.txt", "C:\\ab\\"));
}

TEST_F(TkPlaceholdersTest, APlaceholderOfAStoredMenuComesBackAsOneAndExpandsAgain) {
    CTkControlRecentFileList::SetSource(ElevenFiles);
    m_popup->AddButton(CRect(), "Before");
    m_popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 35003);
    LayOut(m_popup.get());
    ASSERT_EQ(13, m_popup->GetControls()->GetCount());

    // Stored: the button and the placeholder, none of its items.
    CMemFile file;
    {
        CTkBarList bars;
        bars.Add(m_popup.get());
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = m_manager;
        TkWriteBarsArchive(ar, bars);
    }
    const std::vector<BYTE> bytes = file.GetData();
    CMemFile stored(bytes.data(), (UINT)bytes.size());
    CArchive ar(&stored, CArchive::load);
    ar.m_pDocument = m_manager;
    CTkBarList loaded;
    ASSERT_TRUE(TkReadBarsArchive(ar, loaded));
    ASSERT_EQ(1, loaded.GetCount());
    CTkCommandBar* menu = loaded.GetAt(0);
    ASSERT_EQ(2, menu->GetControls()->GetCount());
    EXPECT_TRUE(dynamic_cast<CTkControlRecentFileList*>(menu->GetControl(1)));
    LayOut(menu);
    const std::vector<std::string> captions = Captions(menu);
    ASSERT_EQ(12u, captions.size());
    EXPECT_EQ("Before", captions[0]);
    EXPECT_EQ("&1 file1.txt", captions[1]);
}

TEST_F(TkPlaceholdersTest, TheWindowListNamesTheFramesVisibleMdiChildren) {
    CLIENTCREATESTRUCT create = {nullptr, CTkControlWindowList::kFirstChildId};
    HWND client = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 400, 250,
                                    m_site.GetSafeHwnd(), nullptr, nullptr, &create);
    ASSERT_NE(nullptr, client);
    WNDCLASSA cls = {};
    cls.lpfnWndProc = ::DefMDIChildProcA;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = "TkPlaceholderChild";
    ::RegisterClassA(&cls);
    const std::string longTitle(300, 'x');
    for (const char* title : {"Title1", "Title2", longTitle.c_str()}) {
        MDICREATESTRUCTA child = {"TkPlaceholderChild", title, cls.hInstance, 0, 0, 200, 100, WS_VISIBLE, 0};
        ASSERT_NE(nullptr, (HWND)::SendMessageA(client, WM_MDICREATE, 0, (LPARAM)&child));
    }
    m_popup->m_pOwnerWnd = &m_site;
    m_popup->m_pManager = nullptr;
    CTkControl* list = m_popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 35000);
    ASSERT_TRUE(dynamic_cast<CTkControlWindowList*>(list));
    LayOut(m_popup.get());
    ASSERT_EQ(4, m_popup->GetControls()->GetCount());
    CTkControl* first = m_popup->GetControl(1);
    EXPECT_EQ(0xFF00, first->m_nId);
    EXPECT_EQ(CString("&1 Title1"), first->m_strCaption);
    EXPECT_EQ(1, first->m_bBeginGroup);
    EXPECT_EQ(8, first->m_nFlags);
    EXPECT_EQ(0xFF01, m_popup->GetControl(2)->m_nId);
    EXPECT_EQ(CString("&2 Title2"), m_popup->GetControl(2)->m_strCaption);
    EXPECT_EQ(0, m_popup->GetControl(2)->m_bBeginGroup);
    EXPECT_EQ(3 + 255, m_popup->GetControl(3)->m_strCaption.GetLength()) << "a long title is cut, not overrun";

    // A hidden child is left out; the numbering runs on.
    ::ShowWindow(::GetDlgItem(client, 0xFF01), SW_HIDE);
    LayOut(m_popup.get());
    ASSERT_EQ(3, m_popup->GetControls()->GetCount());
    EXPECT_EQ(0xFF02, m_popup->GetControl(2)->m_nId);
    EXPECT_EQ(CString("&2 "), m_popup->GetControl(2)->m_strCaption.Left(3));

    // The other placeholders of this program have nothing to show.
    for (int id : {35002}) {
        CTkControl* none = m_popup->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, id);
        ASSERT_TRUE(dynamic_cast<CTkControlPlaceholder*>(none));
        none->OnCalcDynamicSize(0);
        EXPECT_TRUE(static_cast<CTkControlPlaceholder*>(none)->GetItems().empty());
    }
    ::DestroyWindow(client);
}

}  // namespace
