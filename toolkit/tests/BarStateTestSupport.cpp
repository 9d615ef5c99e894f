#include "BarStateTestSupport.h"

#include "commandbars/TkMenuBar.h"
#include "painters/TkDrawTools.h"

namespace {

const wchar_t kTestKey[] = L"Software\\TarvockBarStateTests";

// The key of a section, opened for reading and writing; none when missing.
HKEY OpenSection(const char* section) {
    HKEY app = AfxGetApp()->GetAppRegistryKey();
    if (!app) return nullptr;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(app, CString(section).Wide().c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        key = nullptr;
    ::RegCloseKey(app);
    return key;
}

}  // namespace

void CTkProfileTest::SetUp() {
    ASSERT_TRUE(TkDesktopReady());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    AfxGetApp()->SetRegistryKey("TarvockBarStateTests");
    m_profile = "CommandBars\\";
    m_profile += ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

void CTkProfileTest::TearDown() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    TkPumpPending();
}

CString CTkProfileTest::Section(const char* suffix, int index) const {
    CString tail;
    tail.Format(suffix, index);
    return m_profile + tail;
}

bool CTkProfileTest::RegKeyExists(const char* section) const {
    HKEY key = OpenSection(section);
    if (key) ::RegCloseKey(key);
    return key != nullptr;
}

bool CTkProfileTest::RegHas(const char* section, const char* name) const {
    return RegType(section, name) != REG_NONE;
}

DWORD CTkProfileTest::RegType(const char* section, const char* name) const {
    HKEY key = OpenSection(section);
    DWORD type = REG_NONE;
    if (key && ::RegQueryValueExW(key, CString(name).Wide().c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        type = REG_NONE;
    if (key) ::RegCloseKey(key);
    return type;
}

int CTkProfileTest::RegInt(const char* section, const char* name) const {
    HKEY key = OpenSection(section);
    DWORD value = 0xBAD, type = 0, size = sizeof value;
    if (key && (::RegQueryValueExW(key, CString(name).Wide().c_str(), nullptr, &type, (BYTE*)&value, &size) !=
                    ERROR_SUCCESS || type != REG_DWORD))
        value = 0xBAD;
    if (key) ::RegCloseKey(key);
    return (int)value;
}

std::vector<BYTE> CTkProfileTest::RegBinary(const char* section, const char* name) const {
    std::vector<BYTE> data;
    AfxGetApp()->GetProfileBinary(section, name, data);
    return data;
}

std::vector<CString> CTkProfileTest::RegNames(const char* section) const {
    std::vector<CString> names;
    HKEY key = OpenSection(section);
    if (!key) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(CString(name));
    }
    ::RegCloseKey(key);
    return names;
}

void CTkProfileTest::SetInt(const char* section, const char* name, int value) const {
    AfxGetApp()->WriteProfileInt(section, name, value);
}

void CTkProfileTest::SetBinary(const char* section, const char* name, const BYTE* data, UINT size) const {
    AfxGetApp()->WriteProfileBinary(section, name, data, size);
}

void CTkProfileTest::RegDelete(const char* section, const char* name) const {
    AfxGetApp()->WriteProfileString(section, name, nullptr);
}

void CTkProfileTest::SetRaw(const char* section, const char* name, DWORD type, const std::vector<BYTE>& data) const {
    HKEY key = AfxGetApp()->GetSectionKey(section);
    if (!key) return;
    ::RegSetValueExW(key, CString(name).Wide().c_str(), 0, type, data.data(), (DWORD)data.size());
    ::RegCloseKey(key);
}

std::vector<CTkProfileTest::CValue> CTkProfileTest::SnapshotProfile() const {
    std::vector<CValue> values;
    const int slash = m_profile.ReverseFind('\\');
    const CString parent = m_profile.Left(slash), prefix = m_profile.Mid(slash + 1) + "-";
    HKEY root = OpenSection(parent);
    if (!root) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const CString sectionName(name);
        if (sectionName.Find(prefix) != 0) continue;
        const CString section = parent + "\\" + sectionName;
        HKEY key = OpenSection(section);
        for (DWORD v = 0; key; ++v) {
            wchar_t valueName[256];
            DWORD nameLength = 256, type = 0, size = 0;
            if (::RegEnumValueW(key, v, valueName, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
            CValue value{section, CString(valueName), type, std::vector<BYTE>(size)};
            nameLength = 256;
            ::RegEnumValueW(key, v, valueName, &nameLength, nullptr, &type, value.data.data(), &size);
            values.push_back(value);
        }
        if (key) ::RegCloseKey(key);
        else values.push_back(CValue{section, CString(), REG_NONE, {}});
    }
    ::RegCloseKey(root);
    return values;
}

void CTkProfileTest::RestoreProfile(const std::vector<CValue>& values) const {
    for (const CValue& gone : SnapshotProfile()) AfxGetApp()->WriteProfileString(gone.section, nullptr, nullptr);
    for (const CValue& value : values) {
        if (value.type == REG_NONE) continue;
        SetRaw(value.section, value.name, value.type, value.data);
    }
}

// ---------------------------------------------------------------------------------------------

bool CTkStateFrame::OnCmdMsg(UINT id, int code, void* extra) {
    if (id == TK_ID_CUSTOMIZE && code == CN_COMMAND) return true;
    return CFrameWnd::OnCmdMsg(id, code, extra);
}

CTkStateScene::~CTkStateScene() {
    if (manager) manager->InternalRelease();
    if (frame && frame->GetSafeHwnd()) frame->DestroyWindow();
    TkPumpPending();
}

bool CTkStateScene::Create() {
    frame = new CTkStateFrame;
    // Shown without taking the activation: tests running beside these keep their focus.
    if (!frame->CreateEx(0, nullptr, "state", WS_OVERLAPPEDWINDOW, 10, 10, 700, 500, nullptr, nullptr)) return false;
    frame->ShowWindow(SW_SHOWNOACTIVATE);
    manager = new CTkCommandBars;
    manager->AttachFrame(frame);
    manager->EnableDocking();
    menuBar = manager->CreateMenuBar("Menu Bar", 610, RUNTIME_CLASS(CTkMenuBar));
    struct {
        CTkToolBar** bar;
        const char* title;
        UINT id;
        UINT first;
    } made[] = {{&standard, "Standard", 2, 100}, {&format, "Format", 3, 200}, {&drawing, "Drawing", 4, 300},
                {&tools, "Tools", 5, 400}};
    for (auto& one : made) {
        CTkToolBar* bar = manager->AddBar(one.title, TK_BAR_POSITION_TOP);
        if (!bar) return false;
        bar->m_nBarId = one.id;
        const UINT ids[] = {one.first, one.first + 1, 0, one.first + 2};
        bar->SetButtons(ids, 4);
        bar->GetControls()->KeepOriginal();
        *one.bar = bar;
    }
    if (!menuBar) return false;
    Layout();
    return manager->IsCustomizationEnabled();
}

void CTkStateScene::Layout() {
    TkPumpPending();
    frame->RecalcLayout();
    for (int i = 0; i < manager->GetCount(); ++i) manager->GetBar(i)->OnRecalcLayout();
    frame->RecalcLayout();
    TkPumpPending();
}

CRect CTkStateScene::PlaceOnScreen(CWnd* window) const {
    CRect rect;
    TkGetWindowRect(window, rect);
    return rect;
}

std::vector<UINT> CTkStateScene::RowIds(int side) const {
    std::vector<UINT> ids;
    for (CTkToolBar* bar : manager->GetDockBar(side)->GetBars()) ids.push_back(bar ? bar->m_nBarId : 0);
    return ids;
}
