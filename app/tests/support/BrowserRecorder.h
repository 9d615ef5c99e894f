// Registers url_recorder.exe as the http and https "open" command while it lives, so the web
// pages the program opens are written to a log beside the test program instead of a browser.
#pragma once

#include "afx.h"

#include <string>
#include <utility>
#include <vector>

class CBrowserRecorder {
public:
    explicit CBrowserRecorder(const wchar_t* logName = L"url_recorder.log");
    ~CBrowserRecorder();
    CBrowserRecorder(const CBrowserRecorder&) = delete;
    CBrowserRecorder& operator=(const CBrowserRecorder&) = delete;

    // The addresses recorded, once count have arrived (or after ten seconds).
    std::vector<std::string> WaitFor(size_t count);

private:
    CString m_log;
    std::vector<std::pair<std::wstring, std::wstring>> m_saved;
};
