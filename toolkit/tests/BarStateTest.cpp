// The bars' layout and options in the profile: the values each section holds (read straight
// from the registry), rescaling to another screen, and a layout saved by one frame and brought
// back in a new one.
#include "BarStateTestSupport.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkBarState.h"
#include "controls/TkControlCustom.h"
#include "commandbars/TkCommandBarsSettings.h"
#include "commandbars/TkPopupBar.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class TkBarStateTest : public CTkProfileTest {};

TEST_F(TkBarStateTest, SectionNamesAreBoundedAndEachPartFitsAKeyName) {
    EXPECT_STREQ("CommandBars\\Send-Bar3", TkBarStateSection("CommandBars\\Send", "-Bar%d", 3));
    EXPECT_STREQ("CommandBars\\Send-Summary", TkBarStateSection("CommandBars\\Send", "-Summary"));
    EXPECT_STREQ("", TkBarStateSection("", "-Summary"));
    EXPECT_STREQ("", TkBarStateSection(nullptr, "-Summary"));
    const CString longTitle(std::string(300, 'T').c_str());
    EXPECT_STREQ("", TkBarStateSection("CommandBars\\" + longTitle, "-Summary"));
    EXPECT_STREQ("", TkBarStateSection("CommandBars\\\\Send", "-Summary"));  // an empty key name
    const CString fits(std::string(247, 'T').c_str());
    EXPECT_EQ(255, TkBarStateSection("CommandBars\\" + fits, "-Summary").GetLength() - 12);
}

TEST_F(TkBarStateTest, OptionsAreWrittenAndReadAndUsedCommandsAreAddedAsASet) {
    CTkCommandBars* manager = new CTkCommandBars;
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    settings->m_bAlwaysShowFullMenus = 0;
    settings->m_bToolBarAccelTips = 1;
    settings->m_nAnimationType = TK_MENU_ANIMATION_FADE;
    manager->SaveOptions(Profile());
    const CString section = Section("-Options");
    EXPECT_EQ(0, RegInt(section, "AlwaysShowFullMenus"));
    EXPECT_EQ(1, RegInt(section, "ShowFullAfterDelay"));
    EXPECT_EQ(1, RegInt(section, "ToolBarScreenTips"));
    EXPECT_EQ(1, RegInt(section, "ToolBarAccelTips"));
    EXPECT_EQ(0, RegInt(section, "LargeIcons"));
    EXPECT_EQ(4, RegInt(section, "Animation"));
    EXPECT_FALSE(RegHas(section, "UsedCommands"));  // no hidden command used

    settings->m_mapUsedCommands[57600] = 1;
    manager->SaveOptions(Profile());
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x00, 0x00, 0xE1, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}), RegBinary(section, "UsedCommands"));
    for (UINT id = 0x100000; id < 0x110000; ++id) settings->m_mapUsedCommands[id] = 1;
    manager->SaveOptions(Profile());
    const std::vector<BYTE> big = RegBinary(section, "UsedCommands");
    ASSERT_EQ(6u + 8u * 0x10001u, big.size());
    EXPECT_EQ(0xFF, big[0]);
    EXPECT_EQ(0xFF, big[1]);
    EXPECT_EQ(0x10001u, big[2] | big[3] << 8 | big[4] << 16 | (DWORD)big[5] << 24);
    std::set<DWORD> ids;
    for (size_t at = 6; at < big.size(); at += 8) {
        ids.insert(big[at] | big[at + 1] << 8 | big[at + 2] << 16 | (DWORD)big[at + 3] << 24);
        EXPECT_EQ(1, big[at + 4]);
    }
    EXPECT_EQ(0x10001u, ids.size());
    manager->InternalRelease();

    // Reading: stored values win, missing or senseless ones keep the current value, and the used
    // commands are added to those already there.
    manager = new CTkCommandBars;
    settings = manager->GetCommandBarsOptions();
    settings->m_mapUsedCommands[7] = 1;
    settings->m_bLargeIcons = 1;
    SetInt(section, "LargeIcons", 0);
    RegDelete(section, "ToolBarScreenTips");
    settings->m_bToolBarScreenTips = 0;
    manager->LoadOptions(Profile());
    EXPECT_EQ(0, settings->m_bAlwaysShowFullMenus);
    EXPECT_EQ(1, settings->m_bToolBarAccelTips);
    EXPECT_EQ(0, settings->m_bLargeIcons);
    EXPECT_EQ(0, settings->m_bToolBarScreenTips);
    EXPECT_EQ(TK_MENU_ANIMATION_FADE, settings->m_nAnimationType);
    EXPECT_EQ(0x10001 + 1, settings->m_mapUsedCommands.GetCount());
    SetInt(section, "Animation", 77);
    manager->LoadOptions(Profile());
    EXPECT_EQ(TK_MENU_ANIMATION_FADE, settings->m_nAnimationType);

    // A damaged used-commands value adds nothing at all.
    settings->ResetUsageData();
    const BYTE damaged[] = {0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00};
    SetBinary(section, "UsedCommands", damaged, sizeof damaged);
    manager->LoadOptions(Profile());
    EXPECT_EQ(0, settings->m_mapUsedCommands.GetCount());
    const BYTE huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00, 0x00};
    SetBinary(section, "UsedCommands", huge, sizeof huge);
    manager->LoadOptions(Profile());
    EXPECT_EQ(0, settings->m_mapUsedCommands.GetCount());
    manager->InternalRelease();
}

TEST_F(TkBarStateTest, ARarelyUsedCommandRunFromItsMenuIsSavedAsUsedWithTheMenusTitle) {
    CTkCommandBars* manager = new CTkCommandBars;
    CTkCommandBarsSettings* settings = manager->GetCommandBarsOptions();
    for (UINT id : {60u, 101u, 103u}) settings->HideCommand(id);
    auto* popup = static_cast<CTkPopupBar*>(manager->CreateDefaultPopupBar());
    auto* title = new CTkControlPopup;
    title->m_nId = 60;
    title->AttachChildBar(popup);
    popup->InternalRelease();
    popup->m_pControlPopup = title;  // as while the menu is open
    for (int id : {100, 101, 102, 103}) popup->GetControls()->Add(new CTkControlButton, id);
    const CString section = Section("-Options");

    // A command that is not hidden shows its hidden menu title from then on.
    popup->GetControl(0)->Execute();
    manager->SaveOptions(Profile());
    EXPECT_EQ((std::vector<BYTE>{0x01, 0x00, 60, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}), RegBinary(section, "UsedCommands"));

    // A hidden one is saved too; running it again adds nothing.
    popup->GetControl(1)->Execute();
    popup->GetControl(1)->Execute();
    manager->SaveOptions(Profile());
    const std::vector<BYTE> used = RegBinary(section, "UsedCommands");
    ASSERT_EQ(2u + 2u * 8u, used.size());
    EXPECT_EQ(2, used[0] | used[1] << 8);
    std::set<DWORD> ids;
    for (size_t at = 2; at < used.size(); at += 8) {
        ids.insert(used[at] | used[at + 1] << 8 | used[at + 2] << 16 | (DWORD)used[at + 3] << 24);
        EXPECT_EQ(1, used[at + 4]);
    }
    EXPECT_EQ((std::set<DWORD>{60, 101}), ids);
    popup->m_pControlPopup = nullptr;
    title->InternalRelease();
    manager->InternalRelease();

    // The next run reads them back: those two show, the unused hidden command stays hidden.
    manager = new CTkCommandBars;
    settings = manager->GetCommandBarsOptions();
    for (UINT id : {60u, 101u, 103u}) settings->HideCommand(id);
    manager->LoadOptions(Profile());
    EXPECT_FALSE(manager->IsCommandHidden(60));
    EXPECT_FALSE(manager->IsCommandHidden(101));
    EXPECT_TRUE(manager->IsCommandHidden(103));
    manager->InternalRelease();
}

TEST_F(TkBarStateTest, BarSectionsHoldOnlyWhatDiffersFromTheDefaultsAndDropStaleValues) {
    CTkBarsState state(CSize(1280, 1024), CSize(32, 32));
    CTkBarStateEntry docked;
    docked.nBarId = 0xE800;
    docked.bVisible = 1;
    docked.nMRUDockId = 59419;
    docked.rcMRUDock = CRect(4, 0, 104, 26);
    CTkBarStateEntry floating;
    floating.nBarId = 0xE801;
    floating.bVisible = 0;
    floating.bFloating = 1;
    floating.ptPos = CPoint(300, 200);
    floating.nMRUWidth = 120;
    floating.ptMRUFloat = CPoint(300, 200);
    state.m_entries = {docked, floating};
    state.Write(Profile());

    EXPECT_EQ(2, RegInt(Section("-Summary"), "Bars"));
    EXPECT_EQ(1280, RegInt(Section("-Summary"), "ScreenCX"));
    EXPECT_EQ(1024, RegInt(Section("-Summary"), "ScreenCY"));
    // (The registry lists value names sorted.)
    EXPECT_EQ((std::vector<CString>{"BarID", "MRUDockBottomPos", "MRUDockID", "MRUDockLeftPos", "MRUDockRightPos",
                                    "MRUDockTopPos", "MRUFloatXPos", "MRUFloatYPos"}),
              RegNames(Section("-Bar0")));
    EXPECT_EQ((std::vector<CString>{"BarID", "Floating", "MRUDockBottomPos", "MRUDockID", "MRUDockLeftPos",
                                    "MRUDockRightPos", "MRUDockTopPos", "MRUFloatXPos", "MRUFloatYPos", "MRUWidth",
                                    "Visible", "XPos", "YPos"}),
              RegNames(Section("-Bar1")));
    EXPECT_EQ(0, RegInt(Section("-Bar1"), "Visible"));
    EXPECT_EQ(104, RegInt(Section("-Bar0"), "MRUDockRightPos"));

    // Shown again: the old "Visible" = 0 must not survive the next save.
    state.m_entries[1].bVisible = 1;
    state.Write(Profile());
    EXPECT_FALSE(RegHas(Section("-Bar1"), "Visible"));

    CTkBarsState read(CSize(1280, 1024), CSize(32, 32));
    ASSERT_TRUE(read.Read(Profile()));
    EXPECT_FALSE(read.m_bRescale);
    ASSERT_EQ(2u, read.m_entries.size());
    EXPECT_EQ(0xE800u, read.m_entries[0].nBarId);
    EXPECT_EQ(1, read.m_entries[0].bVisible);
    EXPECT_EQ(-1, read.m_entries[0].ptPos.x);
    EXPECT_EQ(32767, read.m_entries[0].nMRUWidth);
    EXPECT_EQ(59419u, read.m_entries[0].nMRUDockId);
    EXPECT_EQ(104, read.m_entries[0].rcMRUDock.right);
    EXPECT_EQ(1, read.m_entries[1].bFloating);
    EXPECT_EQ(300, read.m_entries[1].ptPos.x);
    EXPECT_EQ(120, read.m_entries[1].nMRUWidth);

    // No summary: nothing to restore.
    CTkBarsState none;
    EXPECT_FALSE(none.Read("CommandBars\\Nothing"));
}

TEST_F(TkBarStateTest, PositionsRescaleToANewScreenAndStayOnIt) {
    CTkBarsState state(CSize(1024, 768), CSize(32, 32));
    CTkBarStateEntry entry;
    entry.nBarId = 5;
    entry.bFloating = 1;
    entry.ptPos = CPoint(100, 50);
    entry.rcMRUDock = CRect(1000, 10, 1100, 40);
    entry.ptMRUFloat = CPoint(-20, 700);
    state.m_entries = {entry};
    state.Write(Profile());

    CTkBarsState twice(CSize(2048, 1536), CSize(32, 32));
    ASSERT_TRUE(twice.Read(Profile()));
    EXPECT_TRUE(twice.m_bRescale);
    EXPECT_EQ(CPoint(200, 100), twice.m_entries[0].ptPos);
    // Moved by its corner, not resized.
    EXPECT_RECT(CRect(2000, 20, 2100, 50), twice.m_entries[0].rcMRUDock);
    // No lower limit.
    EXPECT_EQ(CPoint(-40, 1400), twice.m_entries[0].ptMRUFloat);

    CTkBarsState same(CSize(1024, 768), CSize(32, 32));
    ASSERT_TRUE(same.Read(Profile()));
    EXPECT_FALSE(same.m_bRescale);
    EXPECT_RECT(CRect(992, 10, 1092, 40), same.m_entries[0].rcMRUDock);  // 1024 - 32, moved left
    EXPECT_EQ(CPoint(-20, 700), same.m_entries[0].ptMRUFloat);

    // A summary without screen sizes (or a nonsense size) does not rescale: nothing is divided by 0.
    RegDelete(Section("-Summary"), "ScreenCX");
    SetInt(Section("-Summary"), "ScreenCY", -5);
    SetInt(Section("-Bar0"), "XPos", 5000);
    CTkBarsState unknown(CSize(1280, 1024), CSize(32, 32));
    ASSERT_TRUE(unknown.Read(Profile()));
    EXPECT_FALSE(unknown.m_bRescale);
    EXPECT_EQ(CPoint(1248, 50), unknown.m_entries[0].ptPos);
}

TEST_F(TkBarStateTest, BarCountsAreCappedAndReadingStopsAtTheFirstMissingBar) {
    CTkBarsState state(CSize(1280, 1024), CSize(32, 32));
    state.m_entries.resize(3);
    for (UINT i = 0; i < 3; ++i) state.m_entries[i].nBarId = 10 + i;
    state.Write(Profile());
    SetInt(Section("-Summary"), "Bars", 0x7FFFFFFF);
    CTkBarsState read(CSize(1280, 1024), CSize(32, 32));
    ASSERT_TRUE(read.Read(Profile()));
    EXPECT_EQ(3u, read.m_entries.size());
    SetInt(Section("-Summary"), "Bars", -3);
    ASSERT_TRUE(read.Read(Profile()));
    EXPECT_EQ(0u, read.m_entries.size());
}

TEST_F(TkBarStateTest, DockRowsCollapseRunsOfBreaksAndAreCapped) {
    const CString section = Section("-DockBar0");
    TkWriteDockBarSection(section, {0, 1, 0, 2, 0});
    EXPECT_EQ((std::vector<CString>{"Bar#0", "Bar#1", "Bar#2", "Bar#3", "Bar#4", "Bars"}), RegNames(section));
    EXPECT_EQ((std::vector<UINT>{0, 1, 0, 2, 0}), TkReadDockBarSection(section));
    TkWriteDockBarSection(section, {5, 0, 0, 7});
    EXPECT_EQ(3, RegInt(section, "Bars"));
    EXPECT_EQ((std::vector<UINT>{5, 0, 7}), TkReadDockBarSection(section));
    TkWriteDockBarSection(section, {0});
    EXPECT_TRUE(RegNames(section).empty());
    EXPECT_TRUE(TkReadDockBarSection(section).empty());
    // A count beyond the values written ends at the first one missing.
    SetInt(section, "Bars", 0x7FFFFFFF);
    SetInt(section, "Bar#0", 9);
    SetInt(section, "Bar#1", 0);
    SetInt(section, "Bar#2", 4);
    EXPECT_EQ((std::vector<UINT>{9, 0, 4}), TkReadDockBarSection(section));
}

// ---------------------------------------------------------------------------------------------
// A frame's layout saved and restored.

class TkFrameStateTest : public CTkProfileTest {};

TEST_F(TkFrameStateTest, PositionsVisibilityAndRowsComeBackInANewFrame) {
    CRect floatWindow;
    std::vector<UINT> topRows, leftRows;
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        // The second toolbar joins the first one's row, the third floats, the fourth docks left
        // and is hidden.
        scene.Layout();
        CRect first = scene.PlaceOnScreen(scene.standard);
        CRect beside(first.right + 20, first.top, first.right + 60, first.bottom);
        ASSERT_TRUE(scene.manager->DockCommandBar(scene.format, scene.manager->GetDockBar(TK_DOCK_TOP), &beside));
        ASSERT_TRUE(scene.manager->FloatCommandBar(scene.drawing));
        scene.drawing->SetWindowPos(nullptr, 320, 240, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(scene.manager->DockCommandBar(scene.tools, scene.manager->GetDockBar(TK_DOCK_LEFT), nullptr));
        scene.tools->SetVisible(false);
        scene.Layout();
        floatWindow = scene.PlaceOnScreen(scene.drawing);
        topRows = scene.RowIds(TK_DOCK_TOP);
        leftRows = scene.RowIds(TK_DOCK_LEFT);
        EXPECT_EQ((std::vector<UINT>{0, 1, 0, 3, 2, 0}), topRows);
        scene.manager->SaveBarState(Profile());
    }
    EXPECT_EQ(5, RegInt(Section("-Summary"), "Bars"));
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), RegInt(Section("-Summary"), "ScreenCX"));
    EXPECT_EQ(1, RegInt(Section("-Bar3"), "Floating"));
    EXPECT_EQ(0, RegInt(Section("-Bar4"), "Visible"));

    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    EXPECT_NE(topRows, scene.RowIds(TK_DOCK_TOP));
    scene.manager->LoadBarState(Profile());
    scene.Layout();
    EXPECT_EQ(topRows, scene.RowIds(TK_DOCK_TOP));
    EXPECT_EQ(leftRows, scene.RowIds(TK_DOCK_LEFT));
    EXPECT_EQ(scene.manager->GetDockBar(TK_DOCK_LEFT), scene.tools->GetDockBar());
    EXPECT_EQ(TK_BAR_POSITION_LEFT, scene.tools->m_nPosition);
    EXPECT_FALSE(scene.tools->IsVisible());
    EXPECT_FALSE(::IsWindowVisible(scene.tools->GetSafeHwnd()));
    EXPECT_TRUE(scene.drawing->IsFloating());
    EXPECT_EQ(nullptr, scene.drawing->GetDockBar());
    EXPECT_EQ(floatWindow.TopLeft(), scene.PlaceOnScreen(scene.drawing).TopLeft());
    EXPECT_EQ(scene.manager->GetDockBar(TK_DOCK_TOP)->GetSafeHwnd(), ::GetParent(scene.format->GetSafeHwnd()));
    // Beside the first toolbar, in the same row.
    const CRect standard = scene.PlaceOnScreen(scene.standard), format = scene.PlaceOnScreen(scene.format);
    EXPECT_EQ(standard.top, format.top);
    EXPECT_GE(format.left, standard.right);
    EXPECT_TRUE(scene.frame->m_nIdleFlags != 0 || scene.frame->layouts > 0);

    // The state saved again is the state read.
    scene.manager->SaveBarState("CommandBars\\Again");
    for (int i = 0; i < 5; ++i) {
        CString was = Section("-Bar%d", i), again = TkBarStateSection("CommandBars\\Again", "-Bar%d", i);
        EXPECT_EQ(RegNames(was), RegNames(again)) << i;
        for (const char* name : {"BarID", "Visible", "Floating", "XPos", "YPos"})
            EXPECT_EQ(RegInt(was, name), RegInt(again, name)) << i << name;
    }
}

TEST_F(TkFrameStateTest, DockEntriesNamingNoBarAreSkippedAndInsertPlacesClamped) {
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    SetInt(Section("-Summary"), "Bars", 0);
    // Bar ids that name no bar (and a bar named twice) in the top dock bar; in the bottom one a
    // bar first, where the leading break belongs, then a break at the same place.
    const int top[] = {0, 77, 78, 3, 79, 80, 0, 3, 2};
    for (int i = 0; i < 9; ++i) SetInt(Section("-DockBar0"), CString("Bar#") + CString(std::to_string(i).c_str()), top[i]);
    SetInt(Section("-DockBar0"), "Bars", 9);
    SetInt(Section("-DockBar1"), "Bar#0", 5);
    SetInt(Section("-DockBar1"), "Bar#1", 0);
    SetInt(Section("-DockBar1"), "Bars", 2);
    scene.manager->LoadBarState(Profile());
    scene.Layout();
    EXPECT_EQ((std::vector<UINT>{0, 1, 0, 3, 4, 0, 2, 0}), scene.RowIds(TK_DOCK_TOP));
    EXPECT_EQ((std::vector<UINT>{0, 5, 0}), scene.RowIds(TK_DOCK_BOTTOM));
    EXPECT_EQ(scene.manager->GetDockBar(TK_DOCK_BOTTOM), scene.tools->GetDockBar());
    EXPECT_EQ(TK_BAR_POSITION_BOTTOM, scene.tools->m_nPosition);
    // Laid out in the bottom dock bar.
    CRect bottom, tools;
    ::GetWindowRect(scene.manager->GetDockBar(TK_DOCK_BOTTOM)->GetSafeHwnd(), &bottom);
    ::GetWindowRect(scene.tools->GetSafeHwnd(), &tools);
    EXPECT_GT(bottom.Height(), 0);
    EXPECT_TRUE(bottom.PtInRect(tools.TopLeft()));
}

TEST_F(TkFrameStateTest, AFrameOnAScreenOfAnotherSizeRescalesWhatWasSaved) {
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        ASSERT_TRUE(scene.manager->FloatCommandBar(scene.drawing));
        scene.drawing->SetWindowPos(nullptr, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        scene.manager->SaveBarState(Profile());
    }
    // As if saved on a screen half as wide and high.
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    SetInt(Section("-Summary"), "ScreenCX", width / 2);
    SetInt(Section("-Summary"), "ScreenCY", height / 2);
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    scene.manager->LoadBarState(Profile());
    EXPECT_TRUE(scene.drawing->IsFloating());
    EXPECT_EQ(CPoint(::MulDiv(100, width, width / 2), ::MulDiv(60, height, height / 2)),
              scene.PlaceOnScreen(scene.drawing).TopLeft());

    // Without a summary nothing moves.
    CTkStateScene fresh;
    ASSERT_TRUE(fresh.Create());
    const std::vector<UINT> rows = fresh.RowIds(TK_DOCK_TOP);
    fresh.manager->LoadBarState("CommandBars\\NeverSaved");
    EXPECT_EQ(rows, fresh.RowIds(TK_DOCK_TOP));
    EXPECT_FALSE(fresh.drawing->IsFloating());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The customised bars: in the profile, or in the side file when large.

namespace {

// The length of the archive the manager writes for its bars now.
size_t ArchiveLength(CTkCommandBars* manager) {
    std::vector<CTkCommandBar*> bars;
    for (int i = 0; i < manager->GetCount(); ++i) bars.push_back(manager->GetBar(i));
    CTkBarList stored;
    TkCollectBars(bars, stored);
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.m_pDocument = manager;
    TkWriteBarsArchive(ar, stored);
    return (size_t)file.GetLength();
}

// Gives the toolbar a new last button whose caption makes the manager's archive `length` long.
void CustomiseToLength(CTkCommandBars* manager, CTkToolBar* bar, size_t length) {
    CTkControl* button = bar->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 999);
    button->m_strCaption = CString(std::string(400, 'c').c_str());
    const size_t base = ArchiveLength(manager);
    button->m_strCaption = CString(std::string(400 + length - base, 'c').c_str());
    ASSERT_EQ(length, ArchiveLength(manager));
}

bool FileExists(const CString& path) {
    return ::GetFileAttributesW(path.Wide().c_str()) != INVALID_FILE_ATTRIBUTES;
}

ULONGLONG FileLength(const CString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.Wide().c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// A fresh folder under the temporary folder.
CString TemporaryFolder(const char* name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    CString folder(temp);
    folder += name;
    ::CreateDirectoryW(folder.Wide().c_str(), nullptr);
    return folder;
}

void RemoveFile(const CString& path) {
    ::SetFileAttributesW(path.Wide().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.Wide().c_str());
}

class TkControlsStateTest : public CTkProfileTest {};

TEST_F(TkControlsStateTest, ALargeCustomisationGoesToTheDefaultSideFileAndASmallOneIntoTheProfile) {
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    const CString path = scene.manager->GetSideFilePath(Profile());
    // "<program>-CommandBars\<test>": the folder is made when missing.
    const CString folder = path.Left(path.ReverseFind('\\'));
    EXPECT_STREQ("-CommandBars", folder.Mid(folder.GetLength() - 12));
    RemoveFile(path);
    ::RemoveDirectoryW(folder.Wide().c_str());
    ASSERT_FALSE(FileExists(folder));
    const CString controls = Section("-Controls");

    // Exactly the limit stays in the profile.
    CustomiseToLength(scene.manager, scene.standard, TK_BAR_STATE_PROFILE_ARCHIVE_LIMIT);
    scene.manager->SaveBarState(Profile());
    EXPECT_EQ((DWORD)REG_BINARY, RegType(controls, "Controls"));
    EXPECT_EQ(TK_BAR_STATE_PROFILE_ARCHIVE_LIMIT, RegBinary(controls, "Controls").size());
    EXPECT_EQ(0, RegInt(controls, "LoadFromFile"));
    EXPECT_FALSE(FileExists(path));

    // One byte more goes to the side file, named in the profile.
    scene.standard->GetControl(scene.standard->GetControls()->GetCount() - 1)->m_strCaption += "c";
    scene.manager->SaveBarState(Profile());
    EXPECT_EQ((DWORD)REG_SZ, RegType(controls, "Controls"));
    EXPECT_STREQ(path, AfxGetApp()->GetProfileString(controls, "Controls", ""));
    EXPECT_EQ(1, RegInt(controls, "LoadFromFile"));
    EXPECT_EQ(TK_BAR_STATE_PROFILE_ARCHIVE_LIMIT + 1, FileLength(path));
    EXPECT_FALSE(FileExists(TkSideFileTemporaryName(path)));

    // Small again: back into the profile, and the file the profile no longer names goes.
    scene.standard->GetControls()->RemoveControlAt(scene.standard->GetControls()->GetCount() - 1);
    scene.manager->SaveBarState(Profile());
    EXPECT_EQ((DWORD)REG_BINARY, RegType(controls, "Controls"));
    EXPECT_EQ(0, RegInt(controls, "LoadFromFile"));
    EXPECT_FALSE(FileExists(path));

    // Without customisation there is no controls section at all.
    AfxGetApp()->WriteProfileString(controls, nullptr, nullptr);
    scene.manager->SetCustomizationEnabled(false);
    scene.manager->SaveBarState(Profile());
    EXPECT_FALSE(RegKeyExists(controls));
    ::RemoveDirectoryW(folder.Wide().c_str());
}

TEST_F(TkControlsStateTest, WhenNoSideFileCanBeMadeTheCustomisationGoesIntoTheProfile) {
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    const CString folder = TemporaryFolder("TarvockSideFiles");
    const CString path = folder + "\\layout.bin";
    RemoveFile(path);
    scene.manager->m_strSideFile = path;
    const CString controls = Section("-Controls");
    CustomiseToLength(scene.manager, scene.standard, 20000);
    scene.manager->SaveBarState(Profile());
    ASSERT_EQ(1, RegInt(controls, "LoadFromFile"));
    ASSERT_EQ(20000u, FileLength(path));

    // The new file cannot be written: the old one is not touched while trying, and the new
    // customisation is kept in the profile, which names no file any more.
    const CString blocked = TkSideFileTemporaryName(path);
    ASSERT_TRUE(::CreateDirectoryW(blocked.Wide().c_str(), nullptr));
    CustomiseToLength(scene.manager, scene.standard, 21000);
    scene.manager->SaveBarState(Profile());
    EXPECT_EQ(0, RegInt(controls, "LoadFromFile"));
    EXPECT_EQ((DWORD)REG_BINARY, RegType(controls, "Controls"));
    EXPECT_EQ(21000u, RegBinary(controls, "Controls").size());
    EXPECT_FALSE(FileExists(path));
    ::RemoveDirectoryW(blocked.Wide().c_str());

    // A side file in a folder that is not there (and not the default one) is not made either.
    scene.manager->m_strSideFile = folder + "\\missing\\layout.bin";
    CustomiseToLength(scene.manager, scene.standard, 22000);
    scene.manager->SaveBarState(Profile());
    EXPECT_EQ(0, RegInt(controls, "LoadFromFile"));
    EXPECT_EQ(22000u, RegBinary(controls, "Controls").size());
    EXPECT_FALSE(FileExists(folder + "\\missing"));

    // A name too long for a path gives no side file.
    scene.manager->m_strSideFile = folder + "\\" + CString(std::string(300, 'n').c_str());
    EXPECT_STREQ("", scene.manager->GetSideFilePath(Profile()));
    scene.manager->m_strSideFile.Empty();
    const CString longProfile = "CommandBars\\" + CString(std::string(250, 'p').c_str());
    EXPECT_STREQ("", scene.manager->GetSideFilePath(longProfile));
    ::RemoveDirectoryW(folder.Wide().c_str());
}

// The ids of a bar's controls in order (not the temporary ones the bar makes for itself).
std::vector<int> ControlIds(const CTkCommandBar* bar) {
    std::vector<int> ids;
    for (int i = 0; i < bar->GetControls()->GetCount(); ++i)
        if (!bar->GetControl(i)->m_bTemporary) ids.push_back(bar->GetControl(i)->m_nId);
    return ids;
}

TEST_F(TkControlsStateTest, ACustomisedToolbarAndAUsersOwnBarComeBackInANewFrame) {
    std::vector<UINT> topRows;
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        scene.standard->GetControls()->RemoveControlAt(0);
        scene.standard->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 555)->m_strCaption = "Mine";
        CTkToolBar* user = scene.manager->AddUserBar("User", 0x200, false);
        ASSERT_NE(nullptr, user);
        user->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 777);
        scene.Layout();
        topRows = scene.RowIds(TK_DOCK_TOP);
        scene.manager->SaveBarState(Profile());
    }
    EXPECT_EQ((DWORD)REG_BINARY, RegType(Section("-Controls"), "Controls"));

    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    const std::vector<int> formatIds = ControlIds(scene.format);
    scene.manager->LoadBarState(Profile());
    scene.Layout();
    EXPECT_EQ((std::vector<int>{101, 102, 555}), ControlIds(scene.standard));
    EXPECT_STREQ("Mine", scene.standard->GetControls()->FindById(555)->m_strCaption);
    EXPECT_EQ(formatIds, ControlIds(scene.format));  // not customised, not stored
    ASSERT_EQ(6, scene.manager->GetCount());
    auto* user = dynamic_cast<CTkToolBar*>(scene.manager->FindBar(0x200));
    ASSERT_NE(nullptr, user);
    EXPECT_EQ((std::vector<int>{777}), ControlIds(user));
    EXPECT_STREQ("User", user->m_strTitle);
    EXPECT_TRUE(user->IsVisible());
    EXPECT_EQ(topRows, scene.RowIds(TK_DOCK_TOP));

    // Loading the same layout again takes the user's bar over instead of adding another.
    scene.manager->LoadBarState(Profile());
    EXPECT_EQ(6, scene.manager->GetCount());
    EXPECT_EQ((std::vector<int>{101, 102, 555}), ControlIds(scene.standard));
}

TEST_F(TkControlsStateTest, ALargeCustomisationComesBackFromTheSideFileOrTheProfile) {
    const CString folder = TemporaryFolder("TarvockSideFileLoad");
    const CString path = folder + "\\layout.bin";
    RemoveFile(path);
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        scene.manager->m_strSideFile = path;
        CustomiseToLength(scene.manager, scene.standard, 30000);
        scene.manager->SaveBarState(Profile());
    }
    ASSERT_EQ(1, RegInt(Section("-Controls"), "LoadFromFile"));
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        scene.manager->LoadBarState(Profile());
        ASSERT_EQ((std::vector<int>{100, 101, 102, 999}), ControlIds(scene.standard));
        const int captionLength = scene.standard->GetControls()->FindById(999)->m_strCaption.GetLength();
        EXPECT_GT(captionLength, 29000);

        // The next save cannot write its side file: the customisation goes into the profile
        // and comes back from there.
        ASSERT_TRUE(::CreateDirectoryW(TkSideFileTemporaryName(path).Wide().c_str(), nullptr));
        scene.manager->m_strSideFile = path;
        scene.standard->GetControls()->FindById(999)->m_strCaption += "more";
        scene.manager->SaveBarState(Profile());
        ::RemoveDirectoryW(TkSideFileTemporaryName(path).Wide().c_str());
        ASSERT_EQ(0, RegInt(Section("-Controls"), "LoadFromFile"));

        CTkStateScene again;
        ASSERT_TRUE(again.Create());
        again.manager->LoadBarState(Profile());
        ASSERT_EQ((std::vector<int>{100, 101, 102, 999}), ControlIds(again.standard));
        EXPECT_EQ(captionLength + 4, again.standard->GetControls()->FindById(999)->m_strCaption.GetLength());
    }

    // A side file that went missing restores no customisation: the program's buttons stay.
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        scene.manager->m_strSideFile = path;
        CustomiseToLength(scene.manager, scene.standard, 30000);
        scene.manager->SaveBarState(Profile());
    }
    RemoveFile(path);
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    scene.manager->LoadBarState(Profile());
    EXPECT_EQ((std::vector<int>{100, 101, 102}), ControlIds(scene.standard));
    ::RemoveDirectoryW(folder.Wide().c_str());
}

// A program toolbar hosting a window of the frame: the new frame's own toolbar hosts that window
// before the stored layout is loaded, and the customisation must still come back, hosting it.
TEST_F(TkControlsStateTest, ACustomisationHostingAWindowTheProgramsBarHostsFirstComesBack) {
    const UINT kHostedId = 0x7001;
    auto addHost = [](CTkStateScene& scene) {
        CWnd* window = new CWnd;
        window->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 20), scene.frame, kHostedId);
        auto* custom = new CTkControlCustom;
        custom->m_nId = 900;
        scene.standard->GetControls()->Append(custom);
        EXPECT_TRUE(custom->SetHostedWindow(window->Detach()));
        delete window;
        scene.standard->GetControls()->KeepOriginal();
        return custom;
    };
    {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        addHost(scene);
        scene.Layout();
        scene.standard->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 555);
        scene.manager->SaveBarState(Profile());
    }
    // The program's toolbar docked, and floating (its own window, owned by the frame).
    for (bool floating : {false, true}) {
        CTkStateScene scene;
        ASSERT_TRUE(scene.Create());
        CTkControlCustom* programs = addHost(scene);
        const HWND hosted = programs->GetHostedWindow();
        ASSERT_NE(nullptr, hosted);
        if (floating) {
            ASSERT_TRUE(scene.manager->FloatCommandBar(scene.standard));
        }
        scene.Layout();  // the program's control has put the window into its bar
        ASSERT_EQ(scene.standard->GetSafeHwnd(), ::GetParent(hosted));
        AfxGetApp()->WriteProfileString(Section("-Summary"), nullptr, nullptr);  // the controls only
        scene.manager->LoadBarState(Profile());
        scene.Layout();
        EXPECT_EQ((std::vector<int>{100, 101, 102, 900, 555}), ControlIds(scene.standard)) << floating;
        auto* loaded = dynamic_cast<CTkControlCustom*>(scene.standard->GetControls()->FindById(900));
        ASSERT_NE(nullptr, loaded);
        EXPECT_EQ(hosted, loaded->GetHostedWindow()) << floating;
        EXPECT_EQ(scene.standard->GetSafeHwnd(), ::GetParent(hosted)) << floating;
    }
}

}  // namespace
