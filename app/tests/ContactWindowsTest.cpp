#include "ContactWindowsTest.h"

#include "Helpers.h"

namespace {

// The texts of every <element> in an XML text, without parsing namespaces.
std::vector<std::wstring> ElementTexts(const std::wstring& xml, const wchar_t* element) {
    std::vector<std::wstring> texts;
    const std::wstring open = std::wstring(L"<") + element;
    const std::wstring close = std::wstring(L"</") + element + L">";
    for (size_t at = xml.find(open); at != std::wstring::npos; at = xml.find(open, at + 1)) {
        size_t after = at + open.size();
        if (after >= xml.size() || (xml[after] != L'>' && xml[after] != L' ' && xml[after] != L'/')) continue;
        size_t start = xml.find(L'>', after);
        if (start == std::wstring::npos) break;
        if (xml[start - 1] == L'/') {
            texts.push_back(L"");
            continue;
        }
        size_t end = xml.find(close, start);
        if (end == std::wstring::npos) break;
        texts.push_back(xml.substr(start + 1, end - start - 1));
    }
    return texts;
}

}  // namespace

void ContactWindowsTest::SetUp() {
    StandinTest::SetUp();
    standin::PointSdkAtStandin();
    CLoginState::ReleaseCachedCollections();
    ASSERT_TRUE(CLoginState::SignInCore("test", "test", "TEST01", true));
    Log().Reset();
    m_boxes.boxes.clear();
}

void ContactWindowsTest::TearDown() {
    CLoginState::ReleaseCachedCollections();
    StandinTest::TearDown();
}

CComPtr<IContactService> ContactWindowsTest::NewService() const {
    CComPtr<IContactService> service;
    IDispatch* dispatch = CreateDispatchObject(CLSID_ContactService, "ContactService");
    if (!dispatch) return service;
    dispatch->QueryInterface(IID_IContactService, (void**)&service);
    dispatch->Release();
    VARIANT serverSide;
    ::VariantInit(&serverSide);
    serverSide.vt = VT_ERROR;
    serverSide.scode = DISP_E_PARAMNOTFOUND;
    if (service) {
        service->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), serverSide);
    }
    return service;
}

std::wstring ContactWindowsTest::LastField(const wchar_t* operation, const wchar_t* element) const {
    std::vector<std::wstring> texts = LastFields(operation, element);
    return texts.empty() ? std::wstring() : texts[0];
}

std::vector<std::wstring> ContactWindowsTest::LastFields(const wchar_t* operation, const wchar_t* element) const {
    std::vector<standin::LoggedRequest> requests = Log().ByOperation(operation);
    if (requests.empty()) return {};
    return ElementTexts(requests.back().body, element);
}

CString ContactText(IContact* contact, HRESULT (STDMETHODCALLTYPE IContact::*get)(BSTR*)) {
    BSTR text = nullptr;
    if (!contact || FAILED((contact->*get)(&text))) return CString();
    return TakeBstr(text);
}

ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}
