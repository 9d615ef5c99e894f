#include "ResourceDll.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

HMODULE ThisProgram() {
    return ::GetModuleHandleA(nullptr);
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path);
    return full.substr(0, full.find_last_of('\\'));
}

std::string String(HMODULE library, UINT id) {
    char text[256] = {};
    return ::LoadStringA(library, id, text, sizeof text) > 0 ? text : "";
}

bool SatelliteExists(const std::string& language) {
    return ::GetFileAttributesA((ProgramDirectory() + "\\ResTest_" + language + ".dll").c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The language the locale steps end on when the switch names no library.
std::string FallbackLanguage() {
    char name[4] = {};
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, name, sizeof name);
    if (SatelliteExists(name)) return name;
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name, sizeof name);
    if (SatelliteExists(name)) return name;
    return "en";
}

class ResourceDllTest : public ::testing::Test {
protected:
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST(LanguageSwitch, TakesTheTextAfterTheSwitchUpToABlankOrTheEnd) {
    EXPECT_EQ("de", CResourceDll::LanguageFromCommandLine("\"C:\\Program Files\\app.exe\" /l:de"));
    EXPECT_EQ("de", CResourceDll::LanguageFromCommandLine("app.exe /l:de /x"));
    EXPECT_EQ("", CResourceDll::LanguageFromCommandLine("app.exe /x"));
    EXPECT_EQ("", CResourceDll::LanguageFromCommandLine("app.exe /l:"));
    EXPECT_EQ("", CResourceDll::LanguageFromCommandLine(nullptr));
}

TEST_F(ResourceDllTest, LoadsTheLibraryTheSwitchNames) {
    CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:de /x");
    ASSERT_NE(nullptr, resources.GetLoadedLibrary());
    EXPECT_EQ("de", resources.GetLanguage());
    EXPECT_EQ("Deutsch", String(resources.GetLoadedLibrary(), 2));
    EXPECT_EQ(ProgramDirectory(), resources.GetModuleDirectory());
}

TEST_F(ResourceDllTest, MissingLanguageFallsBackToTheLocaleThenEnglish) {
    CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:it");
    ASSERT_NE(nullptr, resources.GetLoadedLibrary());
    EXPECT_EQ(FallbackLanguage(), resources.GetLanguage());
    EXPECT_EQ("English", String(resources.GetLoadedLibrary(), 2));
}

TEST_F(ResourceDllTest, NoLibraryForAnyLanguage) {
    CResourceDll resources("NoSuchBase", ThisProgram(), "test.exe /l:de");
    EXPECT_EQ(nullptr, resources.GetLoadedLibrary());
    EXPECT_EQ("en", resources.GetLanguage());
}

TEST_F(ResourceDllTest, LocaleComesFromStringOne) {
    CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:de");
    resources.ApplyLocale(resources.GetLoadedLibrary());
    EXPECT_EQ("German_Germany.1252", resources.GetLocaleName());
    EXPECT_STREQ("German_Germany.1252", std::setlocale(LC_ALL, nullptr));
}

TEST_F(ResourceDllTest, LocaleComesFromTheLanguageWithoutStringOne) {
    CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:fr");
    ASSERT_NE(nullptr, resources.GetLoadedLibrary());
    resources.ApplyLocale(resources.GetLoadedLibrary());
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), resources.GetLocaleName());
    EXPECT_NE(std::string::npos, resources.GetLocaleName().find("French")) << resources.GetLocaleName();
}

TEST_F(ResourceDllTest, RefusedLocaleLeavesTheNameEmpty) {
    std::setlocale(LC_ALL, "English_United Kingdom.1252");
    CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:zz");
    ASSERT_NE(nullptr, resources.GetLoadedLibrary());
    resources.ApplyLocale(resources.GetLoadedLibrary());
    EXPECT_EQ("", resources.GetLocaleName());
    EXPECT_STREQ("English_United Kingdom.1252", std::setlocale(LC_ALL, nullptr));
}

TEST_F(ResourceDllTest, DestructorFreesTheLibrary) {
    {
        CResourceDll resources("ResTest", ThisProgram(), "test.exe /l:de");
        ASSERT_NE(nullptr, ::GetModuleHandleA("ResTest_de.dll"));
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleA("ResTest_de.dll"));
}

}  // namespace
