// The server module as a whole: every MAPI function it imports is one our provider exports
// under the same name and ordinal, and a copy of it without its satellite library still
// serves its class.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MailTestSupport.h"
#include "ServerLoadSupport.h"

namespace {

struct Import {
    std::string name;
    WORD hint;
};

// The functions a PE file imports from a library, read from the file's import directory.
class ImportReader {
public:
    explicit ImportReader(const std::wstring& path) {
        std::ifstream in(std::string(path.begin(), path.end()).c_str(), std::ios::binary);
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<Import> From(const char* library) const {
        std::vector<Import> imports;
        if (m_bytes.size() < sizeof(IMAGE_DOS_HEADER)) return imports;
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m_bytes.data());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(m_bytes.data() + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(directory.VirtualAddress); descriptor && descriptor->Name; ++descriptor) {
            if (_stricmp(At<char>(descriptor->Name), library) != 0) continue;
            const DWORD thunks = descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk;
            for (auto* thunk = At<ULONGLONG>(thunks); thunk && *thunk; ++thunk) {
                if (*thunk & IMAGE_ORDINAL_FLAG64) {
                    imports.push_back({"#" + std::to_string(*thunk & 0xFFFF), static_cast<WORD>(*thunk & 0xFFFF)});
                } else {
                    const auto* byName = At<IMAGE_IMPORT_BY_NAME>(static_cast<DWORD>(*thunk));
                    imports.push_back({reinterpret_cast<const char*>(byName->Name), byName->Hint});
                }
            }
        }
        return imports;
    }

private:
    // The file data at a relative virtual address.
    template <class T>
    const T* At(DWORD rva) const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m_bytes.data());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(m_bytes.data() + dos->e_lfanew);
        const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->Misc.VirtualSize)
                return reinterpret_cast<const T*>(m_bytes.data() + section->PointerToRawData + (rva - section->VirtualAddress));
        }
        return nullptr;
    }

    std::vector<char> m_bytes;
};

TEST(MailModule, EveryMapiImportIsExportedByTheProviderUnderItsNameAndOrdinal) {
    const std::vector<Import> imports = ImportReader(testsupport::BesideProgram(L"TarvockMailSDK.dll")).From("MAPI32.dll");
    ASSERT_EQ(7u, imports.size()) << "MAPIInitialize, MAPILogonEx, MAPIUninitialize, MAPIFreeBuffer, FreeProws, FreePadrlist, UlRelease";
    HMODULE provider = ::LoadLibraryW(testsupport::BesideProgram(L"mapi32.dll").c_str());
    ASSERT_NE(nullptr, provider);
    for (const Import& import : imports) {
        SCOPED_TRACE(import.name);
        ASSERT_NE('#', import.name[0]) << "imported by name through the platform's import library";
        FARPROC byName = ::GetProcAddress(provider, import.name.c_str());
        EXPECT_NE(nullptr, byName);
        EXPECT_EQ(byName, ::GetProcAddress(provider, MAKEINTRESOURCEA(import.hint))) << "ordinal " << import.hint;
    }
    ::FreeLibrary(provider);
}

TEST(MailModule, HoldsItsNameTypeLibraryAndBothRegistryScripts) {
    HMODULE server = ::LoadLibraryExW(testsupport::BesideProgram(L"TarvockMailSDK.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, server);
    wchar_t name[64] = {};
    EXPECT_GT(::LoadStringW(server, 100, name, 64), 0);
    EXPECT_STREQ(L"TarvockMailSDK", name);
    EXPECT_NE(nullptr, ::FindResourceW(server, MAKEINTRESOURCEW(1), L"TYPELIB"));
    EXPECT_NE(nullptr, ::FindResourceW(server, MAKEINTRESOURCEW(101), L"REGISTRY"));
    EXPECT_NE(nullptr, ::FindResourceW(server, MAKEINTRESOURCEW(102), L"REGISTRY"));
    ::FreeLibrary(server);
}

TEST(MailModule, TheTypeLibraryRefersToTheSdksCollectionAndDefinesOnlyTheAddressBook) {
    CComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, ::LoadTypeLibEx(testsupport::BesideProgram(L"TarvockMailSDK.dll").c_str(), REGKIND_NONE, &library));
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(::IsEqualGUID(LIBID_TarvockMailSDKLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);
    EXPECT_EQ(2u, library->GetTypeInfoCount()) << "IAddressBook and AddressBook only";
    CComPtr<ITypeInfo> collection;
    EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, library->GetTypeInfoOfGuid(IID_IObjectCollection, &collection));
    CComBSTR help;
    EXPECT_EQ(S_OK, library->GetDocumentation(-1, nullptr, &help, nullptr, nullptr));
    EXPECT_EQ(std::string("TarvockMailSDK 1.0 Type Library"), testsupport::Narrow(help));
}

class MailModuleTest : public mailtest::AddressBookTest {};

TEST_F(MailModuleTest, ACopyWithoutItsSatelliteLibraryStillServesItsClass) {
    const testsupport::LoneCopy copy(L"TarvockMailSDK.dll", L"tarvock-mail-no-satellite");
    ASSERT_TRUE(copy.Copied());

    HMODULE server = ::LoadLibraryW(copy.Path().c_str());
    ASSERT_NE(nullptr, server) << ::GetLastError();
    {
        CComPtr<IAddressBook> addressBook;
        ASSERT_EQ(S_OK, testsupport::CreateFromServer(server, CLSID_AddressBook, IID_IAddressBook,
                                                      reinterpret_cast<void**>(&addressBook)));
        CComPtr<IObjectCollection> contacts;
        EXPECT_EQ(S_FALSE, addressBook->get_Contacts(CComBSTR(L""), &contacts));
        EXPECT_EQ(L"", testsupport::TakeErrorDescription()) << "the text is not found without the library";
    }
    ::FreeLibrary(server);
}

}  // namespace
