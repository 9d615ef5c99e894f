// Merging a loaded layout into the bars of a frame's manager: the program's own bars take the
// stored controls, the user's bars join docked, and what cannot be merged goes with the list.
#include "BarArchiveTestSupport.h"
#include "TkTestSupport.h"
#include "controls/TkControlCustom.h"
#include "commandbars/TkMenuBar.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

// Toolbars of stored layouts that count how many of them are alive: loaded bars that are not
// merged must go with the loaded list.
static int g_countedBars = 0;
class CArchiveCountedBar : public CTkToolBar {
    DECLARE_SERIAL(CArchiveCountedBar)
public:
    CArchiveCountedBar() { ++g_countedBars; }
    ~CArchiveCountedBar() override { --g_countedBars; }
};
IMPLEMENT_SERIAL(CArchiveCountedBar, CTkToolBar, TK_ARCHIVE_SCHEMA)

namespace {

// A frame whose manager has its dock bars and the program's own toolbars, a child window a
// custom control may host, and the answers to the questions the merge asks.
class MergeTest : public ArchiveTest {
protected:
    void SetUp() override {
        ArchiveTest::SetUp();
        ASSERT_TRUE(TkDesktopReady());
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, "frame", WS_OVERLAPPEDWINDOW, 10, 10, 600, 400, nullptr, nullptr));
        m_hosted = ::CreateWindowExA(0, "STATIC", "hosted", WS_CHILD, 0, 0, 60, 20, m_frame->GetSafeHwnd(),
                                     (HMENU)(UINT_PTR)kHostedId, nullptr, nullptr);
        ASSERT_TRUE(m_hosted);
        m_frameManager = new CTkCommandBars;
        m_frameManager->SetIconStore(m_store);
        m_frameManager->AttachFrame(m_frame);
        m_frameManager->EnableDocking();
        m_pContext = m_frameManager;
        m_previousHook = AfxSetMessageBoxHook([this](const CString& text, UINT type) {
            m_questions.push_back(text.str());
            m_types.push_back(type);
            return text.Find("'Kept'") >= 0 ? IDYES : IDNO;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHook(m_previousHook);
        m_pContext = &m_manager;
        if (m_frameManager) m_frameManager->InternalRelease();
        if (m_frame && m_frame->GetSafeHwnd()) m_frame->DestroyWindow();  // deletes itself
        TkPumpPending();
        EXPECT_EQ(0, g_countedBars);
    }

    // A toolbar of the program: its buttons, kept as its original controls.
    CTkToolBar* ProgramBar(const char* title, UINT id, const std::vector<int>& commands) {
        CTkToolBar* bar = m_frameManager->AddBar(title, TK_BAR_POSITION_TOP);
        bar->m_nBarId = id;
        for (int command : commands) AddButton(bar, command, Caption(command));
        bar->GetControls()->KeepOriginal();
        return bar;
    }
    // A toolbar as a stored layout holds it: original controls, then the customised ones.
    static CTkToolBar* StoredBar(const char* title, UINT id, const std::vector<int>& originals,
                                 const std::vector<int>& commands) {
        auto* bar = new CArchiveCountedBar;
        bar->m_strTitle = title;
        bar->m_nBarId = id;
        bar->m_nPosition = TK_BAR_POSITION_TOP;
        bar->m_dwFlags = 0x3F;
        for (int command : originals) AddButton(bar, command, Caption(command));
        if (!originals.empty()) bar->GetControls()->KeepOriginal();
        while (bar->GetControls()->GetCount()) bar->GetControls()->RemoveControlAt(0);
        for (int command : commands) AddButton(bar, command, Caption(command));
        return bar;
    }
    static const char* Caption(int command) {
        static std::map<int, std::string> captions;
        return (captions[command] = "Command " + std::to_string(command)).c_str();
    }
    static std::vector<int> Commands(const CTkControls* controls) {
        std::vector<int> ids;
        for (int i = 0; controls && i < controls->GetCount(); ++i)
            if (!controls->GetControl(i)->m_bTemporary) ids.push_back(controls->GetControl(i)->m_nId);
        return ids;
    }
    // Writes the bars (releasing them), reads them back and merges them.
    void StoreAndMerge(const std::vector<CTkCommandBar*>& bars, bool silent) {
        CTkBarList stored;
        for (CTkCommandBar* bar : bars) {
            stored.Add(bar);
            bar->InternalRelease();
        }
        const std::vector<BYTE> bytes = WriteList(stored);
        stored.RemoveAll();
        ASSERT_EQ(0, g_countedBars);
        CTkBarList loaded;
        ASSERT_TRUE(Read(bytes, loaded));
        m_frameManager->MergeLoadedBars(loaded, silent);
    }
    std::vector<BYTE> WriteList(const CTkBarList& bars) {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = m_pContext;
        TkWriteBarsArchive(ar, bars);
        return file.GetData();
    }

    static const int kHostedId = 1234;
    CFrameWnd* m_frame = nullptr;
    HWND m_hosted = nullptr;
    CTkCommandBars* m_frameManager = nullptr;
    AFX_MSGBOX_HOOK m_previousHook;
    std::vector<std::string> m_questions;
    std::vector<UINT> m_types;
};

TEST_F(MergeTest, ProgramBarsTakeTheStoredControlsAndTheUsersBarsJoinDocked) {
    CTkToolBar* standard = ProgramBar("Standard", 1000, {57600, 57601});
    auto* programCustom = new CTkControlCustom;
    programCustom->m_nId = 500;
    standard->GetControls()->Append(programCustom);
    ASSERT_TRUE(programCustom->SetHostedWindow(m_hosted));
    standard->GetControls()->KeepOriginal();
    programCustom->InternalAddRef();
    CTkToolBar* plain = ProgramBar("Plain", 1002, {57606});
    plain->GetControls()->SetOriginal(nullptr);

    // The stored standard bar had the same originals: the custom control first, Open removed.
    CTkToolBar* storedStandard = StoredBar("Standard", 1000, {}, {});
    CTkControls* originals = standard->GetControls()->GetOriginal()->Clone(true);
    storedStandard->GetControls()->SetOriginal(originals);
    originals->InternalRelease();
    auto* storedCustom = new CTkControlCustom;
    storedCustom->m_nId = 500;
    storedCustom->m_nHostedId = kHostedId;
    storedStandard->GetControls()->Append(storedCustom);
    AddButton(storedStandard, 57600, Caption(57600));
    // A user's bar docked right with a popup, one that floated, and a program bar without originals.
    CTkToolBar* right = StoredBar("Right", 1100, {}, {57602});
    right->m_nPosition = TK_BAR_POSITION_RIGHT;
    right->m_dwFlags = 0x1F;
    right->m_dwStyle = TK_BAR_STYLE_TOOLTIPS;
    right->m_bUserToolbar = 1;
    CTkCommandBar* popup = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 0, "More");
    AddButton(popup, 57603, "&Inner");
    AddPopup(right, TK_CONTROL_TYPE_POPUP, "&More", popup);
    popup->m_nBarId = TK_ARCHIVE_FIRST_POPUP_ID;
    CTkToolBar* floating = StoredBar("Floating", 1101, {}, {57604});
    floating->m_nPosition = TK_BAR_POSITION_FLOATING;
    floating->m_bUserToolbar = 1;
    StoreAndMerge({storedStandard, right, floating, StoredBar("Plain", 1002, {}, {57605}), popup}, false);

    EXPECT_TRUE(m_questions.empty());
    EXPECT_EQ((std::vector<int>{500, 57600}), Commands(standard->GetControls()));
    EXPECT_EQ((std::vector<int>{57600, 57601, 500}), Commands(standard->GetControls()->GetOriginal()));
    EXPECT_EQ(standard, standard->GetControl(0)->GetParentBar());
    // The replaced custom control let the window go, and the stored one hosts it.
    EXPECT_EQ(nullptr, programCustom->GetHostedWindow());
    programCustom->InternalRelease();
    auto* custom = dynamic_cast<CTkControlCustom*>(standard->GetControl(0));
    ASSERT_TRUE(custom);
    EXPECT_EQ(m_hosted, custom->GetHostedWindow());
    EXPECT_EQ((std::vector<int>{57605}), Commands(plain->GetControls()));

    // The user's bars joined the list with windows of the frame, docked with their flags.
    ASSERT_EQ(4, m_frameManager->GetCount());
    auto* joined = dynamic_cast<CTkToolBar*>(m_frameManager->FindBar(1100));
    ASSERT_TRUE(joined);
    EXPECT_EQ(m_frameManager, joined->m_pManager);
    EXPECT_TRUE(::IsWindow(joined->GetSafeHwnd()));
    EXPECT_EQ(m_frameManager->GetDockBar(TK_DOCK_RIGHT), joined->GetDockBar());
    EXPECT_EQ(TK_BAR_POSITION_RIGHT, joined->m_nPosition);
    EXPECT_EQ(0x1F, joined->m_dwFlags);
    EXPECT_EQ(TK_BAR_STYLE_TOOLTIPS, joined->m_dwStyle);
    ASSERT_TRUE(joined->GetControl(1)->GetCommandBar());
    EXPECT_EQ("&Inner", joined->GetControl(1)->GetCommandBar()->GetControl(0)->m_strCaption.str());
    auto* docked = dynamic_cast<CTkToolBar*>(m_frameManager->FindBar(1101));
    ASSERT_TRUE(docked);
    EXPECT_EQ(TK_BAR_POSITION_TOP, docked->m_nPosition);
    EXPECT_EQ(m_frameManager->GetDockBar(TK_DOCK_TOP), docked->GetDockBar());
    // The two loaded bars that were taken over are gone with the loaded list.
    EXPECT_EQ(2, g_countedBars);
}

TEST_F(MergeTest, AProgramBarWhoseOwnControlsChangedAsksUnlessSilent) {
    CString format, expected;
    ASSERT_TRUE(TkLoadString(IDS_TK_TOOLBAR_CHANGED_PROMPT, format));
    for (bool silent : {true, false}) {
        SCOPED_TRACE(silent ? "silent" : "asking");
        const UINT id = silent ? 1000 : 1010;
        CTkToolBar* kept = ProgramBar("Kept", id, {57600, 57601});
        CTkToolBar* taken = ProgramBar("Taken", id + 1, {57600, 57601});
        StoreAndMerge({StoredBar("Kept", id, {57600}, {57602}), StoredBar("Taken", id + 1, {57600}, {57603})}, silent);
        EXPECT_EQ((std::vector<int>{57600, 57601}), Commands(kept->GetControls()));
        if (silent) {
            EXPECT_TRUE(m_questions.empty());
            EXPECT_EQ((std::vector<int>{57600, 57601}), Commands(taken->GetControls()));
        } else {
            ASSERT_EQ(2u, m_questions.size());
            expected.Format(format, "Kept");
            EXPECT_EQ(expected.str(), m_questions[0]);
            EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), m_types[0]);
            // No: the stored controls, with the program's new originals.
            EXPECT_EQ((std::vector<int>{57603}), Commands(taken->GetControls()));
            EXPECT_EQ((std::vector<int>{57600, 57601}), Commands(taken->GetControls()->GetOriginal()));
        }
        EXPECT_EQ(0, g_countedBars);
    }
}

TEST_F(MergeTest, HostedWindowsThatAreBarsOrHostedByAnotherBarAreNotTaken) {
    // A bar of the toolkit that is a child of the frame may not be hosted: the read ends.
    auto* barWindow = new CTkCommandBar;
    ASSERT_TRUE(barWindow->CreateEx(0, nullptr, "bar", WS_CHILD, 0, 0, 100, 20, m_frame->GetSafeHwnd(), (HMENU)777));
    CTkToolBar* user = StoredBar("User", 1100, {}, {});
    user->m_bUserToolbar = 1;
    static_cast<CTkControlCustom*>(AddButton(user, 500, "custom", new CTkControlCustom))->m_nHostedId = 777;
    CTkBarList stored;
    stored.Add(user);
    user->InternalRelease();
    Refused(WriteList(stored), 0, "a custom control hosting a bar of the frame");

    // A window a program bar that stays hosts: the user's bar joins without it.
    CTkToolBar* standard = ProgramBar("Standard", 1000, {57600});
    auto* programCustom = static_cast<CTkControlCustom*>(AddButton(standard, 500, "custom", new CTkControlCustom));
    ASSERT_TRUE(programCustom->SetHostedWindow(m_hosted));
    static_cast<CTkControlCustom*>(user->GetControl(0))->m_nHostedId = kHostedId;
    const std::vector<BYTE> bytes = WriteList(stored);
    stored.RemoveAll();
    {
        CTkBarList loaded;
        ASSERT_TRUE(Read(bytes, loaded));
        m_frameManager->MergeLoadedBars(loaded, true);
    }
    CTkCommandBar* joined = m_frameManager->FindBar(1100);
    ASSERT_TRUE(joined);
    auto* custom = dynamic_cast<CTkControlCustom*>(joined->GetControl(0));
    ASSERT_TRUE(custom);
    EXPECT_EQ(nullptr, custom->GetHostedWindow());
    EXPECT_EQ(0, custom->m_nHostedId);
    EXPECT_EQ(m_hosted, programCustom->GetHostedWindow());
    barWindow->DestroyWindow();
    barWindow->InternalRelease();
}

TEST_F(MergeTest, TheMenuBarTakesTheStoredControlsAndSetsPerMenu) {
    auto* menu = new CTkMenuBar;
    menu->m_nBarId = 1;
    menu->m_strTitle = "Menu Bar";
    AddButton(menu, 0, "&File");
    menu->GetControls()->KeepOriginal();
    auto* programSet = new CTkControls;
    programSet->Append(new CTkControlButton)->m_strCaption = "&Program";
    menu->SetMenuSet(131, programSet);
    m_frameManager->AppendBar(menu);
    menu->InternalRelease();

    auto* stored = new CTkMenuBar;
    stored->m_nBarId = 1;
    AddButton(stored, 0, "&File");
    stored->GetControls()->KeepOriginal();
    AddButton(stored, 0, "&Edit");
    auto* storedSet = new CTkControls;
    storedSet->Append(new CTkControlButton)->m_strCaption = "&Stored";
    stored->SetMenuSet(130, storedSet);
    StoreAndMerge({stored}, false);

    EXPECT_TRUE(m_questions.empty());
    ASSERT_EQ(2, menu->GetControls()->GetCount());
    EXPECT_EQ("&Edit", menu->GetControl(1)->m_strCaption.str());
    EXPECT_EQ(menu, menu->GetControl(1)->GetParentBar());
    ASSERT_TRUE(menu->GetMenuSet(130));
    EXPECT_EQ("&Stored", menu->GetMenuSet(130)->GetControl(0)->m_strCaption.str());
    ASSERT_TRUE(menu->GetMenuSet(131)) << "a set the layout does not name stays";
    EXPECT_EQ(2, menu->GetMenuSetCount());
}

}  // namespace
