// Chooses the language of a module's satellite resource library, loads the library that exists
// beside the module, sets the C run-time locale from it, and frees it at the end.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class CResourceDll {
public:
    // Loads <module directory>\<baseName>_<language>.dll for the first language that has one:
    // the "/l:" switch of the process command line, the user locale's abbreviated language
    // name, its ISO 639 code, then "en". Never fails; the creator tests GetLoadedLibrary().
    CResourceDll(const char* baseName, HMODULE module);
    // As above with the given command line instead of the process's.
    CResourceDll(const char* baseName, HMODULE module, const char* commandLine);
    ~CResourceDll();

    CResourceDll(const CResourceDll&) = delete;
    CResourceDll& operator=(const CResourceDll&) = delete;

    // Loads the library for one language; keeps the result (null when there is none).
    HMODULE LoadForLanguage(const char* language);

    // Sets the C run-time locale for all categories from string 1 of the resource source, else
    // from the language; call only after the library has been made the resource source.
    void ApplyLocale(HINSTANCE resourceSource);

    HMODULE GetLoadedLibrary() const { return m_library; }
    const std::string& GetLanguage() const { return m_language; }
    const std::string& GetModuleDirectory() const { return m_directory; }
    const std::string& GetLocaleName() const { return m_localeName; }

    // The text after "/l:" up to the next blank or the end; empty when there is no switch.
    static std::string LanguageFromCommandLine(const char* commandLine);

private:
    void Load(const char* commandLine);
    static std::string ModuleDirectory(HMODULE module);

    std::string m_baseName;
    HMODULE m_module;
    std::string m_directory;
    std::string m_language;
    std::string m_localeName;
    HMODULE m_library = nullptr;
};

// A module's satellite set-up: loads <baseName>_<language>.dll beside the module for the command
// line's "/l:" switch or the user's language into `resources` (replacing what it held) and, when
// one was found, makes it the module's resource source through makeResourceSource, then sets the
// C run-time locale from it. Returns the library; null when there is none, which the caller reports.
HMODULE LoadModuleSatellite(std::unique_ptr<CResourceDll>& resources, const char* baseName, HMODULE module,
                            const char* commandLine, void (*makeResourceSource)(HINSTANCE library));
