#include "ServerLoadSupport.h"

#include <fstream>
#include <sstream>

#include "ComTestSupport.h"

namespace testsupport {

const char kLoggingProperties[] = "c:\\TarvockLogging.properties";

void WriteFileLoggingProperties(std::initializer_list<const char*> categories, const std::string& logFile) {
    std::ofstream properties(kLoggingProperties);
    properties << "log4cpp.rootCategory=ERROR\n";
    for (const char* category : categories) properties << "log4cpp.category." << category << "=DEBUG, F\n";
    properties << "log4cpp.appender.F=FileAppender\n"
                  "log4cpp.appender.F.fileName=" << logFile << "\n"
                  "log4cpp.appender.F.layout=PatternLayout\n"
                  "log4cpp.appender.F.layout.ConversionPattern=%p %c %m%n\n";
}

std::string TempFile(const char* name) {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); !part.empty() && at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

DebugOutputCapture* DebugOutputCapture::s_active = nullptr;

DebugOutputCapture::DebugOutputCapture() {
    s_active = this;
    m_handler = ::AddVectoredExceptionHandler(1, Handler);
}

DebugOutputCapture::~DebugOutputCapture() {
    ::RemoveVectoredExceptionHandler(m_handler);
    s_active = nullptr;
}

LONG CALLBACK DebugOutputCapture::Handler(EXCEPTION_POINTERS* info) {
    if (s_active && info->ExceptionRecord->ExceptionCode == DBG_PRINTEXCEPTION_C &&
        info->ExceptionRecord->NumberParameters >= 2) {
        s_active->m_lines.emplace_back(reinterpret_cast<const char*>(info->ExceptionRecord->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

bool DebugOutputCapture::HasLineStartingWith(const std::string& prefix) const {
    for (const std::string& line : m_lines) {
        if (line.rfind(prefix, 0) == 0 && !line.empty() && line.back() == '\n') return true;
    }
    return false;
}

HRESULT CreateFromServer(HMODULE server, REFCLSID clsid, REFIID iid, void** object) {
    *object = nullptr;
    auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        ::GetProcAddress(server, "DllGetClassObject"));
    if (!getClassObject) return HRESULT_FROM_WIN32(::GetLastError());
    IClassFactory* factory = nullptr;
    HRESULT hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(nullptr, iid, object);
    factory->Release();
    return hr;
}

LoneCopy::LoneCopy(const wchar_t* fileName, const wchar_t* folderName) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + folderName;
    m_path = m_folder + L"\\" + fileName;
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    m_copied = ::CopyFileW(BesideProgram(fileName).c_str(), m_path.c_str(), FALSE) != FALSE;
}

LoneCopy::~LoneCopy() {
    ::DeleteFileW(m_path.c_str());
    ::RemoveDirectoryW(m_folder.c_str());
}

}  // namespace testsupport
