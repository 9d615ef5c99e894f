#include "DHtmlDocument.h"

#include <gtest/gtest.h>

namespace {

struct CComInit {
    CComInit() { ::OleInitialize(nullptr); }
} comInit;

std::wstring Page(const std::wstring& body) {
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
           L"<head><title> The  title </title></head><body>" + body + L"</body></html>";
}

}  // namespace

TEST(Document, ParsesElementsAttributesAndTexts) {
    CDHtmlDocument document;
    ASSERT_EQ(S_OK, document.LoadText(Page(L"<p id=\"first\" CLASS=\"x\">One <b>two</b>\n\t three &amp; &#169;</p>")));
    EXPECT_TRUE(document.IsLoaded());
    EXPECT_EQ(L"The title", document.GetTitle());
    CDHtmlNode* first = document.GetElementById("first");
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(L"p", first->GetTag());
    EXPECT_EQ(L"x", first->GetAttribute(L"class")) << "attribute names are kept in lower case";
    EXPECT_EQ(L"One two three & \x00A9", first->GetInnerText());
    EXPECT_EQ(nullptr, document.GetElementById("second"));
    EXPECT_EQ(nullptr, document.GetElementById(""));
    ASSERT_NE(nullptr, document.GetBody());
    EXPECT_EQ(first, document.GetBody()->GetChildren()[0].get());
}

TEST(Document, SettingTheInnerTextReplacesTheChildren) {
    CDHtmlDocument document;
    ASSERT_EQ(S_OK, document.LoadText(Page(L"<p id=\"p\">Hello <span id=\"s\">old</span> there</p>")));
    CDHtmlNode* span = document.GetElementById("s");
    span->SetInnerText(L"new  words");
    EXPECT_EQ(L"Hello new words there", document.GetElementById("p")->GetInnerText());
    document.GetElementById("p")->SetInnerText(L"gone");
    EXPECT_EQ(nullptr, document.GetElementById("s"));
    EXPECT_EQ(L"gone", document.GetElementById("p")->GetInnerText());
}

TEST(Document, WhiteSpaceCollapses) {
    EXPECT_EQ(L"a b c", DHtmlCollapseWhiteSpace(L"  a \r\n b\t\tc  "));
    EXPECT_EQ(L"", DHtmlCollapseWhiteSpace(L" \n "));
}

TEST(Document, MalformedPageFailsWithTheLine) {
    CDHtmlDocument document;
    HRESULT hr = document.LoadText(L"<html>\n<body>\n<p>never closed\n</body></html>");
    EXPECT_TRUE(FAILED(hr));
    EXPECT_FALSE(document.IsLoaded());
    EXPECT_GE(document.GetError().Find("line"), 0) << (const char*)document.GetError();
}

TEST(Document, APageNeedsAnHtmlRootAndABody) {
    CDHtmlDocument document;
    EXPECT_EQ(E_INVALIDARG, document.LoadText(L"<page><body/></page>"));
    EXPECT_GE(document.GetError().Find("<html>"), 0);
    EXPECT_EQ(E_INVALIDARG, document.LoadText(L"<html><head/></html>"));
    EXPECT_GE(document.GetError().Find("<body>"), 0);
    EXPECT_EQ(S_OK, document.LoadText(L"<html><body/></html>"));
    EXPECT_TRUE(document.GetError().IsEmpty());
}

TEST(Document, LoadsUtf8PagesFromTheResources) {
    CDHtmlDocument document;
    ASSERT_EQ(S_OK, document.LoadResource(::GetModuleHandleW(nullptr), 300));
    EXPECT_EQ(L"Test Page", document.GetTitle());
    ASSERT_NE(nullptr, document.GetElementById("nameBox"));
    EXPECT_EQ(L"preset", document.GetElementById("nameBox")->GetAttribute(L"value"));

    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND), document.LoadResource(::GetModuleHandleW(nullptr), 999));
    EXPECT_GE(document.GetError().Find("999"), 0);
    EXPECT_TRUE(FAILED(document.LoadResource(::GetModuleHandleW(nullptr), 301)));
}
