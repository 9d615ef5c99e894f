#include <windows.h>

#include "ServiceTestSupport.h"

#include "MsXml.h"

namespace servicetest {

CComPtr<IXMLDOMDocument> LoadXml(const wchar_t* xml) {
    CComPtr<IXMLDOMDocument> document;
    EXPECT_HRESULT_SUCCEEDED(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER));
    if (!document) return document;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    EXPECT_EQ(S_OK, document->loadXML(CComBSTR(xml), &loaded));
    EXPECT_EQ(VARIANT_TRUE, loaded) << N(std::wstring(xml));
    return document;
}

CComPtr<IXMLDOMNode> Element(IXMLDOMDocument* document, const wchar_t* tag) {
    // By XPath: Wine's getElementsByTagName matches local names.
    const std::wstring path = std::wstring(L"//*[name()='") + tag + L"']";
    CComPtr<IXMLDOMNode> node;
    document->selectSingleNode(CComBSTR(path.c_str()), &node);
    EXPECT_TRUE(node) << "no element " << N(std::wstring(tag));
    return node;
}

std::wstring MissingArgumentText(const wchar_t* name) {
    return SdkText(5004, name);
}

CComVariant I2(short value) {
    CComVariant v;
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

CComVariant Int(int value) {
    CComVariant v;
    v.vt = VT_INT;
    v.intVal = value;
    return v;
}

CComVariant Real(double value) {
    CComVariant v;
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

CComVariant Bool(bool value) {
    CComVariant v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

CComVariant Omitted() {
    CComVariant v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

}  // namespace servicetest
