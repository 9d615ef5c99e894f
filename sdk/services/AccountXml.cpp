#include <windows.h>

#include "AccountXml.h"

#include <string>

#include "ResultXml.h"
#include "XmlUtils.h"

namespace {

long FeatureOfWord(const std::wstring& word) {
    if (word == L"Inbox") return ACCOUNT_FEATURE_INBOX;
    if (word == L"ServiceAliasing") return ACCOUNT_FEATURE_SERVICE_ALIASING;
    return ACCOUNT_FEATURE_NONE;
}

void SetStateField(IAccountState* state, const CComBSTR& name, const CComBSTR& text) {
    if (IsNamed(name, L"ID")) {
        RaiseIfFailed(state->put_ID(text));
    } else if (IsNamed(name, L"Reference")) {
        RaiseIfFailed(state->put_Reference(text));
    } else if (IsNamed(name, L"Address")) {
        RaiseIfFailed(state->put_Address(text));
    } else if (IsNamed(name, L"ServiceAlias")) {
        RaiseIfFailed(state->put_ServiceAlias(text));
    } else if (IsNamed(name, L"MessageLimit")) {
        RaiseIfFailed(state->put_MessageLimit(CXmlUtils::LeadingInteger(text)));
    } else if (IsNamed(name, L"Features")) {
        RaiseIfFailed(state->put_Features(AccountFeaturesFromText(text)));
    }
}

}  // namespace

long AccountFeaturesFromText(const wchar_t* text) {
    long features = ACCOUNT_FEATURE_NONE;
    const std::wstring words = text ? text : L"";
    size_t start = words.find_first_not_of(L' ');
    while (start != std::wstring::npos) {
        const size_t end = words.find(L' ', start);
        features |= FeatureOfWord(words.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        start = words.find_first_not_of(L' ', end);
    }
    return features;
}

CComPtr<IAccountState> AccountStateFromXml(IXMLDOMNode* element) {
    CComPtr<IAccountState> state = CreateDataObject<IAccountState>(CLSID_AccountState);
    ForEachField(element, [&](const CComBSTR& name, const CComBSTR& text) { SetStateField(state, name, text); });
    return state;
}
