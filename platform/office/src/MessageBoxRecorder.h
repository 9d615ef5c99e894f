// The bookkeeping behind CaptureMessageBoxes: which log records the boxes of which module.
#pragma once

namespace officehost {
class CallLog;
namespace detail {

// Stops recording into the log (its recorders then only answer IDOK).
void ForgetMessageBoxLog(const CallLog* log);

}  // namespace detail
}  // namespace officehost
