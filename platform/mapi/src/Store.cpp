#include "Store.h"

#include <mapidefs.h>
#include <mapitags.h>

#include <algorithm>
#include <cwchar>

#include "EntryId.h"

namespace mapiprovider {

namespace {

const wchar_t kAbsent[] = L"\x01";

// A value of an .ini file; hasValue tells an empty value from a missing key.
std::wstring IniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key, bool* hasValue = nullptr) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(section, key, kAbsent, buffer, 1024, file.c_str());
    const bool present = std::wcscmp(buffer, kAbsent) != 0;
    if (hasValue) *hasValue = present;
    return present ? buffer : L"";
}

bool SameText(const std::wstring& a, const wchar_t* b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Names of the entries of a folder that are directories (or files with the extension).
std::vector<std::wstring> FolderEntries(const std::wstring& folder, bool directories, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDirectory != directories) continue;
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0) continue;
        names.push_back(data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[8192];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

void SetText(CPropertyBag& bag, ULONG id, const std::wstring& text) {
    if (!text.empty()) bag.Set(CPropValue::Text(id, text));
}

std::vector<BYTE> InstanceKey(const std::wstring& identity) {
    // A short stable key per row: a hash of the identity.
    DWORD hash = 2166136261u;
    for (wchar_t c : identity) hash = (hash ^ static_cast<DWORD>(c)) * 16777619u;
    return std::vector<BYTE>(reinterpret_cast<const BYTE*>(&hash), reinterpret_cast<const BYTE*>(&hash) + sizeof hash);
}

}  // namespace

CPropertyBag ContactProperties(const CVCard& card, ULONG* objectType) {
    CPropertyBag bag;
    const CVCardProperty* kind = card.First("KIND");
    const CVCardProperty* appleKind = card.First("X-ADDRESSBOOKSERVER-KIND");
    const bool group = (kind && SameText(kind->Text(), L"group")) || (appleKind && SameText(appleKind->Text(), L"group"));
    *objectType = group ? MAPI_DISTLIST : MAPI_MAILUSER;

    std::wstring given, surname;
    if (const CVCardProperty* n = card.First("N")) {
        const std::vector<std::wstring> parts = n->Components();
        surname = parts.size() > 0 ? parts[0] : L"";
        given = parts.size() > 1 ? parts[1] : L"";
    }
    std::wstring displayName;
    if (const CVCardProperty* fn = card.First("FN")) displayName = fn->Text();
    if (displayName.empty()) displayName = given + (given.empty() || surname.empty() ? L"" : L" ") + surname;

    SetText(bag, PROP_ID(PR_DISPLAY_NAME_W), displayName);
    SetText(bag, PROP_ID(PR_GIVEN_NAME_W), given);
    SetText(bag, PROP_ID(PR_SURNAME_W), surname);
    if (const CVCardProperty* nickname = card.First("NICKNAME")) SetText(bag, PROP_ID(PR_NICKNAME_W), nickname->Text());

    for (const CVCardProperty* tel : card.All("TEL")) {
        std::wstring number = tel->Text();
        if (number.compare(0, 4, L"tel:") == 0) number.erase(0, 4);
        if (number.empty()) continue;
        if (tel->HasType("CELL")) {
            if (!bag.Has(PROP_ID(PR_MOBILE_TELEPHONE_NUMBER_W))) SetText(bag, PROP_ID(PR_MOBILE_TELEPHONE_NUMBER_W), number);
            continue;
        }
        if (tel->HasType("PREF") && !bag.Has(PROP_ID(PR_PRIMARY_TELEPHONE_NUMBER_W)))
            SetText(bag, PROP_ID(PR_PRIMARY_TELEPHONE_NUMBER_W), number);
        if (tel->HasType("HOME") && !bag.Has(PROP_ID(PR_HOME_TELEPHONE_NUMBER_W)))
            SetText(bag, PROP_ID(PR_HOME_TELEPHONE_NUMBER_W), number);
        if (tel->HasType("WORK") && !bag.Has(PROP_ID(PR_BUSINESS_TELEPHONE_NUMBER_W)))
            SetText(bag, PROP_ID(PR_BUSINESS_TELEPHONE_NUMBER_W), number);
    }

    // The preferred postal address, else the first: PO box;extended;street;locality;region;code;country
    const std::vector<const CVCardProperty*> addresses = card.All("ADR");
    const CVCardProperty* address = addresses.empty() ? nullptr : addresses.front();
    for (const CVCardProperty* candidate : addresses) {
        if (candidate->HasType("PREF")) {
            address = candidate;
            break;
        }
    }
    if (address) {
        std::vector<std::wstring> parts = address->Components();
        parts.resize(7);
        SetText(bag, PROP_ID(PR_STREET_ADDRESS_W), parts[2]);
        SetText(bag, PROP_ID(PR_LOCALITY_W), parts[3]);
        SetText(bag, PROP_ID(PR_STATE_OR_PROVINCE_W), parts[4]);
        SetText(bag, PROP_ID(PR_POSTAL_CODE_W), parts[5]);
        SetText(bag, PROP_ID(PR_COUNTRY_W), parts[6]);
    }
    if (const CVCardProperty* email = card.First("EMAIL")) {
        SetText(bag, PROP_ID(PR_EMAIL_ADDRESS_W), email->Text());
        SetText(bag, PROP_ID(PR_ADDRTYPE_W), L"SMTP");
    }
    bag.Set(CPropValue::Long(PROP_ID(PR_OBJECT_TYPE), static_cast<LONG>(*objectType)));
    bag.Set(CPropValue::Long(PROP_ID(PR_DISPLAY_TYPE), group ? DT_DISTLIST : DT_MAILUSER));
    return bag;
}

CPropertyBag CBook::Properties() const {
    CPropertyBag bag;
    bag.Set(CPropValue::Binary(PROP_ID(PR_ENTRYID), CEntryId::ForBook(folder).Encode()));
    if (hasName) bag.Set(CPropValue::Text(PROP_ID(PR_DISPLAY_NAME_W), displayName));
    bag.Set(CPropValue::Long(PROP_ID(PR_CONTAINER_FLAGS), static_cast<LONG>(containerFlags)));
    bag.Set(CPropValue::Long(PROP_ID(PR_OBJECT_TYPE), MAPI_ABCONT));
    bag.Set(CPropValue::Long(PROP_ID(PR_DISPLAY_TYPE), personal ? DT_MODIFIABLE : DT_NOT_SPECIFIC));
    bag.Set(CPropValue::Long(PROP_ID(PR_DEPTH), 0));
    bag.Set(CPropValue::Binary(PROP_ID(PR_INSTANCE_KEY), InstanceKey(folder)));
    return bag;
}

std::wstring CEntry::DisplayName() const {
    return properties.Text(PROP_ID(PR_DISPLAY_NAME_W));
}

CPropertyBag CEntry::TableRow(const CBook& book) const {
    static const ULONG kColumns[] = {
        PROP_ID(PR_ENTRYID),     PROP_ID(PR_DISPLAY_NAME_W), PROP_ID(PR_GIVEN_NAME_W),
        PROP_ID(PR_SURNAME_W),   PROP_ID(PR_MOBILE_TELEPHONE_NUMBER_W), PROP_ID(PR_EMAIL_ADDRESS_W),
        PROP_ID(PR_ADDRTYPE_W),  PROP_ID(PR_OBJECT_TYPE),    PROP_ID(PR_DISPLAY_TYPE),
    };
    CPropertyBag row;
    for (ULONG id : kColumns) {
        if (id == PROP_ID(PR_MOBILE_TELEPHONE_NUMBER_W) && !book.mobileInTable) continue;
        if (const CPropValue* value = properties.Find(id)) row.Set(*value);
    }
    row.Set(CPropValue::Binary(PROP_ID(PR_INSTANCE_KEY), InstanceKey(file + L"#" + std::to_wstring(index))));
    return row;
}

CStore::CStore(std::wstring root) : m_root(std::move(root)) {
    while (!m_root.empty() && (m_root.back() == L'\\' || m_root.back() == L'/')) m_root.pop_back();
}

bool CStore::Exists() const {
    if (m_root.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(m_root.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CStore::PersonalFolder() const {
    return IniValue(m_root + L"\\profile.ini", L"Profile", L"PersonalAddressBook");
}

CBook CStore::LoadBook(const std::wstring& folder) const {
    CBook book;
    book.folder = folder;
    book.path = m_root + L"\\" + folder;
    const std::wstring ini = book.path + L"\\book.ini";
    bool hasName = false;
    const std::wstring name = IniValue(ini, L"Book", L"DisplayName", &hasName);
    book.hasName = !hasName || !name.empty();
    book.displayName = hasName ? name : folder;
    bool hasFlags = false;
    const std::wstring flags = IniValue(ini, L"Book", L"ContainerFlags", &hasFlags);
    book.containerFlags = hasFlags ? std::wcstoul(flags.c_str(), nullptr, 0) : (AB_RECIPIENTS | AB_MODIFIABLE);
    book.restrictable = !SameText(IniValue(ini, L"Book", L"Restriction"), L"refuse");
    book.mobileInTable = !SameText(IniValue(ini, L"Book", L"MobileColumn"), L"no");
    const std::wstring personal = PersonalFolder();
    book.personal = !personal.empty() && SameText(folder, personal.c_str());
    return book;
}

std::vector<CBook> CStore::HierarchyBooks() const {
    std::vector<CBook> books;
    const std::wstring personal = PersonalFolder();
    for (const std::wstring& folder : FolderEntries(m_root, true, L"*")) {
        if (!personal.empty() && SameText(folder, personal.c_str())) continue;
        books.push_back(LoadBook(folder));
    }
    return books;
}

bool CStore::PersonalBook(CBook* book) const {
    const std::wstring personal = PersonalFolder();
    return !personal.empty() && FindBook(personal, book);
}

bool CStore::FindBook(const std::wstring& folder, CBook* book) const {
    if (folder.empty() || folder.find_first_of(L"\\/") != std::wstring::npos) return false;
    const DWORD attributes = ::GetFileAttributesW((m_root + L"\\" + folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    *book = LoadBook(folder);
    return true;
}

const std::vector<CVCard>& CStore::Cards(const std::wstring& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        m_files.erase(path);
        static const std::vector<CVCard> none;
        return none;
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    auto found = m_files.find(path);
    if (found != m_files.end() && ::CompareFileTime(&found->second.written, &data.ftLastWriteTime) == 0 &&
        found->second.size == size)
        return found->second.cards;
    CParsedFile& parsed = m_files[path];
    parsed.written = data.ftLastWriteTime;
    parsed.size = size;
    parsed.cards = ParseVCards(ReadWholeFile(path));
    return parsed.cards;
}

std::vector<CEntry> CStore::Entries(const CBook& book) const {
    std::vector<CEntry> entries;
    for (const std::wstring& file : FolderEntries(book.path, false, L"*.vcf")) {
        const std::vector<CVCard>& cards = Cards(book.path + L"\\" + file);
        for (ULONG index = 0; index < cards.size(); ++index) {
            CEntry entry;
            entry.file = file;
            entry.index = index;
            entry.properties = ContactProperties(cards[index], &entry.objectType);
            entry.properties.Set(CPropValue::Binary(PROP_ID(PR_ENTRYID), CEntryId::ForEntry(book.folder, file, index).Encode()));
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

bool CStore::FindEntry(const std::wstring& folder, const std::wstring& file, ULONG index, CEntry* entry) const {
    if (folder.empty() || (folder + file).find_first_of(L"\\/") != std::wstring::npos) return false;
    const std::vector<CVCard>& cards = Cards(m_root + L"\\" + folder + L"\\" + file);
    if (index >= cards.size()) return false;
    entry->file = file;
    entry->index = index;
    entry->properties = ContactProperties(cards[index], &entry->objectType);
    entry->properties.Set(CPropValue::Binary(PROP_ID(PR_ENTRYID), CEntryId::ForEntry(folder, file, index).Encode()));
    return true;
}

}  // namespace mapiprovider
