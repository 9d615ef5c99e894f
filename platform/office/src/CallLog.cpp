#include "CallLog.h"

#include <windows.h>

#include "MessageBoxRecorder.h"
#include "Variants.h"

namespace officehost {

CallLog::~CallLog() { detail::ForgetMessageBoxLog(this); }

void CallLog::Add(const std::wstring& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
}

std::vector<std::wstring> CallLog::Lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

std::vector<std::wstring> CallLog::LinesStartingWith(const std::wstring& prefix) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::wstring> matching;
    for (const auto& line : lines_) {
        if (line.compare(0, prefix.size(), prefix) == 0) matching.push_back(line);
    }
    return matching;
}

void CallLog::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
}

bool CallLog::WriteToFile(const std::wstring& path) const {
    const std::string text = ToUtf8Text(Lines());
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == text.size();
}

std::string ToUtf8Text(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const auto& line : lines) text += detail::ToUtf8(line) + "\n";
    return text;
}

}  // namespace officehost
