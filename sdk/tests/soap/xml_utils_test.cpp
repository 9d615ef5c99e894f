// Building requests from the satellite library's templates and reading answers: element values by
// qualified tag name, identifier lists, numbers, string collections and the enumerations' texts.
#include <windows.h>

#include <climits>

#include "DomTestSupport.h"
#include "ListSplitter.h"
#include "SoapTestSupport.h"
#include "XmlResource.h"
#include "resource.h"

namespace {

using soaptest::LogCapture;
using soaptest::ParseXml;
using soaptest::Raised;
using soaptest::ResourceText;
using soaptest::Text;
using testsupport::TakeErrorDescription;

const UINT kGetMessageLimit = 212;
const UINT kDeleteMessages = 211;
const UINT kGetCurrentVersion = 239;

class XmlUtilsTest : public soaptest::LinkedSdkTest {};

std::wstring XmlOf(IXMLDOMNode* node) {
    CComBSTR xml;
    node->get_xml(&xml);
    return Text(xml);
}

// The value of the node's first child (a text node's text, blanks kept).
std::wstring FirstChildValue(IXMLDOMNode* node) {
    CComPtr<IXMLDOMNode> child;
    node->get_firstChild(&child);
    if (!child) return std::wstring();
    CComVariant value;
    child->get_nodeValue(&value);
    return value.vt == VT_BSTR ? Text(value.bstrVal) : std::wstring(L"<no value>");
}

// The node's children as "name{namespace}=first child's value" joined by "|" (the DOM's
// serialisation adds layout of its own, so structure is compared instead).
std::wstring Children(IXMLDOMNode* node) {
    std::wstring summary;
    testsupport::ForEachChild(node, [&](IXMLDOMNode* child) {
        CComBSTR name, namespaceUri;
        child->get_nodeName(&name);
        child->get_namespaceURI(&namespaceUri);
        if (!summary.empty()) summary += L"|";
        summary += Text(name) + L"{" + (namespaceUri ? Text(namespaceUri) : L"") + L"}=" + FirstChildValue(child);
    });
    return summary;
}

// --- templates ---------------------------------------------------------------------------

TEST_F(XmlUtilsTest, LoadsARequestTemplateFromTheSatelliteLibrary) {
    LogCapture utils("CXmlUtils");
    LogCapture send("CSendService");
    CComPtr<IXMLDOMDocument> document;
    ASSERT_EQ(S_OK, CXmlUtils::LoadXMLDocFromResource(kGetMessageLimit, &document));
    ASSERT_TRUE(document);
    EXPECT_TRUE(CXmlUtils::FindElementByTagName(document, L"GetMessageLimit"));
    EXPECT_EQ(L"?", Text(CXmlUtils::GetElementText(document, L"Password")));
    EXPECT_EQ("DEBUG Entering CXmlUtils::LoadXMLDocFromResource\n", utils.Text());
    EXPECT_EQ("DEBUG Entering CSendService::Load\n", send.Text());
}

TEST_F(XmlUtilsTest, MissingTemplateFailsWith5000AndIsLogged) {
    LogCapture utils("CXmlUtils");
    CComPtr<IXMLDOMDocument> document;
    EXPECT_EQ(E_FAIL, CXmlUtils::LoadXMLDocFromResource(4999, &document));
    EXPECT_FALSE(document);
    EXPECT_EQ(ResourceText(IDS_TEMPLATE_NOT_LOADED), TakeErrorDescription());
    EXPECT_TRUE(utils.Contains("ERROR An error occurred.  CXmlUtils::LoadXMLDocFromResource"));
    EXPECT_EQ(E_FAIL, Raised([] { CXmlUtils::LoadTemplate(4999); }));
    EXPECT_EQ(E_POINTER, CXmlUtils::LoadXMLDocFromResource(kGetMessageLimit, nullptr));
}

TEST_F(XmlUtilsTest, ResourceTextIsTheWholeTemplate) {
    CXmlResource resource;
    resource.Load(kGetMessageLimit, L"XML");
    const std::wstring text = resource.Text();
    EXPECT_EQ(resource.Size(), text.size());  // ASCII: one character per byte
    EXPECT_EQ(0u, text.find(L"<soap:Envelope"));
    EXPECT_NE(std::wstring::npos, text.find(L"</soap:Envelope>"));
    CXmlResource missing;
    EXPECT_EQ(E_FAIL, Raised([&] { missing.Load(kGetMessageLimit, L"NOTXML"); }));
    EXPECT_EQ(ResourceText(IDS_TEMPLATE_NOT_LOADED), TakeErrorDescription());
}

TEST_F(XmlUtilsTest, TextThatIsNoXmlRaisesTheParseError) {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::CreateDocument();
    EXPECT_FALSE(CXmlUtils::ParseText(document, CComBSTR(L"<a><b></a>")));
    const std::wstring parseError = CXmlUtils::FormatParseError(document);
    EXPECT_EQ(0u, parseError.find(L"Line: ")) << testsupport::Narrow(parseError);
    EXPECT_NE(std::wstring::npos, parseError.find(L" Col: "));
    EXPECT_NE(std::wstring::npos, parseError.find(L" Reason: "));
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::LoadText(document, CComBSTR(L"plain words")); }));
    EXPECT_EQ(0u, TakeErrorDescription().find(L"Line: "));
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::LoadText(document, nullptr); }));
    EXPECT_EQ(L"", CXmlUtils::FormatParseError(ParseXml(L"<fine/>")));
}

// --- finding elements ----------------------------------------------------------------------

TEST_F(XmlUtilsTest, FindsElementsByQualifiedNameInDocumentOrder) {
    CComPtr<IXMLDOMDocument> document =
        ParseXml(L"<p:a xmlns:p=\"urn:p\"><x><t>1</t><p:t>prefixed</p:t></x><t>2</t></p:a>");
    EXPECT_EQ(L"1", Text(CXmlUtils::GetElementText(document, L"t")));
    EXPECT_EQ(L"prefixed", Text(CXmlUtils::GetElementText(document, L"p:t")));
    EXPECT_TRUE(CXmlUtils::FindElementByTagName(document, L"p:a"));
    EXPECT_FALSE(CXmlUtils::FindElementByTagName(document, L"a"));  // the local name alone is no match
    EXPECT_FALSE(CXmlUtils::FindElementByTagName(document, L"T"));
    EXPECT_FALSE(CXmlUtils::FindElementByTagName(document, nullptr));

    CComPtr<IXMLDOMDocument> request = CXmlUtils::LoadTemplate(kGetMessageLimit);
    EXPECT_TRUE(CXmlUtils::FindElementByTagName(request, L"soap:Body"));
    EXPECT_FALSE(CXmlUtils::FindElementByTagName(request, L"Body"));
}

TEST_F(XmlUtilsTest, RequiredElementThatIsMissingRaises5017WithItsName) {
    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a/>");
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::RequireElement(document, L"recipient"); }));
    EXPECT_EQ(L"The element recipient is missing from the XML document.", TakeErrorDescription());
}

// --- writing values ------------------------------------------------------------------------

TEST_F(XmlUtilsTest, SetElementTextReplacesThePlaceholder) {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kGetMessageLimit);
    CXmlUtils::SetElementText(document, L"Username", L"ann & <bob>");
    CXmlUtils::SetElementText(document, L"Account", nullptr);
    EXPECT_EQ(L"ann & <bob>", Text(CXmlUtils::GetElementText(document, L"Username")));
    EXPECT_EQ(L"", Text(CXmlUtils::GetElementText(document, L"Account")));
    EXPECT_NE(std::wstring::npos, XmlOf(document).find(L"<Username>ann &amp; &lt;bob&gt;</Username>"));
}

TEST_F(XmlUtilsTest, SetElementTextNeedsExactlyOneChild) {
    CComPtr<IXMLDOMDocument> version = CXmlUtils::LoadTemplate(kGetCurrentVersion);
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::SetElementText(version, L"GetCurrentVersion", L"x"); }));
    EXPECT_EQ(ResourceText(IDS_ELEMENT_NOT_SINGLE_VALUE), TakeErrorDescription());

    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a><two>x<b/></two><empty></empty><nested><b>x</b></nested></a>");
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::SetElementText(document, L"two", L"x"); }));
    EXPECT_EQ(ResourceText(IDS_ELEMENT_NOT_SINGLE_VALUE), TakeErrorDescription());
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::SetElementText(document, L"empty", L"x"); }));
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::SetElementText(document, L"missing", L"x"); }));
    EXPECT_EQ(L"The element missing is missing from the XML document.", TakeErrorDescription());
    // An element child has no value of its own: the DOM refuses, and its HRESULT is raised.
    EXPECT_TRUE(FAILED(Raised([&] { CXmlUtils::SetElementText(document, L"nested", L"x"); })));
    EXPECT_EQ(L"x", Text(CXmlUtils::GetElementText(document, L"nested")));
}

TEST_F(XmlUtilsTest, BooleansAndNumbersAreWrittenAsWireTexts) {
    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a><b>?</b><n>?</n></a>");
    const struct { VARIANT_BOOL value; const wchar_t* text; } booleans[] = {
        {VARIANT_TRUE, L"true"}, {VARIANT_FALSE, L"false"}, {1, L"false"}};
    for (const auto& b : booleans) {
        CXmlUtils::SetElementBool(document, L"b", b.value);
        EXPECT_EQ(b.text, Text(CXmlUtils::GetElementText(document, L"b"))) << b.value;
    }
    const struct { long value; const wchar_t* text; } numbers[] = {
        {-1, L"-1"}, {0, L"0"}, {160, L"160"}, {1234567, L"1234567"}, {LONG_MIN, L"-2147483648"}};
    for (const auto& n : numbers) {
        CXmlUtils::SetElementLong(document, L"n", n.value);
        EXPECT_EQ(n.text, Text(CXmlUtils::GetElementText(document, L"n")));
    }
}

// --- reading values ------------------------------------------------------------------------

TEST_F(XmlUtilsTest, ElementTextIncludesDescendantsAndIsNullWhenMissing) {
    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a><r><x>one</x><y>two</y></r><e/></a>");
    EXPECT_EQ(L"onetwo", Text(CXmlUtils::GetElementText(document, L"r")));
    EXPECT_EQ(L"", Text(CXmlUtils::GetElementText(document, L"e")));
    EXPECT_EQ(nullptr, CXmlUtils::GetElementText(document, L"missing").m_str);
}

TEST_F(XmlUtilsTest, ElementLongReadsTheLeadingInteger) {
    CComPtr<IXMLDOMDocument> document = ParseXml(
        L"<a><limit>250</limit><letters>abc</letters><mixed>12a</mixed><signed>  -42</signed><plus>+7</plus>"
        L"<empty/><space>- 5</space></a>");
    EXPECT_EQ(250, CXmlUtils::GetElementLong(document, L"limit"));
    EXPECT_EQ(0, CXmlUtils::GetElementLong(document, L"missing"));
    EXPECT_EQ(0, CXmlUtils::GetElementLong(document, L"letters"));
    EXPECT_EQ(12, CXmlUtils::GetElementLong(document, L"mixed"));
    EXPECT_EQ(-42, CXmlUtils::GetElementLong(document, L"signed"));
    EXPECT_EQ(7, CXmlUtils::GetElementLong(document, L"plus"));
    EXPECT_EQ(0, CXmlUtils::GetElementLong(document, L"empty"));
    EXPECT_EQ(0, CXmlUtils::GetElementLong(document, L"space"));
}

TEST_F(XmlUtilsTest, CoercionTakesShortLongAndTextOnly) {
    CComVariant shortValue;
    shortValue.vt = VT_I2;
    shortValue.iVal = -5;
    EXPECT_EQ(-5, CXmlUtils::CoerceToLong(shortValue));
    EXPECT_EQ(70000, CXmlUtils::CoerceToLong(CComVariant(70000L)));
    EXPECT_EQ(31, CXmlUtils::CoerceToLong(CComVariant(L"31 days")));

    CComVariant real;
    real.vt = VT_R8;
    real.dblVal = 2.5;
    EXPECT_EQ(E_INVALIDARG, Raised([&] { CXmlUtils::CoerceToLong(real); }));
    EXPECT_EQ(L"A number could not be read from the value ''.", TakeErrorDescription());
    EXPECT_EQ(E_INVALIDARG, Raised([] { CXmlUtils::CoerceToLong(CComVariant()); }));
}

TEST_F(XmlUtilsTest, LeadingIntegerEdges) {
    EXPECT_EQ(0, CXmlUtils::LeadingInteger(nullptr));
    EXPECT_EQ(0, CXmlUtils::LeadingInteger(L""));
    EXPECT_EQ(0, CXmlUtils::LeadingInteger(L"-"));
    EXPECT_EQ(17, CXmlUtils::LeadingInteger(L"\t 17\n"));
    EXPECT_EQ(0, CXmlUtils::LeadingInteger(L"abc"));
    EXPECT_EQ(LONG_MAX, CXmlUtils::LeadingInteger(L"99999999999999999999"));
    EXPECT_EQ(LONG_MIN, CXmlUtils::LeadingInteger(L"-99999999999999999999"));
    EXPECT_EQ(LONG_MIN, CXmlUtils::LeadingInteger(L"-2147483648"));
}

// --- lists and children --------------------------------------------------------------------

TEST_F(XmlUtilsTest, AppendTextElementUsesTheParentsNamespace) {
    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a xmlns=\"urn:x\"><list><old/></list></a>");
    CComPtr<IXMLDOMElement> list = CXmlUtils::FindElementByTagName(document, L"list");
    CXmlUtils::AppendTextElement(document, list, L"string", L"v");
    EXPECT_EQ(L"old{urn:x}=|string{urn:x}=v", Children(list));
    CComPtr<IXMLDOMNode> last;
    list->get_lastChild(&last);
    CComBSTR namespaceUri;
    last->get_namespaceURI(&namespaceUri);
    EXPECT_EQ(L"urn:x", Text(namespaceUri));
    EXPECT_EQ(L"string", Text(CXmlUtils::LocalName(last)));
}

TEST_F(XmlUtilsTest, RemoveAllChildrenEmptiesTheElement) {
    CComPtr<IXMLDOMDocument> document = ParseXml(L"<a><l>t<x/><y>z</y><!--c--></l></a>");
    CComPtr<IXMLDOMElement> list = CXmlUtils::FindElementByTagName(document, L"l");
    CXmlUtils::RemoveAllChildren(list);
    EXPECT_EQ(L"", Children(list));
    EXPECT_EQ(L"<l/>", XmlOf(list));
}

TEST_F(XmlUtilsTest, WriteIdListDropsEmptyItems) {
    CComPtr<IXMLDOMDocument> document = CXmlUtils::LoadTemplate(kDeleteMessages);
    CXmlUtils::WriteIDList(document, L"ids", L"a,,b,");
    CComPtr<IXMLDOMElement> ids = CXmlUtils::FindElementByTagName(document, L"ids");
    const std::wstring ns = L"{http://com.tarvock/messenger/}=";
    EXPECT_EQ(L"string" + ns + L"a|string" + ns + L"b", Children(ids));

    CXmlUtils::WriteIDList(document, L"ids", L" x , y");  // blanks are kept, old items replaced
    EXPECT_EQ(L"string" + ns + L" x |string" + ns + L" y", Children(ids));
    CXmlUtils::WriteIDList(document, L"ids", L"");
    EXPECT_EQ(L"", Children(ids));
    CXmlUtils::WriteIDList(document, L"ids", L"z");
    EXPECT_EQ(L"string" + ns + L"z", Children(ids));
    CXmlUtils::WriteIDList(document, L"ids", nullptr);
    EXPECT_EQ(L"", Children(ids));
    CXmlUtils::WriteIDList(document, L"ids", L",,,");
    EXPECT_EQ(L"", Children(ids));
    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::WriteIDList(document, L"recipients", L"a"); }));
    EXPECT_EQ(L"The element recipients is missing from the XML document.", TakeErrorDescription());
}

TEST(ListSplitter, FollowsTheListRules) {
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), CListSplitter::Split(L"a,,b,"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), CListSplitter::Split(L",,a,b"));
    EXPECT_EQ((std::vector<std::wstring>{L" a ", L" "}), CListSplitter::Split(L" a , "));
    EXPECT_TRUE(CListSplitter::Split(L"").empty());
    EXPECT_TRUE(CListSplitter::Split(nullptr).empty());
    EXPECT_TRUE(CListSplitter::Split(L",,,").empty());
    EXPECT_EQ((std::vector<std::wstring>{L"one"}), CListSplitter::Split(L"one"));
}

TEST(ListSplitter, SplittersDoNotShareAPosition) {
    CListSplitter outer(L"a,b,c");
    CListSplitter inner(L"1,2");
    std::wstring item, sub, seen;
    while (outer.Next(item)) {
        seen += item;
        CListSplitter nested(L"x,y");  // a list split inside another
        while (nested.Next(sub)) seen += sub;
        if (inner.Next(sub)) seen += sub;
    }
    EXPECT_EQ(L"axy1bxy2cxy", seen);
    EXPECT_FALSE(outer.Next(item));
    EXPECT_FALSE(inner.Next(item));
}

TEST_F(XmlUtilsTest, ReadStringCollectionTakesEachChildsText) {
    CComPtr<IXMLDOMDocument> document =
        ParseXml(L"<r><Result><string>id-1</string><string>id-2</string><string/></Result></r>");
    CComPtr<IStringCollection2> collection = CXmlUtils::ReadStringCollection(document, L"Result");
    ASSERT_TRUE(collection);
    long count = 0;
    collection->get_Count(&count);
    ASSERT_EQ(3, count);
    CComBSTR first, second, third;
    collection->get_Item(1, &first);
    collection->get_Item(2, &second);
    collection->get_Item(3, &third);
    EXPECT_EQ(L"id-1", Text(first));
    EXPECT_EQ(L"id-2", Text(second));
    EXPECT_EQ(0u, third.Length());

    EXPECT_EQ(E_FAIL, Raised([&] { CXmlUtils::ReadStringCollection(document, L"Missing"); }));
    CComPtr<IStringCollection2> empty =
        CXmlUtils::ReadStringCollection(ParseXml(L"<r><Result/></r>"), L"Result");
    empty->get_Count(&count);
    EXPECT_EQ(0, count);
}

// --- enumerations --------------------------------------------------------------------------

TEST(WireTexts, MessageTypes) {
    const wchar_t* texts[] = {L"Text", L"Binary", L"SmartMessage", L"Unicode"};
    for (int value = 1; value <= 4; ++value) {
        EXPECT_STREQ(texts[value - 1], CXmlUtils::MessageTypeText(static_cast<MESSAGE_TYPE>(value)));
        EXPECT_EQ(value, CXmlUtils::MessageTypeFromText(texts[value - 1]));
    }
    EXPECT_EQ(nullptr, CXmlUtils::MessageTypeText(static_cast<MESSAGE_TYPE>(0)));
    EXPECT_EQ(nullptr, CXmlUtils::MessageTypeText(static_cast<MESSAGE_TYPE>(5)));
    EXPECT_EQ(0, CXmlUtils::MessageTypeFromText(L"text"));
    EXPECT_EQ(0, CXmlUtils::MessageTypeFromText(nullptr));
}

TEST(WireTexts, MessageStatuses) {
    EXPECT_EQ(MESSAGE_STATUS_QUEUED, CXmlUtils::MessageStatusFromText(L"Queued"));
    EXPECT_EQ(MESSAGE_STATUS_SENT, CXmlUtils::MessageStatusFromText(L"Sent"));
    EXPECT_EQ(MESSAGE_STATUS_DELIVERED, CXmlUtils::MessageStatusFromText(L"Delivered"));
    EXPECT_EQ(MESSAGE_STATUS_FAILED, CXmlUtils::MessageStatusFromText(L"Failed"));
    EXPECT_EQ(0, CXmlUtils::MessageStatusFromText(L"Lost"));
    EXPECT_EQ(0, CXmlUtils::MessageStatusFromText(L"queued"));
}

TEST(WireTexts, ContactAndGroupTypes) {
    EXPECT_STREQ(L"Subscriber", CXmlUtils::ContactTypeText(1));
    EXPECT_STREQ(L"Contact", CXmlUtils::ContactTypeText(0));
    EXPECT_STREQ(L"Contact", CXmlUtils::ContactTypeText(7));
    EXPECT_EQ(CONTACT_TYPE_SUBSCRIBER, CXmlUtils::ContactTypeFromText(L"Subscriber"));
    EXPECT_EQ(CONTACT_TYPE_CONTACT, CXmlUtils::ContactTypeFromText(L"Contact"));
    EXPECT_EQ(CONTACT_TYPE_CONTACT, CXmlUtils::ContactTypeFromText(L"subscriber"));
    EXPECT_STREQ(L"AllSubscribed", CXmlUtils::ContactGroupTypeText(1));
    EXPECT_STREQ(L"Group", CXmlUtils::ContactGroupTypeText(0));
    EXPECT_STREQ(L"Group", CXmlUtils::ContactGroupTypeText(-1));
    EXPECT_EQ(CONTACT_GROUP_TYPE_SUBSCRIBERS, CXmlUtils::ContactGroupTypeFromText(L"AllSubscribed"));
    EXPECT_EQ(CONTACT_GROUP_TYPE_GROUP, CXmlUtils::ContactGroupTypeFromText(L"Group"));
    EXPECT_EQ(CONTACT_GROUP_TYPE_GROUP, CXmlUtils::ContactGroupTypeFromText(nullptr));
}

}  // namespace
