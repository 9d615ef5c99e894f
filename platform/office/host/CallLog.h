// The ordered record of every call made on the fake object model and by the host itself.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace officehost {

class CallLog {
public:
    CallLog() = default;
    ~CallLog();
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    void Add(const std::wstring& line);
    std::vector<std::wstring> Lines() const;
    std::vector<std::wstring> LinesStartingWith(const std::wstring& prefix) const;
    void Clear();
    // UTF-8, one line each, LF-terminated. False when the file cannot be written.
    bool WriteToFile(const std::wstring& path) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::wstring> lines_;
};

// The log as UTF-8 text, one LF-terminated line each.
std::string ToUtf8Text(const std::vector<std::wstring>& lines);

}  // namespace officehost
