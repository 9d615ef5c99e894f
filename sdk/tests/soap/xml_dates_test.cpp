// Dates in the XML date-time form. XmlDates runs in every zone; Est5Dates and BerlinDates run
// only in the test runs whose TZ is that zone (GetTimeZoneInformation under Wine follows TZ).
#include <windows.h>

#include <cmath>

#include "SoapTestSupport.h"
#include "resource.h"

namespace {

using soaptest::Raised;
using testsupport::TakeErrorDescription;

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0,
                WORD milliseconds = 0) {
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = milliseconds;
    return time;
}

DATE Date(const SYSTEMTIME& time) {
    DATE date = 0;
    SYSTEMTIME copy = time;
    copy.wMilliseconds = 0;
    EXPECT_TRUE(::SystemTimeToVariantTime(&copy, &date));
    return date;
}

SYSTEMTIME Fields(DATE date) {
    SYSTEMTIME time = {};
    EXPECT_TRUE(::VariantTimeToSystemTime(date, &time));
    return time;
}

long ZoneBias() {
    TIME_ZONE_INFORMATION zone = {};
    ::GetTimeZoneInformation(&zone);
    return zone.Bias;
}

class XmlDates : public soaptest::LinkedSdkTest {};
class Est5Dates : public XmlDates {};
class BerlinDates : public XmlDates {};

// --- in every zone ---------------------------------------------------------------------------

TEST_F(XmlDates, ReadingKeepsTheClockTimeWhateverTheZone) {
    const DATE date = CXmlUtils::XmlDateTimeToDate(L"2005-11-14T09:30:00.2500000+01:00");
    const SYSTEMTIME time = Fields(date);
    EXPECT_EQ(2005, time.wYear);
    EXPECT_EQ(11, time.wMonth);
    EXPECT_EQ(14, time.wDay);
    EXPECT_EQ(9, time.wHour);
    EXPECT_EQ(30, time.wMinute);
    EXPECT_EQ(0, time.wSecond);
    EXPECT_NEAR(Date(Time(2005, 11, 14, 9, 30)), date, 1.0 / 86400);

    EXPECT_EQ(Fields(date).wHour, Fields(CXmlUtils::XmlDateTimeToDate(L"2005-11-14T09:30:00.2500000-08:00")).wHour);
    EXPECT_NEAR(date, CXmlUtils::XmlDateTimeToDate(L"2005-11-14T09:30:00.2500000Z"), 1.0 / 86400);
    EXPECT_NEAR(Date(Time(2024, 3, 14, 23, 58, 30)),
                CXmlUtils::XmlDateTimeToDate(L"2024-03-14T23:58:30.2500000+00:00"), 1.0 / 86400);
}

TEST_F(XmlDates, TextThatDoesNotMatchGivesZero) {
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(nullptr));
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(L""));
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(L"yesterday"));
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(L"2005-11-14"));
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(L"2005-11-14T09:30"));
    EXPECT_EQ(0.0, CXmlUtils::XmlDateTimeToDate(L"2005-11-14 09:30:00.0000000+00:00"));
}

TEST_F(XmlDates, FieldsThatFormNoDateRaise5009WithTheText) {
    EXPECT_EQ(E_FAIL, Raised([] { CXmlUtils::XmlDateTimeToDate(L"2005-13-14T09:30:00.0000000+00:00"); }));
    EXPECT_EQ(L"The date and time '2005-13-14T09:30:00.0000000+00:00' could not be converted.",
              TakeErrorDescription());
    EXPECT_EQ(E_FAIL, Raised([] { CXmlUtils::XmlDateTimeToDate(L"2005-00-14T09:30:00.0000000+00:00"); }));
    EXPECT_EQ(E_FAIL, Raised([] { CXmlUtils::XmlDateTimeToDate(L"2005-11-14T-1:30:00.0000000+00:00"); }));
}

TEST_F(XmlDates, WrittenTextHasTheFixedShape) {
    const std::wstring text = CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 11, 14, 9, 30, 0, 250));
    EXPECT_EQ(33u, text.size());
    EXPECT_EQ(L"2005-11-14T09:30:00.2500000", text.substr(0, 27));
    EXPECT_TRUE(text[27] == L'+' || text[27] == L'-');
    EXPECT_EQ(L':', text[30]);
    EXPECT_EQ(L".0010000", CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 1, 2, 3, 4, 5, 1)).substr(19, 8));
    EXPECT_EQ(L"2005-01-02T03:04:05", CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 1, 2, 3, 4, 5, 1)).substr(0, 19));
}

TEST_F(XmlDates, WrittenTextReadsBackToTheSameClockTime) {
    const SYSTEMTIME written = Time(2024, 7, 1, 18, 45, 12, 500);
    const SYSTEMTIME read = Fields(CXmlUtils::XmlDateTimeToDate(CXmlUtils::SystemTimeToXmlDateTime(written).c_str()));
    EXPECT_EQ(written.wYear, read.wYear);
    EXPECT_EQ(written.wMonth, read.wMonth);
    EXPECT_EQ(written.wDay, read.wDay);
    EXPECT_EQ(written.wHour, read.wHour);
    EXPECT_EQ(written.wMinute, read.wMinute);
    EXPECT_NEAR(written.wSecond, read.wSecond, 1);
}

TEST_F(XmlDates, ADayIsWrittenAsItsMidnight) {
    const std::wstring text = CXmlUtils::DateToXmlDateTime(Date(Time(2005, 11, 14, 17, 45, 59)));
    EXPECT_EQ(L"2005-11-14T00:00:00.0000000", text.substr(0, 27));
    EXPECT_EQ(E_FAIL, Raised([] { CXmlUtils::DateToXmlDateTime(-1e10); }));
}

// --- five hours west of UTC, no daylight time (TZ=EST5) -----------------------------------------

TEST_F(Est5Dates, TheZoneIsInEffect) {
    ASSERT_EQ(300, ZoneBias()) << "run with TZ=EST5";
}

TEST_F(Est5Dates, AnyTimeOfADayGivesLocalMidnightWithTheOffset) {
    for (WORD hour : {0, 9, 23}) {
        EXPECT_EQ(L"2005-11-14T00:00:00.0000000-05:00",
                  CXmlUtils::DateToXmlDateTime(Date(Time(2005, 11, 14, hour, 59, 59))));
    }
    EXPECT_EQ(L"2005-07-14T00:00:00.0000000-05:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 7, 14, 12))));
}

TEST_F(Est5Dates, TimesCarryTheOffset) {
    EXPECT_EQ(L"2005-11-14T09:30:00.2500000-05:00",
              CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 11, 14, 9, 30, 0, 250)));
    EXPECT_EQ(-300, CXmlUtils::LocalOffsetMinutes(Time(2024, 6, 1, 12)));
}

// --- Central Europe, with daylight time (TZ=Europe/Berlin) ------------------------------------

TEST_F(BerlinDates, TheZoneIsInEffect) {
    ASSERT_EQ(-60, ZoneBias()) << "run with TZ=Europe/Berlin";
}

TEST_F(BerlinDates, WinterDatesAreOneHourEast) {
    EXPECT_EQ(L"2005-11-14T09:30:00.2500000+01:00",
              CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 11, 14, 9, 30, 0, 250)));
    EXPECT_EQ(L"2005-11-14T00:00:00.0000000+01:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 11, 14, 15))));
}

TEST_F(BerlinDates, SummerDatesAreTwoHoursEastWhateverTheDayToday) {
    EXPECT_EQ(L"2005-07-14T09:30:00.0000000+02:00", CXmlUtils::SystemTimeToXmlDateTime(Time(2005, 7, 14, 9, 30)));
    EXPECT_EQ(L"2005-07-14T00:00:00.0000000+02:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 7, 14, 15))));
    EXPECT_EQ(120, CXmlUtils::LocalOffsetMinutes(Time(2024, 8, 1, 12)));
    EXPECT_EQ(60, CXmlUtils::LocalOffsetMinutes(Time(2024, 1, 15, 12)));
}

TEST_F(BerlinDates, MidnightOnTheChangeoverDaysTakesThatNightsOffset) {
    // Summer time starts at 02:00 on 27 March 2005 and ends at 03:00 on 30 October 2005.
    EXPECT_EQ(L"2005-03-27T00:00:00.0000000+01:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 3, 27, 12))));
    EXPECT_EQ(L"2005-03-28T00:00:00.0000000+02:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 3, 28, 12))));
    EXPECT_EQ(L"2005-10-30T00:00:00.0000000+02:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 10, 30, 12))));
    EXPECT_EQ(L"2005-10-31T00:00:00.0000000+01:00", CXmlUtils::DateToXmlDateTime(Date(Time(2005, 10, 31, 12))));
}

}  // namespace
