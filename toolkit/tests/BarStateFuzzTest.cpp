// Damaged profiles: a saved layout whose sections are mutated at random (counts, ids, places,
// screen sizes, the controls archive, side-file names, options) is loaded again and again into
// one frame. Nothing may crash or hang, the bars stay consistent, an archive that cannot be read
// leaves the program's bars as they were, and nothing leaks.
//
// This program counts its own allocations (TkAllocationCounter), so it is a program of its own.
#include "TkAllocationCounter.h"
#include "BarStateTestSupport.h"

#include "commandbars/TkBarArchive.h"
#include "commandbars/TkBarState.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <set>

namespace {

const int kRounds = 1000;

class TkBarStateFuzzTest : public CTkProfileTest {
protected:
    std::mt19937 random{20261209};
    // The sections a round changed, put back to their clean values before the next one.
    std::set<std::string> touched;
    CString Touch(const char* suffix, int index = 0) {
        const CString section = Section(suffix, index);
        touched.insert((const char*)section);
        return section;
    }
    void RestoreSections(const std::vector<CValue>& clean) {
        for (const std::string& section : touched) {
            AfxGetApp()->WriteProfileString(section.c_str(), nullptr, nullptr);
            for (const CValue& value : clean)
                if (value.section == section.c_str() && value.type != REG_NONE)
                    SetRaw(value.section, value.name, value.type, value.data);
        }
        touched.clear();
    }

    int Pick(int count) { return count > 0 ? (int)(random() % (unsigned)count) : 0; }
    int AnyInt() {
        const int extremes[] = {0, -1, 1, 2, 3, 1023, 1024, 1025, 32767, 65535, 0x7FFFFFFF, (int)0x80000000, -100000, 59419, 59422, 0xE800};
        return Pick(3) ? extremes[Pick((int)(sizeof extremes / sizeof *extremes))] : (int)random();
    }
    static std::vector<BYTE> IntBytes(int value) {
        return std::vector<BYTE>{(BYTE)value, (BYTE)(value >> 8), (BYTE)(value >> 16), (BYTE)(value >> 24)};
    }
    static std::vector<BYTE> TextBytes(const CString& text) {
        const std::wstring wide = text.Wide();
        const BYTE* begin = reinterpret_cast<const BYTE*>(wide.c_str());
        return std::vector<BYTE>(begin, begin + (wide.size() + 1) * sizeof(wchar_t));
    }
};

// Whether an archive of these bytes reads whole (the manager as its context).
bool ArchiveReads(CTkCommandBars* manager, const std::vector<BYTE>& bytes) {
    if (bytes.empty()) return false;
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = manager;
    CTkBarList loaded;
    return TkReadBarsArchive(ar, loaded);
}

// The bars' consistency: every dock-bar entry is a bar of the manager held once, docked bars are
// children of their dock bar, floating ones are in none, and floating windows are on the screen.
void ExpectConsistent(const CTkStateScene& scene, int round) {
    std::set<const CTkToolBar*> docked;
    for (int side = 0; side < 4; ++side) {
        CTkDockBar* dockBar = scene.manager->GetDockBar(side);
        const std::vector<CTkToolBar*>& entries = dockBar->GetBars();
        ASSERT_FALSE(entries.empty()) << round;
        EXPECT_EQ(nullptr, entries.front()) << round;
        EXPECT_EQ(nullptr, entries.back()) << round << " a row without its end";
        for (CTkToolBar* bar : entries) {
            if (!bar) continue;
            ASSERT_GE(scene.manager->FindIndex(bar), 0) << round;
            EXPECT_TRUE(docked.insert(bar).second) << round << " a bar held twice";
            EXPECT_EQ(dockBar, bar->GetDockBar()) << round;
            EXPECT_EQ(side, bar->m_nPosition) << round;
            EXPECT_EQ(dockBar->GetSafeHwnd(), ::GetParent(bar->GetSafeHwnd())) << round;
        }
    }
    const int right = ::GetSystemMetrics(SM_CXSCREEN) - ::GetSystemMetrics(SM_CXICON);
    const int bottom = ::GetSystemMetrics(SM_CYSCREEN) - ::GetSystemMetrics(SM_CYICON);
    for (int i = 0; i < scene.manager->GetCount(); ++i) {
        auto* bar = dynamic_cast<CTkToolBar*>(scene.manager->GetBar(i));
        ASSERT_NE(nullptr, bar) << round;
        if (!bar->IsFloating()) continue;
        EXPECT_EQ(0u, docked.count(bar)) << round << " floating and docked";
        CRect window;
        ::GetWindowRect(bar->GetSafeHwnd(), &window);
        EXPECT_LE(window.left, right) << round;
        EXPECT_LE(window.top, bottom) << round;
    }
}

TEST_F(TkBarStateFuzzTest, DamagedProfilesNeverCrashHangOrLeakAndFallBackToTheProgramsBars) {
    CTkStateScene scene;
    ASSERT_TRUE(scene.Create());
    const int programBars = scene.manager->GetCount();
    ASSERT_GT(TkLiveBlocks(), 0) << "this program's allocations are counted";

    // A layout worth damaging: a customised toolbar, a user's own bar, a floating and a hidden one.
    scene.standard->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 555)->m_strCaption = "Mine";
    scene.standard->GetControls()->RemoveControlAt(0);
    CTkToolBar* user = scene.manager->AddUserBar("User", 0x200, false);
    ASSERT_NE(nullptr, user);
    user->GetControls()->AddNew(TK_CONTROL_TYPE_BUTTON, 777);
    ASSERT_TRUE(scene.manager->FloatCommandBar(scene.drawing));
    scene.tools->SetVisible(false);
    scene.Layout();
    scene.manager->GetCommandBarsOptions()->m_mapUsedCommands[57600] = 1;
    scene.manager->SaveBarState(Profile());
    scene.manager->SaveOptions(Profile());
    const std::vector<CValue> clean = SnapshotProfile();
    ASSERT_GT(clean.size(), 40u);
    std::vector<BYTE> archive;
    for (const CValue& value : clean)
        if (value.name == "Controls") archive = value.data;
    ASSERT_TRUE(ArchiveReads(scene.manager, archive));

    // Side files the damaged profiles may name: a good one, a damaged one, folders, devices.
    const CString folder = [] {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        CString name(temp);
        name += "TarvockFuzzSideFiles";
        ::CreateDirectoryW(name.Wide().c_str(), nullptr);
        return name;
    }();
    const CString goodFile = folder + "\\good.bin", badFile = folder + "\\bad.bin";
    auto writeFile = [](const CString& path, const std::vector<BYTE>& bytes) {
        HANDLE file = ::CreateFileW(path.Wide().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
        ::CloseHandle(file);
    };
    writeFile(goodFile, archive);
    std::vector<BYTE> bad = archive;
    bad.resize(bad.size() / 2);
    writeFile(badFile, bad);
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    const CString sideNames[] = {goodFile, badFile, folder, folder + "\\missing.bin", CString(module), "", "\\\\.\\NUL",
                                 "\\\\server\\share\\x.bin", "NUL", CString(std::string(400, 'x').c_str()),
                                 "C:\\", "relative.bin"};

    // The values a bar section and the options may hold.
    const char* barValues[] = {"BarID", "Visible", "Floating", "XPos", "YPos", "MRUWidth", "MRUDockID",
                               "MRUDockLeftPos", "MRUDockTopPos", "MRUDockRightPos", "MRUDockBottomPos",
                               "MRUFloatXPos", "MRUFloatYPos"};
    const char* optionValues[] = {"AlwaysShowFullMenus", "ShowFullAfterDelay", "ToolBarScreenTips",
                                  "ToolBarAccelTips", "LargeIcons", "Animation"};

    std::vector<long> checkpoints;
    int refused = 0, sideFiles = 0;
    for (int round = 0; round < kRounds; ++round) {
        RestoreSections(clean);
        bool controlsDamaged = false, bytesChanged = false;
        std::vector<BYTE> controls = archive;
        bool fromFile = false;
        CString sideName;
        const int mutations = 1 + Pick(4);
        for (int m = 0; m < mutations; ++m) {
            switch (Pick(9)) {
            case 0:  // the summary's counts and sizes
                SetInt(Touch("-Summary"), Pick(2) ? "Bars" : (Pick(2) ? "ScreenCX" : "ScreenCY"), AnyInt());
                break;
            case 1: {  // a value of a bar section
                SetInt(Touch("-Bar%d", Pick(8)), barValues[Pick(13)], AnyInt());
                break;
            }
            case 2: {  // a bar section or value gone
                const CString section = Touch("-Bar%d", Pick(7));
                if (Pick(2))
                    AfxGetApp()->WriteProfileString(section, nullptr, nullptr);
                else
                    RegDelete(section, barValues[Pick(13)]);
                break;
            }
            case 3: {  // dock rows: counts, ids and insert places
                const CString section = Touch("-DockBar%d", Pick(4));
                if (Pick(3) == 0) {
                    SetInt(section, "Bars", AnyInt());
                } else {
                    CString entry;
                    entry.Format("Bar#%d", Pick(3) ? Pick(8) : AnyInt());
                    const int ids[] = {0, 1, 2, 3, 4, 5, 0x200, AnyInt()};
                    SetInt(section, entry, ids[Pick(8)]);
                    if (Pick(2)) SetInt(section, "Bars", Pick(12));
                }
                break;
            }
            case 4: {  // the archive's bytes
                controlsDamaged = bytesChanged = true;
                const int kind = Pick(4);
                if (kind == 0) {
                    controls.resize((size_t)Pick((int)controls.size() + 1));
                } else if (kind == 1) {
                    for (int flips = 1 + Pick(8); flips > 0 && !controls.empty(); --flips)
                        controls[(size_t)Pick((int)controls.size())] = (BYTE)random();
                } else if (kind == 2) {
                    for (int b = Pick(64); b > 0; --b) controls.push_back((BYTE)random());
                } else {
                    // A count or a length field: the first words of the archive.
                    const size_t at = (size_t)Pick(std::min<int>(16, (int)controls.size()));
                    const std::vector<BYTE> word = IntBytes(AnyInt());
                    for (size_t i = 0; i < 4 && at + i < controls.size(); ++i) controls[at + i] = word[i];
                }
                break;
            }
            case 5:  // the side file named instead
                fromFile = true;
                sideName = sideNames[Pick((int)(sizeof sideNames / sizeof *sideNames))];
                break;
            case 6:  // a value of the wrong type
                SetRaw(Touch("-Controls"), "Controls", Pick(2) ? REG_DWORD : REG_SZ, IntBytes(AnyInt()));
                controlsDamaged = true;
                bytesChanged = false;
                controls.clear();
                break;
            case 7:  // options
                if (Pick(2))
                    SetInt(Touch("-Options"), optionValues[Pick(6)], AnyInt());
                else
                    SetRaw(Touch("-Options"), "UsedCommands", REG_BINARY, IntBytes(AnyInt()));
                break;
            default:  // whole sections gone
                AfxGetApp()->WriteProfileString(Pick(2) ? Touch("-Summary") : Touch("-DockBar%d", Pick(4)),
                                                nullptr, nullptr);
                break;
            }
        }
        if (fromFile) {
            SetRaw(Touch("-Controls"), "Controls", REG_SZ, TextBytes(sideName));
            SetInt(Touch("-Controls"), "LoadFromFile", Pick(5) ? 1 : AnyInt());
            ++sideFiles;
        } else if (bytesChanged) {
            SetRaw(Touch("-Controls"), "Controls", REG_BINARY, controls);
        }

        // What the program's bars hold before: kept whole unless a readable archive came.
        std::vector<CTkControls*> before;
        for (int i = 0; i < programBars; ++i) before.push_back(scene.manager->GetBar(i)->GetControls()->Clone(true));
        const bool readable = fromFile ? (sideName == goodFile && ::GetFileAttributesW(goodFile.Wide().c_str()) !=
                                                                       INVALID_FILE_ATTRIBUTES)
                                       : (controlsDamaged ? ArchiveReads(scene.manager, controls) : true);
        const auto start = std::chrono::steady_clock::now();
        scene.manager->LoadBarState(Profile(), true);
        scene.manager->LoadOptions(Profile());
        const auto took = std::chrono::steady_clock::now() - start;
        // A full layout now and then: the rounds between check the lists, not the windows.
        if (round % 10 == 0) scene.Layout();
        TkPumpPending();
        EXPECT_LT(took, std::chrono::seconds(3)) << "round " << round;
        ExpectConsistent(scene, round);
        if (!readable) {
            ++refused;
            for (int i = 0; i < programBars; ++i)
                EXPECT_TRUE(scene.manager->GetBar(i)->GetControls()->SameAs(before[(size_t)i]))
                    << "round " << round << ": bar " << i << " changed by an archive that does not read";
        }
        for (CTkControls* controlsBefore : before) controlsBefore->InternalRelease();
        if (HasFailure()) break;

        // Every hundred rounds: back to the clean layout, user bars beyond the first removed.
        if ((round + 1) % 100 == 0) {
            RestoreProfile(clean);
            while (scene.manager->GetCount() > programBars + 1)
                scene.manager->RemoveBar(scene.manager->GetBar(scene.manager->GetCount() - 1));
            scene.manager->ResetUsageData();
            scene.manager->LoadBarState(Profile(), true);
            scene.Layout();
            TkPumpPending();
            checkpoints.push_back(TkLiveBlocks());
        }
    }
    EXPECT_GT(refused, kRounds / 10);
    EXPECT_GT(sideFiles, kRounds / 20);
    // No growth from one clean load to the next, beyond the settings' hash buckets filling up.
    ASSERT_GE(checkpoints.size(), 2u);
    EXPECT_LE(checkpoints.back() - checkpoints[1], 64) << checkpoints[1] << " then " << checkpoints.back();

    ::DeleteFileW(goodFile.Wide().c_str());
    ::DeleteFileW(badFile.Wide().c_str());
    ::RemoveDirectoryW(folder.Wide().c_str());
}

}  // namespace
