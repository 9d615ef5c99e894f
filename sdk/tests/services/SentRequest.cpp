#include <windows.h>

#include "SentRequest.h"

#include <atlbase.h>
#include <gtest/gtest.h>

#include "ComTestSupport.h"
#include "DomTestSupport.h"
#include "MsXml.h"

namespace servicetest {

namespace {

using testsupport::ForEachElement;

std::string Narrow(BSTR text) {
    return text ? testsupport::Narrow(std::wstring(text, ::SysStringLen(text))) : std::string();
}

std::wstring Wide(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

std::string LocalName(IXMLDOMNode* node) {
    CComBSTR name;
    node->get_baseName(&name);
    return Narrow(name);
}

std::string Text(IXMLDOMNode* node) {
    CComBSTR text;
    node->get_text(&text);
    return Narrow(text);
}

// "name=text", or "name=[item:text,...]" when the element holds elements.
std::string Field(IXMLDOMNode* element) {
    std::vector<std::string> items;
    ForEachElement(element, [&](IXMLDOMNode* item) { items.push_back(LocalName(item) + ":" + Text(item)); });
    if (items.empty()) return LocalName(element) + "=" + Text(element);
    std::string list;
    for (const std::string& item : items) list += (list.empty() ? "" : ",") + item;
    return LocalName(element) + "=[" + list + "]";
}

}  // namespace

SentRequest ReadSentRequest(const standin::LoggedRequest& logged) {
    SentRequest sent;
    sent.endpoint = logged.endpoint;
    sent.soapAction = logged.soapAction;
    CComPtr<IXMLDOMDocument> document;
    EXPECT_HRESULT_SUCCEEDED(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER));
    if (!document) return sent;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    document->loadXML(CComBSTR(logged.body.c_str()), &loaded);
    EXPECT_EQ(VARIANT_TRUE, loaded) << testsupport::Narrow(logged.body);
    CComPtr<IXMLDOMNode> operation;
    document->selectSingleNode(CComBSTR(L"/*[local-name()='Envelope']/*[local-name()='Body']/*"), &operation);
    EXPECT_TRUE(operation) << testsupport::Narrow(logged.body);
    if (!operation) return sent;
    CComBSTR name, uri;
    operation->get_baseName(&name);
    operation->get_namespaceURI(&uri);
    sent.operation = Wide(name);
    sent.operationNamespace = Wide(uri);
    ForEachElement(operation, [&](IXMLDOMNode* child) { sent.fields.push_back(Field(child)); });
    return sent;
}

std::vector<std::string> WithCredentials(std::vector<std::string> fields, const char* user, const char* password,
                                         const char* account) {
    fields.insert(fields.begin(), {std::string("Username=") + user, std::string("Password=") + password,
                                   std::string("Account=") + account});
    return fields;
}

}  // namespace servicetest
