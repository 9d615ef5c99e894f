#include "comsupp.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ComTestSupport.h"

namespace {

TEST(ComSupport, BstrFromNarrowAndBack) {
    _bstr_t text("Hello, w\xF6rld");
    EXPECT_EQ(12u, text.length());
    EXPECT_EQ(std::wstring(L"Hello, w\u00F6rld"), static_cast<const wchar_t*>(text));
    EXPECT_STREQ("Hello, w\xF6rld", static_cast<const char*>(text));

    _bstr_t empty("");
    EXPECT_EQ(0u, empty.length());
    EXPECT_STREQ("", static_cast<const char*>(empty));
}

TEST(ComSupport, VariantConversionFailureThrowsComError) {
    _variant_t text(L"not a number");
    try {
        long value = text;
        FAIL() << "converted to " << value;
    } catch (const _com_error& e) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e.Error());
    }
}

TEST(ComSupport, HrCheckCarriesThreadErrorInfo) {
    testsupport::SetErrorDescription(L"the service refused");
    try {
        HR_CHECK(E_ACCESSDENIED);
        FAIL() << "no throw";
    } catch (const _com_error& e) {
        EXPECT_EQ(E_ACCESSDENIED, e.Error());
        EXPECT_EQ(std::wstring(L"the service refused"), static_cast<const wchar_t*>(e.Description()));
    }
    // The error info was taken: a second failure has none.
    try {
        HR_CHECK(E_FAIL);
    } catch (const _com_error& e) {
        EXPECT_EQ(E_FAIL, e.Error());
        EXPECT_EQ(0u, e.Description().length());
    }
}

TEST(ComSupport, HrCheckSucceedsSilently) {
    EXPECT_NO_THROW(HR_CHECK(S_FALSE));
    EXPECT_NO_THROW(HR_CHECK(S_OK));
}

}  // namespace
