// The text of a frame's keyboard accelerators, as menus and tooltips show it ("Ctrl+S").
#pragma once

#include "afxwin.h"

class CTkCommandBar;

class CTkShortcutText {
public:
    // The name of a virtual key: the system's name of its scan code (first letter upper case,
    // the rest lower case), else the toolkit's own name; empty for a key without a name.
    static CString KeyName(UINT virtualKey);
    // The toolkit's own name of a virtual key, empty when it has none.
    static CString FixedKeyName(UINT virtualKey);
    // One accelerator entry: the modifiers as Ctrl, Shift, Alt, each followed by "+", then the key.
    static CString Format(const ACCEL& entry);
    // The best text of a command in an accelerator table: an entry whose text equals text keeps
    // it; otherwise the entry ranked highest (no modifier, then Ctrl, Alt, Shift). False and an
    // empty text when no entry runs the command.
    static bool FindInTable(HACCEL table, UINT commandId, CString& text);
    // The same in the accelerators of the bar's site frame, else of the main window.
    static bool FindForCommand(UINT commandId, CString& text, const CTkCommandBar* bar);
};
