// Keeps an add-in's message boxes off the screen: they are recorded in a CallLog instead.
#pragma once

#include <windows.h>

#include "CallLog.h"

namespace officehost {

// Replaces MessageBoxA and MessageBoxW in the module's import address table with a recorder that
// adds "MessageBox caption=\"..\" text=\"..\" type=0x........" to the log and answers IDOK without
// showing anything. Returns false when the module imports neither (or when 16 modules of the
// process are captured already). Capturing a module again sends its boxes to the new log; once
// the log is destroyed, the recorder only answers IDOK.
bool CaptureMessageBoxes(HMODULE module, CallLog& log);

}  // namespace officehost
