#include "commandbars/TkShortcutText.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"

#include <vector>

namespace {

struct CKeyNameEntry {
    UINT key;
    const char* name;
};

// Names of the keys outside the digit, letter, numeric-pad and function-key runs.
const CKeyNameEntry kNamedKeys[] = {
    {1, "Left Button"}, {2, "Right Button"}, {3, "Cancel"}, {4, "Middle Button"}, {8, "Back"},
    {9, "Tab"}, {12, "Clear"}, {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"}, {18, "Alt"}, {19, "Pause"},
    {20, "Caps Lock"}, {27, "Esc"}, {32, "Space"}, {33, "Page Up"}, {34, "Page Down"}, {35, "End"},
    {36, "Home"}, {37, "Left Arrow"}, {38, "Up Arrow"}, {39, "Right Arrow"}, {40, "Down Arrow"},
    {41, "Select"}, {42, "Print"}, {43, "Execute"}, {44, "Snapshot"}, {45, "Ins"}, {46, "Del"},
    {47, "Help"}, {91, "Left Windows"}, {92, "Right Windows"}, {93, "Application"}, {106, "Num *"},
    {107, "Num +"}, {108, "Separator"}, {109, "Num -"}, {110, "Num ."}, {111, "Num /"},
    {144, "Num Lock"}, {145, "Scrl Lock"}, {246, "Attn"}, {247, "Crsel"}, {248, "Exsel"},
    {249, "Ereof"}, {250, "Play"}, {251, "Zoom"}, {252, "No Name"}, {253, "Pa1"}, {254, "Oem Clear"},
};

// The rank of an entry's modifiers: a plain key first, then Ctrl, Alt, Shift.
int Rank(BYTE flags) {
    if (flags & FCONTROL) return 3;
    if (flags & FALT) return 2;
    if (flags & FSHIFT) return 1;
    return 4;
}

}  // namespace

CString CTkShortcutText::FixedKeyName(UINT key) {
    CString name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        name = CString((char)key, 1);
    } else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        name.Format("Num %u", key - VK_NUMPAD0);
    } else if (key >= VK_F1 && key <= VK_F12) {
        name.Format("F%u", key - VK_F1 + 1);
    } else {
        for (const CKeyNameEntry& entry : kNamedKeys)
            if (entry.key == key) name = entry.name;
    }
    return name;
}

CString CTkShortcutText::KeyName(UINT key) {
    LONG code = (LONG)(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16) + 1;
    if (key >= VK_PRIOR && key <= VK_HELP) code |= 0x1000000;
    char buffer[64] = {};
    const int length = ::GetKeyNameTextA(code, buffer, (int)sizeof buffer);
    if (length > 0) {
        CString name(buffer, length);
        name.MakeLower();
        return name.Left(1).MakeUpper() + name.Mid(1);
    }
    return FixedKeyName(key);
}

CString CTkShortcutText::Format(const ACCEL& entry) {
    CString text;
    if (entry.fVirt & FCONTROL) text += KeyName(VK_CONTROL) + "+";
    if (entry.fVirt & FSHIFT) text += KeyName(VK_SHIFT) + "+";
    if (entry.fVirt & FALT) text += KeyName(VK_MENU) + "+";
    if (entry.key == 0) {
        if (!text.IsEmpty()) text = text.Left(text.GetLength() - 1);
    } else if (entry.fVirt & FVIRTKEY) {
        text += KeyName(entry.key);
    } else if (entry.key != 27) {
        text += CString((char)entry.key, 1);
    }
    return text;
}

bool CTkShortcutText::FindInTable(HACCEL table, UINT commandId, CString& text) {
    const int count = table ? ::CopyAcceleratorTableA(table, nullptr, 0) : 0;
    std::vector<ACCEL> entries((size_t)count);
    if (count > 0) ::CopyAcceleratorTableA(table, entries.data(), count);
    const ACCEL* best = nullptr;
    for (const ACCEL& entry : entries) {
        if (entry.cmd != commandId) continue;
        if (Format(entry) == text) return true;
        if (!best || Rank(entry.fVirt) > Rank(best->fVirt)) best = &entry;
    }
    text = best ? Format(*best) : CString();
    return best != nullptr;
}

bool CTkShortcutText::FindForCommand(UINT commandId, CString& text, const CTkCommandBar* bar) {
    CWnd* site = bar ? bar->GetSite() : nullptr;
    CFrameWnd* frame = site && site->IsFrameWnd() ? static_cast<CFrameWnd*>(site) : nullptr;
    if (!frame) {
        CWnd* main = AfxGetMainWnd();
        frame = main && main->IsFrameWnd() ? static_cast<CFrameWnd*>(main) : nullptr;
    }
    HACCEL table = frame ? frame->m_hAccelTable : nullptr;
    // A frame whose shortcuts its command-bars manager holds.
    if (!table && frame)
        if (CTkCommandBars* manager = bar ? bar->GetManager() : nullptr) table = manager->GetAccelTable();
    if (!table) {
        text.Empty();
        return false;
    }
    return FindInTable(table, commandId, text);
}
