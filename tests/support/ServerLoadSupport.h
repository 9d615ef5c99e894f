// Helpers of the tests that load a server DLL by hand (its logging set-up, a copy of it without its
// satellite library): the shared logging configuration file, temporary files, the debugger output
// of the process, and objects created through a loaded server's class factory.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atlbase.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

// The logging configuration every server reads when it loads (shared by the whole prefix).
extern const char kLoggingProperties[];

// Writes kLoggingProperties: the root category at ERROR, and each of categories at DEBUG into one
// file appender writing "PRIORITY category message" lines to logFile.
void WriteFileLoggingProperties(std::initializer_list<const char*> categories, const std::string& logFile);

// A file of that name in the temporary folder.
std::string TempFile(const char* name);
// The whole content of a file (empty when it cannot be read).
std::string ReadFile(const std::string& path);
// How many times part occurs in text, without overlaps.
size_t Occurrences(const std::string& text, const std::string& part);

// Collects the lines this process writes with OutputDebugString while it lives (seen through the
// DBG_PRINTEXCEPTION_C exception that OutputDebugString raises). One at a time.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_lines; }
    // True when a line starts with prefix and ends with a line break.
    bool HasLineStartingWith(const std::string& prefix) const;

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);
    static DebugOutputCapture* s_active;
    std::vector<std::string> m_lines;
    PVOID m_handler = nullptr;
};

// An object of a loaded server made through its DllGetClassObject and class factory; the first
// failure when there is one.
HRESULT CreateFromServer(HMODULE server, REFCLSID clsid, REFIID iid, void** object);

// Loads the server at path, makes an Itf object of clsid through its class factory, gives it to
// use (which answers an HRESULT) and unloads the server again; the first failure, or use's answer.
template <class Itf, class Use>
HRESULT LoadUseAndUnload(const std::wstring& path, REFCLSID clsid, Use&& use) {
    HMODULE server = ::LoadLibraryW(path.c_str());
    if (!server) return HRESULT_FROM_WIN32(::GetLastError());
    HRESULT hr = E_FAIL;
    {
        CComPtr<Itf> object;
        hr = CreateFromServer(server, clsid, __uuidof(Itf), reinterpret_cast<void**>(&object));
        if (SUCCEEDED(hr)) hr = use(object.p);
    }
    ::FreeLibrary(server);
    return hr;
}

// A copy of a file beside the program, alone in a temporary folder of its own (for a server
// without its satellite library); the copy and the folder go when it goes.
class LoneCopy {
public:
    LoneCopy(const wchar_t* fileName, const wchar_t* folderName);
    ~LoneCopy();
    LoneCopy(const LoneCopy&) = delete;
    LoneCopy& operator=(const LoneCopy&) = delete;

    bool Copied() const { return m_copied; }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_folder;
    std::wstring m_path;
    bool m_copied = false;
};

}  // namespace testsupport
