// Test helpers for the MAPI provider and its callers: a temporary folder of address books,
// vCard texts, environment settings that undo themselves, and the provider's counters.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "MapiProviderControl.h"

namespace mapitest {

// Builds the text of one vCard 3.0 card.
class CCard {
public:
    explicit CCard(const std::string& displayName);  // FN, UTF-8
    CCard& Name(const std::string& given, const std::string& surname);
    CCard& Nickname(const std::string& nickname);
    CCard& Mobile(const std::string& number);
    CCard& Phone(const std::string& types, const std::string& number);  // e.g. "WORK,VOICE,PREF"
    // Street lines are joined with the vCard line break "\n".
    CCard& Address(const std::vector<std::string>& streetLines, const std::string& town, const std::string& county,
                   const std::string& postcode, const std::string& country);
    CCard& Email(const std::string& address);
    CCard& Group();  // KIND:group, a distribution list
    CCard& Line(const std::string& line);  // any other property line
    std::string Text() const;

private:
    std::vector<std::string> m_lines;
};

// A temporary root folder of address books, removed with everything in it at the end.
class CTestBooks {
public:
    CTestBooks();
    ~CTestBooks();
    CTestBooks(const CTestBooks&) = delete;
    CTestBooks& operator=(const CTestBooks&) = delete;

    const std::wstring& Root() const { return m_root; }
    // Creates a book folder; bookIni, when given, is the body of its book.ini ([Book] included).
    void AddBook(const std::wstring& folder, const std::string& bookIni = std::string());
    // Names the personal address book in profile.ini.
    void SetPersonal(const std::wstring& folder);
    // Writes a .vcf file (UTF-8) into a book.
    void AddFile(const std::wstring& folder, const std::wstring& file, const std::string& text);
    void AddCard(const std::wstring& folder, const std::wstring& file, const CCard& card) { AddFile(folder, file, card.Text()); }

private:
    std::wstring m_root;
};

// Sets an environment variable of this process and restores the previous value at the end.
class CEnvironment {
public:
    CEnvironment(const wchar_t* name, const std::wstring& value);
    ~CEnvironment();
    CEnvironment(const CEnvironment&) = delete;
    CEnvironment& operator=(const CEnvironment&) = delete;

private:
    std::wstring m_name;
    std::wstring m_previous;
    bool m_hadValue;
};

// The counters of the provider loaded in this process (all zero when none is loaded).
TarvockMapiCounters ProviderCounters();
void ResetProviderCounters();
// True when the module named mapi32.dll in this process is our provider.
bool ProviderLoaded();

std::wstring Widen(const std::string& utf8);

}  // namespace mapitest
