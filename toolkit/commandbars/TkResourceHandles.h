// The modules the toolkit loads its resources from: the module of its code and the module of its
// resources (strings, menus, bitmaps, cursors), set once by the program that uses the toolkit.
#pragma once

#include "afx.h"

void SetToolkitResourceHandles(HINSTANCE instance, HINSTANCE resource);
HINSTANCE GetToolkitResourceHandle();
HINSTANCE GetToolkitInstanceHandle();
