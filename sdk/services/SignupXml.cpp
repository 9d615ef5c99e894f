#include <windows.h>

#include "SignupXml.h"

#include "ResultXml.h"

CComPtr<ISignupCompletionElements> SignupCompletionFromXml(IXMLDOMNode* element) {
    CComPtr<ISignupCompletionElements> elements =
        CreateDataObject<ISignupCompletionElements>(CLSID_SignupCompletionElements);
    ForEachField(element, [&](const CComBSTR& name, const CComBSTR& text) {
        if (IsNamed(name, L"Username")) {
            RaiseIfFailed(elements->put_Username(text));
        } else if (IsNamed(name, L"AccountReference")) {
            RaiseIfFailed(elements->put_AccountReference(text));
        } else if (IsNamed(name, L"WelcomeMessage")) {
            RaiseIfFailed(elements->put_WelcomeMessage(text));
        }
    });
    return elements;
}
