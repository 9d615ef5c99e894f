// The argument rules the services share, without a network: required and present texts, the
// message index of GetLatestMessages, and the message type writer.
#include <windows.h>

#include "RequestTemplates.h"
#include "ServiceArguments.h"
#include "ServiceTestSupport.h"
#include "SoapRequest.h"
#include "XmlUtils.h"

#include <vector>

namespace {

using namespace servicetest;

class ArgumentsTest : public testsupport::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ::SetErrorInfo(0, nullptr);
    }
};

TEST_F(ArgumentsTest, ARequiredTextMustHaveCharacters) {
    CComBSTR empty(L"");
    ASSERT_NE(nullptr, empty.m_str);
    EXPECT_EQ(E_INVALIDARG, Raised([&] { RequireText(empty, "Body"); }));
    EXPECT_EQ(N(MissingArgumentText(L"Body")), N(testsupport::TakeErrorDescription()));
    EXPECT_EQ(E_INVALIDARG, Raised([&] { RequireText(nullptr, "Recipient"); }));
    EXPECT_EQ(N(MissingArgumentText(L"Recipient")), N(testsupport::TakeErrorDescription()));
    EXPECT_EQ(S_OK, Raised([&] { RequireText(CComBSTR(L" "), "Body"); }));
}

TEST_F(ArgumentsTest, APresentTextMayBeEmptyAndIsLogged) {
    LogCapture log("ArgumentsTest");
    EXPECT_EQ(S_OK, Raised([&] { RequirePresent("ArgumentsTest", CComBSTR(L""), "Recipients"); }));
    EXPECT_EQ(S_OK, Raised([&] { RequirePresent("ArgumentsTest", CComBSTR(L"a,b,c"), "MessageIDs"); }));
    EXPECT_EQ(E_INVALIDARG, Raised([&] { RequirePresent("ArgumentsTest", nullptr, "MessageID"); }));
    EXPECT_EQ(N(MissingArgumentText(L"MessageID")), N(testsupport::TakeErrorDescription()));
    EXPECT_EQ("DEBUG Recipients=\nDEBUG MessageIDs=a,b,c\n", log.Text());
}

long IndexOf(const VARIANT& value, HRESULT* raised = nullptr) {
    long index = 12345;
    const HRESULT hr = Raised([&] { index = MessageIndexFromVariant(value); });
    if (raised) *raised = hr;
    return index;
}

TEST_F(ArgumentsTest, AnEmptyOrOmittedIndexIsMinusOne) {
    CComVariant empty;
    EXPECT_EQ(-1, IndexOf(empty));
    EXPECT_EQ(-1, IndexOf(Omitted()));
}

TEST_F(ArgumentsTest, IntegerIndexesAreTakenAsTheyAre) {
    EXPECT_EQ(-7, IndexOf(I2(-7)));
    EXPECT_EQ(-32768, IndexOf(I2(-32768)));
    CComVariant large(100000L);
    ASSERT_EQ(VT_I4, large.vt);
    EXPECT_EQ(100000, IndexOf(large));
    EXPECT_EQ(41, IndexOf(Int(41)));
    EXPECT_EQ(-2147483647L - 1, IndexOf(Int(-2147483647 - 1)));
}

TEST_F(ArgumentsTest, AnIndexPassedByReferenceIsFollowed) {
    // What a script passes for a variable: a reference to its VARIANT.
    VARIANT variable;
    variable.vt = VT_I2;
    variable.iVal = 3;
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &variable;
    EXPECT_EQ(3, IndexOf(reference));

    LONG number = 99;
    VARIANT longReference;
    longReference.vt = VT_BYREF | VT_I4;
    longReference.plVal = &number;
    EXPECT_EQ(99, IndexOf(longReference));

    CComVariant text(L"41");
    reference.pvarVal = &text;
    HRESULT raised = S_OK;
    IndexOf(reference, &raised);
    EXPECT_EQ(E_INVALIDARG, raised);
}

TEST_F(ArgumentsTest, OtherIndexTypesAreRefusedWithoutADescription) {
    const std::vector<CComVariant> cases = {CComVariant(L"41"), Real(41.0), Bool(true)};
    for (const CComVariant& value : cases) {
        HRESULT raised = S_OK;
        IndexOf(value, &raised);
        EXPECT_EQ(E_INVALIDARG, raised) << value.vt;
    }
    VARIANT null;
    null.vt = VT_NULL;
    HRESULT raised = S_OK;
    IndexOf(null, &raised);
    EXPECT_EQ(E_INVALIDARG, raised);
    EXPECT_FALSE(testsupport::HasErrorInfo());
}

// The text of the element tag of the request.
std::string TextOf(const CSoapRequest& request, const wchar_t* tag) {
    return N(CXmlUtils::GetElementText(request.Document(), tag));
}

TEST_F(ArgumentsTest, TheTypeWriterTakesOnlyTheFourTypes) {
    const struct {
        MESSAGE_TYPE type;
        const char* text;
    } cases[] = {{MESSAGE_TYPE_TEXT, "Text"},
                 {MESSAGE_TYPE_BINARY, "Binary"},
                 {MESSAGE_TYPE_SMARTMESSAGE, "SmartMessage"},
                 {MESSAGE_TYPE_UNICODE, "Unicode"}};
    for (const auto& c : cases) {
        ASSERT_EQ(S_OK, Raised([&] {
            CSoapRequest request(RequestTemplate::SendMessage);
            request.Type(c.type);
            EXPECT_EQ(c.text, TextOf(request, L"type"));
        }));
    }
    for (int refused : {0, 5, -1}) {
        EXPECT_EQ(E_INVALIDARG, Raised([&] { CSoapRequest(RequestTemplate::SendMessage).Type(MESSAGE_TYPE(refused)); }));
        EXPECT_FALSE(testsupport::HasErrorInfo());
    }
}

}  // namespace
