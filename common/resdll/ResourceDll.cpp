#include "ResourceDll.h"

#include <clocale>
#include <cstring>

namespace {

const size_t kPathBuffer = 260;
const size_t kLocaleBuffer = 4;

std::string UserLocaleInfo(LCTYPE type) {
    char buffer[kLocaleBuffer] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) == 0) return std::string();
    return buffer;
}

}  // namespace

CResourceDll::CResourceDll(const char* baseName, HMODULE module)
    : CResourceDll(baseName, module, ::GetCommandLineA()) {}

CResourceDll::CResourceDll(const char* baseName, HMODULE module, const char* commandLine)
    : m_baseName(baseName ? baseName : ""), m_module(module), m_directory(ModuleDirectory(module)) {
    Load(commandLine);
}

CResourceDll::~CResourceDll() {
    if (m_library) ::FreeLibrary(m_library);
}

void CResourceDll::Load(const char* commandLine) {
    const std::string fromSwitch = LanguageFromCommandLine(commandLine);
    if (!fromSwitch.empty()) LoadForLanguage(fromSwitch.c_str());
    if (!m_library) LoadForLanguage(UserLocaleInfo(LOCALE_SABBREVLANGNAME).c_str());
    if (!m_library) LoadForLanguage(UserLocaleInfo(LOCALE_SISO639LANGNAME).c_str());
    if (!m_library) LoadForLanguage("en");
}

std::string CResourceDll::LanguageFromCommandLine(const char* commandLine) {
    if (!commandLine) return std::string();
    const char* start = std::strstr(commandLine, "/l:");
    if (!start) return std::string();
    start += 3;
    const char* end = start;
    while (*end && *end != ' ') ++end;
    return std::string(start, end);
}

std::string CResourceDll::ModuleDirectory(HMODULE module) {
    char path[kPathBuffer] = {};
    const DWORD len = ::GetModuleFileNameA(module, path, kPathBuffer);
    std::string full(path, len < kPathBuffer ? len : kPathBuffer - 1);
    const size_t slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

HMODULE CResourceDll::LoadForLanguage(const char* language) {
    if (m_library) {
        ::FreeLibrary(m_library);
        m_library = nullptr;
    }
    m_language = language ? language : "";
    const std::string file = m_directory + "\\" + m_baseName + "_" + m_language + ".dll";
    m_library = ::LoadLibraryA(file.c_str());
    return m_library;
}

void CResourceDll::ApplyLocale(HINSTANCE resourceSource) {
    char name[256] = {};
    const int len = ::LoadStringA(resourceSource, 1, name, sizeof name);
    const char* locale = len > 0 ? name : m_language.c_str();
    const char* reported = std::setlocale(LC_ALL, locale);
    m_localeName = reported ? reported : "";
}

HMODULE LoadModuleSatellite(std::unique_ptr<CResourceDll>& resources, const char* baseName, HMODULE module,
                            const char* commandLine, void (*makeResourceSource)(HINSTANCE library)) {
    resources.reset(new CResourceDll(baseName, module, commandLine));
    HMODULE library = resources->GetLoadedLibrary();
    if (library) {
        makeResourceSource(library);
        resources->ApplyLocale(library);
    }
    return library;
}
