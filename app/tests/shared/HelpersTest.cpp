#include "support/TestMessengerApp.h"

#include "resource.h"
#include "shared/Helpers.h"
#include "shared/ModuleVersionInfo.h"
#include "shared/StringTokenizer.h"
#include "startup/AppSettings.h"

#include <atlbase.h>
#include <gtest/gtest.h>
#include <log4cpp/OstreamAppender.hh>
#include <log4cpp/PatternLayout.hh>

#include <cstring>
#include <sstream>

namespace {

// Captures the root category's lines while it lives.
class CRootLog {
public:
    CRootLog() : m_appender("capture", &m_stream) {
        auto* layout = new log4cpp::PatternLayout;
        layout->setConversionPattern("%p %m%n");
        m_appender.setLayout(layout);
        log4cpp::Category::getRoot().addAppender(m_appender);
    }
    ~CRootLog() { log4cpp::Category::getRoot().removeAppender(&m_appender); }
    std::string Text() const { return m_stream.str(); }

private:
    std::ostringstream m_stream;
    log4cpp::OstreamAppender m_appender;
};

class HelpersTest : public ::testing::Test {
protected:
    CSatelliteScope satellite;
    CMessageBoxRecorder boxes;
};

}  // namespace

TEST(Tokenizer, SkipsRunsOfDelimitersAndStopsAtTheEnd) {
    CStringTokenizer tokens("&&a=1&b==2&", "&=");
    std::vector<CString> found;
    CString token;
    while (tokens.NextToken(token)) found.push_back(token);
    ASSERT_EQ(4u, found.size());
    EXPECT_STREQ("a", found[0]);
    EXPECT_STREQ("1", found[1]);
    EXPECT_STREQ("b", found[2]);
    EXPECT_STREQ("2", found[3]);
    CStringTokenizer empty("", ",");
    EXPECT_FALSE(empty.NextToken(token));
}

TEST(QueryParameter, TakesTheFirstExactKeyWithAValue) {
    EXPECT_STREQ("close", GetQueryParameter("app://x?action=close", "action"));
    EXPECT_STREQ("sendMessage", GetQueryParameter("a.htm?x=1&action=sendMessage&action=other", "action"));
    EXPECT_STREQ("later", GetQueryParameter("a.htm?action&&action=later", "action"));
    EXPECT_STREQ("", GetQueryParameter("a.htm?Action=close", "action"));  // case-sensitive
    EXPECT_STREQ("", GetQueryParameter("a.htm#action=close", "action"));  // no query
    EXPECT_STREQ("", GetQueryParameter("a.htm?actions=close", "action"));
}

TEST(VersionTexts, CompareAsFourNumbersWhenBothAreFourNumbers) {
    EXPECT_GT(CompareVersionTexts("1.10.0.0", "1.9.0.0"), 0);
    EXPECT_GT(CompareVersionTexts("1.0.0.10", "1.0.0.9"), 0);
    EXPECT_EQ(0, CompareVersionTexts("2.0.0.1", "2.0.0.1"));
    EXPECT_LT(CompareVersionTexts("1.2.3.4", "1.2.4.0"), 0);
    // Otherwise byte by byte as texts.
    EXPECT_LT(CompareVersionTexts("1.10", "1.9"), 0);
    EXPECT_LT(CompareVersionTexts("1.10.0.0 beta", "1.9.0.0"), 0);
    EXPECT_GT(CompareVersionTexts("1.0.0.0", ""), 0);
    EXPECT_LT(CompareVersionTexts("1..0.0", "1.0.0.0"), 0);
}

// The settings test has a registry key of its own: the other test programs write the shared test
// profile while it runs, and a tree being deleted while another process adds to it is not deleted.
class SettingsProfile {
public:
    SettingsProfile() {
        theTestApp.SetRegistryKey("TarvockSettingsTests");
        Delete();
    }
    ~SettingsProfile() {
        Delete();
        theTestApp.SetRegistryKey("TarvockTests");
    }
    static void Delete() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvockSettingsTests"); }
};

TEST(Settings, IntervalsReadFromTheProfileAreKeptWithinOneToSixty) {
    SettingsProfile profile;
    theTestApp.WriteProfileInt("Options", "PollInterval", 0);
    theTestApp.WriteProfileInt("Options", "PopupInterval", 600);
    theTestApp.WriteProfileInt("Options", "HideSplashScreen", 1);
    CAppSettings settings(theTestApp);
    EXPECT_EQ(1, settings.PollInterval);
    EXPECT_EQ(60, settings.PopupInterval);
    EXPECT_EQ(1, settings.HideSplashScreen);
    settings.PollInterval = 25;
    settings.Save();
    EXPECT_EQ(25u, theTestApp.GetProfileInt("Options", "PollInterval", 10));
    SettingsProfile::Delete();
    CAppSettings defaults(theTestApp);
    EXPECT_EQ(10, defaults.PollInterval);
    EXPECT_EQ(5, defaults.PopupInterval);
    EXPECT_EQ(0, defaults.HideSplashScreen);
}

TEST_F(HelpersTest, OriginatorsAreElevenCharactersOrTwelveDigits) {
    EXPECT_TRUE(ValidateOriginator("447700900123"));
    EXPECT_TRUE(ValidateOriginator("Tarvock2004"));
    EXPECT_TRUE(ValidateOriginator("x"));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(ValidateOriginator("44770090012a"));
    EXPECT_FALSE(ValidateOriginator("4477009001234"));
    EXPECT_FALSE(ValidateOriginator(""));
    ASSERT_EQ(3u, boxes.boxes.size());
    EXPECT_STREQ(LoadText(IDS_ORIGINATOR_INVALID), boxes.boxes[0].text);
    EXPECT_STREQ(LoadText(IDS_ORIGINATOR_INVALID), boxes.boxes[1].text);
    EXPECT_STREQ(LoadText(IDS_ORIGINATOR_EMPTY), boxes.boxes[2].text);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, boxes.boxes[2].type);
    EXPECT_FALSE(boxes.boxes[2].text.IsEmpty());
}

TEST_F(HelpersTest, AnUnknownCodeIsShownAsItsDecimalNumberOnly) {
    CRootLog log;
    ReportHResult("The caller's text", (HRESULT)0xA0BC1234);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ("HRESULT = -1598287308", boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, boxes.boxes[0].type);
    EXPECT_NE(std::string::npos, log.Text().find("ERROR HRESULT = -1598287308"));
}

TEST_F(HelpersTest, AKnownCodeShowsTheTextAndTheSystemsText) {
    ReportHResult("Could not", E_OUTOFMEMORY);
    ASSERT_EQ(1u, boxes.boxes.size());
    CString text = boxes.boxes[0].text;
    EXPECT_EQ(0, text.Find("Could not\n\n"));
    EXPECT_GT(text.GetLength(), (int)std::strlen("Could not\n\n"));
    EXPECT_EQ(-1, text.Find("\r"));
}

TEST_F(HelpersTest, AConnectionFailureIsDescribedByString155) {
    CRootLog log;
    CComPtr<ICreateErrorInfo> create;
    ASSERT_HRESULT_SUCCEEDED(::CreateErrorInfo(&create));
    create->SetDescription(const_cast<LPOLESTR>(L"The connection to the web service failed in Send: timeout"));
    CComPtr<IErrorInfo> info;
    create->QueryInterface(IID_IErrorInfo, (void**)&info);
    create.Release();
    _com_error connection(MAKE_HRESULT(1, FACILITY_ITF, 1000), info, true);
    ReportComError("Sending failed.", connection, true);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_STREQ(CString("Sending failed.\n\n") + LoadText(IDS_CONNECTION_FAILED), boxes.boxes[0].text);
    EXPECT_EQ((UINT)MB_ICONSTOP, boxes.boxes[0].type);

    _com_error bare(E_FAIL);
    ReportComError("Plain.", bare, true);
    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_STREQ("Plain.", boxes.boxes[1].text);

    ReportComErrorId(IDS_VERSION_CHECK_FAILED, bare, false);  // logged only
    EXPECT_EQ(2u, boxes.boxes.size());
    EXPECT_NE(std::string::npos, log.Text().find(LoadText(IDS_VERSION_CHECK_FAILED).str()));
}

TEST_F(HelpersTest, CreatingAnUnknownClassReportsString5001WithTheClassText) {
    const CLSID unknown = {0x0badc0de, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
    ::CoInitialize(nullptr);
    EXPECT_EQ(nullptr, CreateSdkObject<IDispatch>(unknown, "NoSuchService").p);
    ::CoUninitialize();
    ASSERT_EQ(1u, boxes.boxes.size());
    CString expected;
    expected.Format(LoadText(IDS_OBJECT_NOT_CREATED), "NoSuchService");
    // The class text leads the message when the system knows the code; else only its number shows.
    const CString& shown = boxes.boxes[0].text;
    if (shown.Find("HRESULT = ") == 0) {
        EXPECT_STREQ("HRESULT = -2147221164", shown);  // REGDB_E_CLASSNOTREG
    } else {
        EXPECT_EQ(0, shown.Find(expected + "\n\n")) << (const char*)shown;
    }
    EXPECT_EQ((UINT)MB_ICONSTOP, boxes.boxes[0].type);
}

TEST_F(HelpersTest, DateAndTimeTextCarriesTheDateAndTheTime) {
    SYSTEMTIME st = {2004, 3, 0, 7, 14, 5, 9, 0};
    DATE when = 0;
    ASSERT_TRUE(::SystemTimeToVariantTime(&st, &when));
    CString text = FormatDateTimeText(when);
    EXPECT_NE(-1, text.Find("2004")) << (const char*)text;
    EXPECT_NE(-1, text.Find("14:05:09")) << (const char*)text;
}

TEST(ModuleVersion, ReadsTheFixedInformationOfAModuleWithOne) {
    CModuleVersionInfo info;
    EXPECT_TRUE(info.Create(::GetModuleHandleW(L"kernel32.dll")));
    EXPECT_TRUE(info.IsValid());
    EXPECT_FALSE(info.GetTranslations().empty());
    EXPECT_EQ(4, [&] {
        CString text = info.GetFileVersionString();
        int dots = 0;
        for (int i = 0; i < text.GetLength(); ++i) dots += text[i] == '.';
        return dots + 1;
    }());
    CModuleVersionInfo none;
    EXPECT_FALSE(none.Create(::GetModuleHandleW(nullptr)));  // the test program has no version
    EXPECT_FALSE(none.IsValid());
    EXPECT_STREQ("0.0.0.0", none.GetFileVersionString());
}
