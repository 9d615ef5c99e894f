// The bar and control archive: the golden bytes of a fixed layout (checked in as
// res/bar_archive.bin), one record assembled by hand field by field, the damaged archives that
// must be refused without creating or leaking anything, and a fuzz loop over mutated archives.
//
// Leaks are counted with the program's own allocation counter (TkAllocationCounter): every bar,
// control, collection and string is counted.
#include "BarArchiveTestSupport.h"
#include "TkAllocationCounter.h"
#include "TkTestSupport.h"
#include "commandbars/TkBarArchive.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkDockBar.h"
#include "commandbars/TkMenuBar.h"
#include "commandbars/TkToolBar.h"
#include "commandbars/TkPopupBar.h"
#include "controls/TkControlComboBox.h"
#include "controls/TkControlCustom.h"
#include "controls/TkControlEdit.h"
#include "controls/TkControlPlaceholders.h"
#include "controls/TkControlSelector.h"
#include "images/TkIconStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <map>
#include <random>
#include <set>
#include <string>

// Serial classes that count their constructions: they must never be made from an archive that
// names them where they do not belong.
int g_probesMade = 0;
class CArchiveProbeBar : public CTkCommandBar {
    DECLARE_SERIAL(CArchiveProbeBar)
public:
    CArchiveProbeBar() { ++g_probesMade; }
};
IMPLEMENT_SERIAL(CArchiveProbeBar, CTkCommandBar, TK_ARCHIVE_SCHEMA)

class CArchiveProbeObject : public CObject {
    DECLARE_SERIAL(CArchiveProbeObject)
public:
    CArchiveProbeObject() { ++g_probesMade; }
};
IMPLEMENT_SERIAL(CArchiveProbeObject, CObject, TK_ARCHIVE_SCHEMA)

namespace {

const UINT kGoldenResource = 1;

// Little-endian bytes assembled field by field.
class Bytes {
public:
    Bytes& I32(int value) { return Raw(&value, 4); }
    Bytes& W(WORD value) { return Raw(&value, 2); }
    Bytes& S(const std::string& text) {
        m_bytes.push_back((BYTE)text.size());
        return Raw(text.data(), text.size());
    }
    Bytes& NewClass(const std::string& name, WORD schema = 7) {
        W(0xFFFF).W(schema).W((WORD)name.size());
        return Raw(name.data(), name.size());
    }
    Bytes& Add(const std::vector<BYTE>& bytes) { return Raw(bytes.data(), bytes.size()); }
    Bytes& Raw(const void* data, size_t size) {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
        return *this;
    }
    operator std::vector<BYTE>() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string text;
    char cell[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%02X", bytes[i]);
        text += cell;
        text += (i % 32 == 31) ? "\n" : " ";
    }
    return text;
}

// A 16 x 16 alpha picture with a pattern of its own.
CTkIconImage Picture() {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < 256; ++i) pixels[i] = (i % 3 == 0) ? 0xFF2040C0u : (i % 5 == 0 ? 0x80102030u : 0);
    return CTkIconImage::FromAlphaBitmap(bitmap);
}

// The fixed layout of the golden archive: a customised program bar holding every control
// record, a second (user) bar sharing a popup bar, two levels of popup bars.
struct Layout {
    CTkMenuBar* menu;
    CTkCommandBar* standard;
    CTkCommandBar* mine;
    CTkCommandBar* tools;   // popup bar of "&Tools", shared by "Mine"
    CTkCommandBar* more;    // popup bar inside "&Tools"

    explicit Layout(CTkIconStore* store) {
        // The menu bar keeps a set of its own for a second menu.
        menu = new CTkMenuBar;
        menu->m_nBarId = 1;
        menu->m_dwFlags = 0x5F;
        menu->m_strTitle = "Menu Bar";
        menu->m_nMenuResourceId = 128;
        AddButton(menu, 0, "&File");
        menu->GetControls()->KeepOriginal();
        auto* other = new CTkControls;
        other->Append(new CTkControlButton)->m_strCaption = "&Edit";
        menu->SetMenuSet(130, other);
        standard = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Standard");
        standard->m_dwStyle = TK_BAR_STYLE_TOOLTIPS | TK_BAR_STYLE_GRIPPER;
        standard->m_szButton = CSize(23, 22);
        tools = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 0, "Tools");
        more = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 77, "More");
        AddButton(more, 32772, "&Inner");
        AddButton(tools, 32771, "&Options...")->m_strDescription = "Change the options";
        AddPopup(tools, TK_CONTROL_TYPE_BUTTON_POPUP, "&More", more)->m_bBeginGroup = 1;

        CTkControl* create = AddButton(standard, 57600, "&New");
        create->m_strShortcutText = "Ctrl+N";
        create->m_strTooltip = "New";
        create->m_strDescription = "Create a new document";
        create->m_strParameter = "new";
        create->m_strCategory = "File";
        create->m_nUserValue = 7;
        create->m_shownIn = {3};
        create->m_hiddenIn = {4, 9};
        AddPopup(standard, TK_CONTROL_TYPE_POPUP, "&Tools", tools);
        standard->GetControls()->KeepOriginal();

        CTkControl* custom = AddButton(standard, 57603, "&Save");
        CTkIconImage picture = Picture();
        custom->m_nCustomIconId = (int)store->AddCustomIcon(picture);
        custom->m_strCustomCaption = "Keep";
        custom->m_bBeginGroup = 1;
        custom->m_nStyle = TK_CONTROL_STYLE_ICON_AND_CAPTION;
        custom->m_nFlags = TK_CONTROL_FLAG_RIGHT_ALIGN;
        custom->m_nHideFlags = TK_CONTROL_HIDE_CUSTOMIZE;
        custom->m_nIconId = 57600;
        custom->m_bDefaultItem = 1;
        custom->m_bCloseOnExecute = 0;
        standard->GetControls()->Add(new CTkControlButton, 9400, "made by the bar", -1, true);

        mine = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_FLOATING, 1001, "Mine");
        mine->m_nMRUWidth = 150;
        static_cast<CTkToolBar*>(mine)->m_bUserToolbar = 1;
        static_cast<CTkToolBar*>(mine)->m_bTearOff = 1;
        static_cast<CTkToolBar*>(mine)->m_bInToolbarsMenu = 0;
        AddButton(mine, 57601, "&Open");
        AddPopup(mine, TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, "Tools again", tools);
        tools->InternalRelease();
        more->InternalRelease();
    }
    ~Layout() {
        menu->InternalRelease();
        standard->InternalRelease();
        mine->InternalRelease();
    }
    std::vector<CTkCommandBar*> Bars() const { return {menu, standard, mine}; }
};

std::vector<BYTE> GoldenBytes(UINT resourceId) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));
    if (!resource) return {};
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, resource)));
    return std::vector<BYTE>(data, data + ::SizeofResource(module, resource));
}

// The byte offset of the first occurrence of a text in the bytes.
size_t OffsetOf(const std::vector<BYTE>& bytes, const std::string& text) {
    auto found = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
    return found == bytes.end() ? std::string::npos : (size_t)(found - bytes.begin());
}

TEST_F(ArchiveTest, TheFixedLayoutIsWrittenInItsGoldenBytesAndReadBackToTheSameBytes) {
    std::vector<BYTE> written;
    {
        Layout layout(m_store);
        written = Write(layout.Bars());
        // Popup bars are numbered in the order they are reached; both popup controls of the
        // shared bar write its id.
        EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID, layout.tools->m_nBarId);
        EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID + 1, layout.more->m_nBarId);
        EXPECT_EQ(1000u, layout.standard->m_nBarId);
    }
    const std::vector<BYTE> golden = GoldenBytes(kGoldenResource);
    ASSERT_EQ(golden, written) << "written:\n" << Hex(written);

    FreshStore();
    const long blocks = TkLiveBlocks();
    {
        CTkBarList loaded;
        ASSERT_TRUE(Read(golden, loaded));
        ASSERT_EQ(5, loaded.GetCount());
        auto* menu = dynamic_cast<CTkMenuBar*>(loaded.GetAt(0));
        CTkCommandBar* standard = loaded.GetAt(1);
        CTkCommandBar* tools = loaded.GetAt(2);
        CTkCommandBar* more = loaded.GetAt(3);
        CTkCommandBar* mine = loaded.GetAt(4);
        ASSERT_TRUE(menu);
        EXPECT_EQ(128u, menu->m_nMenuResourceId);
        EXPECT_EQ(0x5F, menu->m_dwFlags);
        ASSERT_TRUE(menu->GetMenuSet(130));
        EXPECT_EQ("&Edit", menu->GetMenuSet(130)->GetControl(0)->m_strCaption.str());
        EXPECT_EQ(1, static_cast<CTkToolBar*>(mine)->m_bTearOff);
        EXPECT_EQ(0, static_cast<CTkToolBar*>(mine)->m_bInToolbarsMenu);
        EXPECT_EQ(0, static_cast<CTkToolBar*>(standard)->m_bUserToolbar);
        EXPECT_EQ(&m_manager, standard->m_pManager);
        EXPECT_EQ("Standard", standard->m_strTitle.str());
        EXPECT_EQ(23, standard->m_szButton.cx);
        EXPECT_EQ(22, standard->m_szButton.cy);
        EXPECT_EQ(TK_BAR_STYLE_TOOLTIPS | TK_BAR_STYLE_GRIPPER, standard->m_dwStyle);
        EXPECT_EQ(TK_BAR_POSITION_FLOATING, mine->m_nPosition);
        EXPECT_EQ(150, mine->m_nMRUWidth);

        // The temporary control was not stored.
        ASSERT_EQ(3, standard->GetControls()->GetCount());
        CTkControl* create = standard->GetControl(0);
        EXPECT_STREQ("CTkControlButton", create->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ("Ctrl+N", create->m_strShortcutText.str());
        EXPECT_EQ("new", create->m_strParameter.str());
        EXPECT_EQ("File", create->m_strCategory.str());
        EXPECT_EQ(7, create->m_nUserValue);
        EXPECT_EQ((std::set<int>{4, 9}), create->m_hiddenIn);
        CTkControl* custom = standard->GetControl(2);
        EXPECT_EQ("Keep", custom->m_strCustomCaption.str());
        EXPECT_EQ(TK_CONTROL_STYLE_ICON_AND_CAPTION, custom->m_nStyle);
        EXPECT_EQ(0, custom->m_bCloseOnExecute);
        EXPECT_TRUE(m_store->FindIconSet((UINT)custom->m_nCustomIconId));

        // Popup controls are linked to the bars read with them, the shared one twice.
        EXPECT_EQ(tools, standard->GetControl(1)->GetCommandBar());
        EXPECT_EQ(tools, mine->GetControl(1)->GetCommandBar());
        EXPECT_EQ(more, tools->GetControl(1)->GetCommandBar());
        EXPECT_EQ(TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP, mine->GetControl(1)->m_nType);

        // The originals came back, and differ from the customised controls.
        ASSERT_TRUE(standard->GetControls()->GetOriginal());
        EXPECT_EQ(2, standard->GetControls()->GetOriginal()->GetCount());
        EXPECT_TRUE(standard->GetControls()->IsCustomized());

        // Written again: the same bytes.
        EXPECT_EQ(golden, Write(loaded));
    }
    FreshStore();
    EXPECT_EQ(blocks, TkLiveBlocks());
}

std::vector<BYTE> OneButtonBar(const char* barClass = "CTkCommandBar", WORD barSchema = 7);

// The worked example of the format: one user toolbar holding one button, byte for byte.
std::vector<BYTE> WorkedExample() {
    return Bytes().Add(OneButtonBar("CTkToolBar")).I32(0).I32(0).I32(1);
}

TEST_F(ArchiveTest, TheWorkedExampleIsWrittenByteForByte) {
    auto* bar = new CTkToolBar;
    bar->m_nPosition = TK_BAR_POSITION_TOP;
    bar->m_nBarId = 1000;
    bar->m_dwFlags = 0x3F;
    bar->m_dwStyle = 0;
    bar->m_strTitle = "Mine";
    bar->m_szButton = CSize(23, 22);
    bar->m_bUserToolbar = 1;
    AddButton(bar, 57600, "&New");
    const std::vector<BYTE> expected = WorkedExample();
    EXPECT_EQ(166u, expected.size());
    EXPECT_EQ(expected, Write({bar}));
    bar->InternalRelease();

    CTkBarList loaded;
    ASSERT_TRUE(Read(expected, loaded));
    auto* read = dynamic_cast<CTkToolBar*>(loaded.GetAt(0));
    ASSERT_TRUE(read);
    EXPECT_EQ(1, read->m_bUserToolbar);
    EXPECT_EQ(1, read->m_bInToolbarsMenu);

    // Schema 6 has no Toolbars-menu switch.
    std::vector<BYTE> older = expected;
    older[6] = 6;
    older.resize(older.size() - 4);
    CTkBarList old;
    ASSERT_TRUE(Read(older, old));
    EXPECT_EQ(1, static_cast<CTkToolBar*>(old.GetAt(0))->m_bInToolbarsMenu);
}

TEST_F(ArchiveTest, ProgramBarsAreStoredOnlyWhenCustomised) {
    auto program = [](UINT id, bool customizable) {
        auto* bar = new CTkToolBar;
        bar->m_nBarId = id;
        bar->m_bCustomizable = customizable ? 1 : 0;
        AddButton(bar, 57600, "&New");
        bar->GetControls()->KeepOriginal();
        return bar;
    };
    CTkToolBar* untouched = program(1000, true);
    CTkToolBar* changed = program(1001, true);
    AddButton(changed, 57601, "&Open");
    CTkToolBar* locked = program(1002, false);
    AddButton(locked, 57601, "&Open");
    CTkToolBar* torn = program(1003, true);
    torn->m_bTearOff = 1;
    auto* user = new CTkToolBar;
    user->m_nBarId = 1004;
    user->m_bUserToolbar = 1;
    CTkCommandBar* popup = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 0, "More");
    AddPopup(user, TK_CONTROL_TYPE_POPUP, "More", popup);
    popup->InternalRelease();
    CTkBarList stored;
    TkCollectBars({untouched, changed, locked, torn, user}, stored);
    ASSERT_EQ(4, stored.GetCount());
    EXPECT_EQ(changed, stored.GetAt(0));
    EXPECT_EQ(torn, stored.GetAt(1));
    EXPECT_EQ(user, stored.GetAt(2));
    EXPECT_EQ(popup, stored.GetAt(3));
    EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID, popup->m_nBarId);
    EXPECT_EQ(1004u, user->m_nBarId);
    for (CTkCommandBar* bar : std::vector<CTkCommandBar*>{untouched, changed, locked, torn, user}) bar->InternalRelease();
}

// A bar of one button, assembled field by field.
std::vector<BYTE> OneButtonBar(const char* barClass, WORD barSchema) {
    return Bytes()
        .I32(1)
        .NewClass(barClass, barSchema)
        .I32(TK_BAR_TYPE_TOOLBAR).I32(TK_BAR_POSITION_TOP).I32(1000).I32(0x3F).I32(0).S("Mine").I32(1).I32(32767)
        .I32(23).I32(22)
        .I32(1)
        .NewClass("CTkControlButton")
        .I32(TK_CONTROL_TYPE_BUTTON).I32(57600).I32(0).I32(0).I32(0).I32(0).I32(0)
        .S("&New").S("").S("").S("").S("")
        .I32(0).S("").S("")
        .W(0).W(0)
        .I32(0).I32(1)
        .I32(0)
        .I32(0).I32(0);
}

TEST_F(ArchiveTest, EachFieldHasItsPlaceAndOlderSchemasReadFewerFields) {
    auto* bar = new CTkCommandBar;
    bar->m_nPosition = TK_BAR_POSITION_TOP;
    bar->m_nBarId = 1000;
    bar->m_dwFlags = 0x3F;
    bar->m_strTitle = "Mine";
    bar->m_szButton = CSize(23, 22);
    AddButton(bar, 57600, "&New");
    EXPECT_EQ(OneButtonBar(), WriteAsIs(bar));
    bar->InternalRelease();

    // Schema 2: no button size, and the collection ends after its controls.
    std::vector<BYTE> old = OneButtonBar("CTkCommandBar", 2);
    const size_t size = OffsetOf(old, "Mine") + 4 + 8;
    old.erase(old.begin() + (long)size, old.begin() + (long)size + 8);
    old.resize(old.size() - 8);
    CTkBarList loaded;
    ASSERT_TRUE(Read(old, loaded));
    EXPECT_EQ(0, loaded.GetAt(0)->m_szButton.cx);
    EXPECT_EQ("&New", loaded.GetAt(0)->GetControl(0)->m_strCaption.str());

    // Schema 8 is refused.
    CTkBarList newer;
    EXPECT_FALSE(Read(OneButtonBar("CTkCommandBar", 8), newer));
    EXPECT_EQ(0, newer.GetCount());
}

TEST_F(ArchiveTest, DamagedArchivesEndTheReadCleanlyAndLeakNothing) {
    const std::vector<BYTE> good = OneButtonBar();
    { CTkBarList warm; ASSERT_TRUE(Read(good, warm)); }
    const size_t type = OffsetOf(good, "CTkCommandBar") + 13;
    auto patched = [&](size_t at, std::vector<BYTE> with) {
        std::vector<BYTE> bytes = good;
        std::copy(with.begin(), with.end(), bytes.begin() + (long)at);
        return bytes;
    };
    Refused(patched(type, {3, 0, 0, 0}), 0, "bar type 3");
    Refused(patched(type + 4, {8, 0, 0, 0}), 0, "bar position 8");
    Refused(patched(type + 4, {0xFF, 0xFF, 0xFF, 0xFF}), 0, "bar position -1");
    Refused(patched(OffsetOf(good, "Mine") - 1, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0,
            "a title longer than the bytes left");
    Refused(patched(OffsetOf(good, "Mine") + 4 + 8, {0xFF, 0xFF, 0xFF, 0x7F}), 0, "a button size out of range");

    // A back-reference outside the map, and one to the bar itself where a new bar must be.
    Refused(patched(OffsetOf(good, "CTkControlButton") - 6, {0x32, 0x80}), 0, "class index 50");
    std::vector<BYTE> twice = good;
    twice[0] = 2;
    twice.push_back(0x02);
    twice.push_back(0x00);
    Refused(twice, 1, "the first bar referred to again");

    // Classes of the wrong kind are refused before they are made.
    Refused(Bytes().I32(2).Raw(good.data() + 4, good.size() - 4).NewClass("CArchiveProbeObject"), 1,
            "an object that is not a bar after a bar");
    Refused(Bytes().I32(1).NewClass("CTkCommandBars"), 0, "the manager's class");
    std::vector<BYTE> barInBar = good;
    const size_t control = OffsetOf(good, "CTkControlButton") - 6;
    barInBar.resize(control);
    Bytes nested;
    nested.Raw(barInBar.data(), barInBar.size()).NewClass("CArchiveProbeBar").I32(1);
    Refused(nested, 0, "a bar where a control must be");
    Refused(Bytes().I32(1).NewClass(std::string(80, 'C')), 0, "an over-long class name");
    Refused(Bytes().I32(1).Raw(good.data() + 4, control - 4).W(0), 0, "a null control");

    // Original collections nested deeper than written ones.
    Bytes deep;
    deep.Raw(good.data(), good.size() - 8).I32(1);
    for (int level = 0; level < 5; ++level) deep.I32(0).I32(level < 4 ? 1 : 0);
    for (int level = 0; level < 6; ++level) deep.I32(0);
    Refused(deep, 0, "original collections nested five deep");
}

TEST_F(ArchiveTest, CustomIconIdsOutsideTheCustomRangeTouchNoPicture) {
    CTkIconImage picture = Picture();
    const UINT custom = m_store->AddCustomIcon(picture);
    CTkCommandBar* bar = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Pictures");
    AddButton(bar, 57600, "&New")->m_nCustomIconId = (int)custom;
    std::vector<BYTE> bytes = Write({bar});
    bar->InternalRelease();
    const size_t id = OffsetOf(bytes, "CTkImageManagerIcons") - 1 - 4 - 2;  // id, then two empty strings
    ASSERT_EQ(custom, *reinterpret_cast<const UINT*>(&bytes[id]));

    // The id of a program command with pictures, and one that would wrap the next custom id.
    for (UINT damaged : {57600u, 0xFFFFFFF0u, (UINT)TK_ARCHIVE_LAST_CUSTOM_ICON_ID + 1}) {
        std::memcpy(&bytes[id], &damaged, 4);
        const int sets = m_store->GetSetCount();
        const UINT next = m_store->GetNextCustomId();
        CTkBarList loaded;
        const bool read = Read(bytes, loaded);
        // A negative id carries no pictures, so the pictures' bytes no longer fit the record.
        EXPECT_EQ(damaged != 0xFFFFFFF0u, read) << damaged;
        if (read) {
            EXPECT_EQ(0, loaded.GetAt(0)->GetControl(0)->m_nCustomIconId);
        }
        EXPECT_EQ(sets, m_store->GetSetCount()) << damaged;
        EXPECT_EQ(next, m_store->GetNextCustomId()) << damaged;
        EXPECT_FALSE(m_store->FindIconSet(57600));
    }
}

TEST_F(ArchiveTest, AMenuKeyMetTwiceKeepsTheLaterSetAndReleasesTheEarlier) {
    auto* menu = new CTkMenuBar;
    menu->m_nBarId = 1;
    for (int key : {130, 131}) {
        auto* set = new CTkControls;
        set->Append(new CTkControlButton)->m_strCaption = key == 130 ? "First" : "Second";
        menu->SetMenuSet(key, set);
    }
    std::vector<BYTE> bytes = Write({menu});
    menu->InternalRelease();
    const size_t second = OffsetOf(bytes, "Second");
    const int key131 = 131, key130 = 130;
    auto at = std::find_end(bytes.begin(), bytes.begin() + (long)second, (const BYTE*)&key131, (const BYTE*)&key131 + 4);
    ASSERT_NE(bytes.begin() + (long)second, at);
    std::memcpy(&*at, &key130, 4);
    const long blocks = TkLiveBlocks();
    {
        CTkBarList loaded;
        ASSERT_TRUE(Read(bytes, loaded));
        auto* read = static_cast<CTkMenuBar*>(loaded.GetAt(0));
        EXPECT_EQ(1, read->GetMenuSetCount());
        EXPECT_EQ("Second", read->GetMenuSet(130)->GetControl(0)->m_strCaption.str());
    }
    EXPECT_EQ(blocks, TkLiveBlocks());
}

TEST_F(ArchiveTest, TemporaryControlsAreNeitherStoredNorCompared) {
    CTkCommandBar* bar = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Mine");
    bar->GetControls()->Add(new CTkControlButton, 9400, "", -1, true);
    std::vector<BYTE> bytes = Write({bar});
    const size_t title = OffsetOf(bytes, "Mine");
    const auto collection = bytes.begin() + (long)title + 4 + 16;
    EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), std::vector<BYTE>(collection, collection + 12));
    CTkControls* plain = new CTkControls;
    EXPECT_TRUE(bar->GetControls()->SameAs(plain));
    plain->InternalRelease();
    bar->InternalRelease();
}

TEST_F(ArchiveTest, APopupControlNamingItsOwnBarOrAnAncestorIsNotLinked) {
    const long blocks = TkLiveBlocks();
    {
        CTkCommandBar* outer = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 0, "Outer");
        CTkCommandBar* inner = NewBar(TK_BAR_TYPE_POPUP, TK_BAR_POSITION_POPUP, 0, "Inner");
        CTkCommandBar* root = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Root");
        AddPopup(root, TK_CONTROL_TYPE_POPUP, "Outer", outer);
        AddPopup(outer, TK_CONTROL_TYPE_POPUP, "Inner", inner);
        AddPopup(inner, TK_CONTROL_TYPE_POPUP, "Back", nullptr);
        AddPopup(outer, TK_CONTROL_TYPE_POPUP, "Self", nullptr);
        outer->InternalRelease();
        inner->InternalRelease();
        std::vector<BYTE> bytes = Write({root});
        root->InternalRelease();
        // "Back" names the outer bar, "Self" its own bar (ids given in the order reached).
        const UINT outerId = TK_ARCHIVE_FIRST_POPUP_ID;
        for (const char* name : {"Back", "Self"}) {
            const size_t at = OffsetOf(bytes, name) + 4 + 22;  // past four strings, the icon id, two strings,
            // the context counts, default item and close switch
            std::memcpy(&bytes[at], &outerId, 4);
        }
        CTkBarList loaded;
        ASSERT_TRUE(Read(bytes, loaded));
        ASSERT_EQ(3, loaded.GetCount());
        EXPECT_EQ(nullptr, loaded.GetAt(2)->GetControl(0)->GetCommandBar());
        EXPECT_EQ(nullptr, loaded.GetAt(1)->GetControl(1)->GetCommandBar());
        EXPECT_EQ(loaded.GetAt(2), loaded.GetAt(1)->GetControl(0)->GetCommandBar());
    }
    EXPECT_EQ(blocks, TkLiveBlocks());
}

// ---------------------------------------------------------------------------------------------
// The records of the field controls and of the toolkit's own popup bars.

const UINT kFieldsGoldenResource = 2;

// The fixed layout of the second golden archive: a user's toolbar with a field control of every
// kind and a popup bar that tears off, which holds a placeholder and a popup toolbar.
struct FieldsLayout {
    CTkToolBar* fields;
    CTkPopupBar* menu;
    CTkPopupToolBar* palette;

    FieldsLayout() {
        fields = new CTkToolBar;
        fields->m_nBarId = 1200;
        fields->m_strTitle = "Fields";
        fields->m_nPosition = TK_BAR_POSITION_LEFT;
        fields->m_dwFlags = 0x3F;
        fields->m_bUserToolbar = 1;
        auto* edit = new CTkControlEdit;
        edit->m_bShowCaption = 0;
        edit->m_nWidth = 150;
        AddButton(fields, 32800, "&Find", edit);
        AddButton(fields, 0, "Zoom", new CTkControlLabel);
        auto* combo = new CTkControlComboBox;
        combo->SetEditable(true);
        combo->m_nWidth = 120;
        combo->m_nThirdWord = 3;
        for (const char* text : {"50%", "100%", "200%"}) combo->AddString(text);
        combo->GetList()->m_nMRUWidth = 90;
        AddButton(fields, 32801, "&Zoom", combo);
        auto* selector = new CTkControlSelector;
        EXPECT_TRUE(selector->SetGrid(CSize(6, 5), CSize(10, 10), CSize(20, 20)));
        AddButton(fields, 32802, "&Table", selector);
        auto* custom = new CTkControlCustom;
        custom->m_nStyle = TK_CONTROL_STYLE_ICON_AND_CAPTION;
        custom->m_rcMargins = CRect(1, 2, 3, 4);
        custom->m_szControl = CSize(80, 20);
        custom->m_nVerticalOption = 1;
        custom->m_nHostedId = 1234;
        AddButton(fields, 32803, "Slider", custom);

        menu = new CTkPopupBar;
        menu->m_strTitle = "Menu";
        menu->m_bTearOff = 1;
        menu->m_strTearOffCaption = "Torn";
        menu->m_nTearOffId = 2000;
        menu->m_nTearOffWidth = 120;
        menu->m_rcBorders = CRect(3, 5, 3, 5);
        menu->m_bShadow = 0;
        AddButton(menu, 32804, "&Item");
        AddButton(menu, 57616, "Recent files", new CTkControlRecentFileList);
        palette = new CTkPopupToolBar;
        palette->m_strTitle = "Palette";
        AddButton(palette, 32805, "&Red");
        AddPopup(menu, TK_CONTROL_TYPE_BUTTON_POPUP, "&Colours", palette);
        AddPopup(fields, TK_CONTROL_TYPE_POPUP, "&Menu", menu);
        menu->InternalRelease();
        palette->InternalRelease();
    }
    ~FieldsLayout() { fields->InternalRelease(); }
};

TEST_F(ArchiveTest, TheFieldControlsAndPopupBarsAreWrittenInTheirGoldenBytesAndReadBack) {
    std::vector<BYTE> written;
    {
        FieldsLayout layout;
        written = Write({layout.fields});
        EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID, dynamic_cast<CTkControlComboBox*>(layout.fields->GetControl(2))->GetList()->m_nBarId);
        EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID + 1, layout.menu->m_nBarId);
        EXPECT_EQ(TK_ARCHIVE_FIRST_POPUP_ID + 2, layout.palette->m_nBarId);
    }
    const std::vector<BYTE> golden = GoldenBytes(kFieldsGoldenResource);
    ASSERT_EQ(golden, written) << "written:\n" << Hex(written);
    // A selector writes its grids and cell after its control record.
    const std::vector<BYTE> grid = Bytes().I32(6).I32(5).I32(10).I32(10).I32(20).I32(20);
    EXPECT_NE(std::string::npos, OffsetOf(golden, std::string(grid.begin(), grid.end())));

    {
        CTkBarList warm;  // the first list window, font and class of the process stay
        ASSERT_TRUE(Read(golden, warm));
    }
    FreshStore();
    const long blocks = TkLiveBlocks();
    {
        CTkBarList loaded;
        ASSERT_TRUE(Read(golden, loaded));
        ASSERT_EQ(3, loaded.GetCount()) << "the stored list only carried the combo's strings";
        CTkCommandBar* fields = loaded.GetAt(0);
        ASSERT_EQ(6, fields->GetControls()->GetCount());
        auto* edit = dynamic_cast<CTkControlEdit*>(fields->GetControl(0));
        ASSERT_TRUE(edit);
        EXPECT_EQ(0, edit->m_bShowCaption);
        EXPECT_EQ(150, edit->m_nWidth);
        EXPECT_TRUE(dynamic_cast<CTkControlLabel*>(fields->GetControl(1)));

        // The combo's own list took the stored list's strings; the stored list goes with the list.
        auto* combo = dynamic_cast<CTkControlComboBox*>(fields->GetControl(2));
        ASSERT_TRUE(combo);
        EXPECT_TRUE(combo->IsEditable());
        EXPECT_TRUE(combo->GetEdit());
        EXPECT_EQ(120, combo->m_nWidth);
        EXPECT_EQ(3, combo->m_nThirdWord);
        ASSERT_EQ(3, combo->GetList()->GetCount());
        EXPECT_EQ("200%", combo->GetList()->GetString(2).str());
        EXPECT_EQ(90, combo->GetList()->m_nMRUWidth);

        auto* selector = dynamic_cast<CTkControlSelector*>(fields->GetControl(3));
        ASSERT_TRUE(selector);
        EXPECT_EQ(6, selector->m_szInitial.cx);
        EXPECT_EQ(10, selector->m_szMaximum.cy);
        EXPECT_EQ(20, selector->m_szCell.cx);
        EXPECT_EQ(6, selector->m_szGrid.cx);
        auto* custom = dynamic_cast<CTkControlCustom*>(fields->GetControl(4));
        ASSERT_TRUE(custom);
        EXPECT_EQ(TK_CONTROL_STYLE_ICON_AND_CAPTION, custom->m_nStyle);
        EXPECT_EQ(3, custom->m_rcMargins.right);
        EXPECT_EQ(80, custom->m_szControl.cx);
        EXPECT_EQ(1, custom->m_nVerticalOption);
        EXPECT_EQ(1234, custom->m_nHostedId);
        EXPECT_EQ(nullptr, custom->GetHostedWindow());  // attached when merged into a frame's bar

        auto* menu = dynamic_cast<CTkPopupBar*>(fields->GetControl(5)->GetCommandBar());
        ASSERT_TRUE(menu);
        EXPECT_EQ(loaded.GetAt(1), menu);
        EXPECT_EQ(1, menu->m_bTearOff);
        EXPECT_EQ("Torn", menu->m_strTearOffCaption.str());
        EXPECT_EQ(2000u, menu->m_nTearOffId);
        EXPECT_EQ(120, menu->m_nTearOffWidth);
        EXPECT_EQ(5, menu->m_rcBorders.bottom);
        EXPECT_EQ(0, menu->m_bShadow);
        EXPECT_STREQ("CTkControlRecentFileList", menu->GetControl(1)->GetRuntimeClass()->m_lpszClassName);
        auto* palette = dynamic_cast<CTkPopupToolBar*>(menu->GetControl(2)->GetCommandBar());
        ASSERT_TRUE(palette);
        EXPECT_EQ("&Red", palette->GetControl(0)->m_strCaption.str());

        EXPECT_EQ(golden, Write(loaded));
    }
    FreshStore();
    EXPECT_EQ(blocks, TkLiveBlocks());
}

TEST_F(ArchiveTest, FieldRecordsOutOfRangeEndTheReadCleanly) {
    {
        FieldsLayout warm;
        CTkBarList loaded;
        ASSERT_TRUE(Read(Write({warm.fields}), loaded));
    }
    // Each record written with a value no layout has, then read.
    auto damaged = [&](CTkControl* control, const std::function<void(CTkControl*)>& damage, const char* what) {
        CTkCommandBar* bar = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Damaged");
        AddButton(bar, 100, "field", control);
        damage(control);
        const std::vector<BYTE> bytes = WriteAsIs(bar);
        bar->InternalRelease();
        Refused(bytes, 0, what);
    };
    damaged(new CTkControlSelector, [](CTkControl* c) { static_cast<CTkControlSelector*>(c)->m_szCell = CSize(0, 28); },
            "a selector cell 0 wide");
    damaged(new CTkControlSelector, [](CTkControl* c) { static_cast<CTkControlSelector*>(c)->m_szMaximum = CSize(1000000, 12); },
            "a selector a million columns wide");
    damaged(new CTkControlSelector, [](CTkControl* c) { static_cast<CTkControlSelector*>(c)->m_szInitial = CSize(13, 4); },
            "a selector starting wider than its maximum");
    damaged(new CTkControlEdit, [](CTkControl* c) { static_cast<CTkControlEdit*>(c)->m_nWidth = -5; }, "an edit -5 wide");
    damaged(new CTkControlComboBox, [](CTkControl* c) { static_cast<CTkControlComboBox*>(c)->m_nWidth = 100000; },
            "a combo 100000 wide");
    damaged(new CTkControlCustom, [](CTkControl* c) { static_cast<CTkControlCustom*>(c)->m_rcMargins.top = -1; },
            "a custom margin of -1");
    damaged(new CTkControlCustom, [](CTkControl* c) { static_cast<CTkControlCustom*>(c)->m_szControl.cy = 5000; },
            "a custom control 5000 high");
    // Hosted ids of the frame's own windows: the status bar, a dock bar, the view.
    for (int id : {59393, 59419, 59422, 59648})
        damaged(new CTkControlCustom, [id](CTkControl* c) { static_cast<CTkControlCustom*>(c)->m_nHostedId = id; },
                "a custom control hosting a window of the frame");

    // Two stored controls hosting one window.
    CTkCommandBar* bar = NewBar(TK_BAR_TYPE_TOOLBAR, TK_BAR_POSITION_TOP, 1000, "Twice");
    for (int i = 0; i < 2; ++i) static_cast<CTkControlCustom*>(AddButton(bar, 100 + i, "custom", new CTkControlCustom))->m_nHostedId = 1234;
    const std::vector<BYTE> twice = WriteAsIs(bar);
    bar->InternalRelease();
    Refused(twice, 1, "two controls hosting one window");
}

// The golden bytes with one to four random edits: bytes changed, set to boundary values,
// inserted, removed, or the archive cut short.
std::vector<BYTE> Mutated(std::vector<BYTE> bytes, std::mt19937& random) {
    const BYTE interesting[] = {0x00, 0x01, 0x02, 0x07, 0x08, 0x7F, 0x80, 0xFF};
    const int edits = 1 + (int)(random() % 4);
    for (int edit = 0; edit < edits && !bytes.empty(); ++edit) {
        const size_t at = random() % bytes.size();
        switch (random() % 6) {
        case 0: bytes[at] = (BYTE)random(); break;
        case 1: bytes[at] = interesting[random() % sizeof interesting]; break;
        case 2: bytes.resize(at); break;
        case 3: bytes.insert(bytes.begin() + (long)at, (BYTE)random()); break;
        case 4:
            bytes.erase(bytes.begin() + (long)at, bytes.begin() + (long)std::min(bytes.size(), at + 1 + random() % 8));
            break;
        case 5: {
            const DWORD value = (random() % 2) ? 0xFFFFFFFFu : 0x7FFFFFFFu;
            if (at + 4 <= bytes.size()) std::memcpy(&bytes[at], &value, 4);
            break;
        }
        }
    }
    return bytes;
}

TEST_F(ArchiveTest, MutatedArchivesNeverCrashHangOrLeak) {
    // 10,000 rounds on the bars and controls, and every sixth round on the fields and popup bars
    // (whose combo lists make windows, which takes its time under Wine).
    const std::vector<BYTE> goldens[] = {GoldenBytes(kGoldenResource), GoldenBytes(kFieldsGoldenResource)};
    for (const std::vector<BYTE>& golden : goldens) {
        ASSERT_FALSE(golden.empty());
        CTkBarList warm;
        ASSERT_TRUE(Read(golden, warm));
        Write(warm);
    }
    FreshStore();
    const long blocks = TkLiveBlocks();
    std::mt19937 random(20261209);
    int read = 0, refused = 0;
    for (int round = 0; round < 12000; ++round) {
        try {
            const std::vector<BYTE> bytes = Mutated(goldens[round % 6 == 5 ? 1 : 0], random);
            CTkBarList loaded;
            if (Read(bytes, loaded)) {
                ++read;
                // What reads writes again and reads back to the same bytes.
                const std::vector<BYTE> again = Write(loaded);
                CTkBarList reread;
                ASSERT_TRUE(Read(again, reread)) << "round " << round;
                EXPECT_EQ(again, Write(reread)) << "round " << round;
            } else {
                ++refused;
            }
        } catch (...) {
            ADD_FAILURE() << "a mutated archive threw something else than an archive exception, round " << round;
        }
        FreshStore();
        ASSERT_EQ(blocks, TkLiveBlocks()) << "round " << round;
    }
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 1000);
}
}  // namespace
