// The add-in's toolbar: one row per button, in toolbar order.
#pragma once

#include <windows.h>

struct ButtonRow {
    long parameter;  // which desktop-program command the button runs
    UINT caption;    // text ids
    UINT tooltip;
    long faceId;     // the mail client's built-in picture, for versions before 10
    UINT picture;    // bitmap ids, for version 10 and later
    UINT mask;
};

extern const ButtonRow ButtonTable[6];
