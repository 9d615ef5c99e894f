// Dates in the XML date-time form: written with the local offset from UTC in effect at that
// date, read as the clock time written.
#include "XmlUtils.h"

#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <string>

#include "AnsiText.h"
#include "Errors.h"
#include "resource.h"

namespace {

const long long kTicksPerMinute = 60LL * 10000000LL;

long long Ticks(const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The offset the platform reports for now: the fallback when a time cannot be placed.
long CurrentOffsetMinutes() {
    TIME_ZONE_INFORMATION zone = {};
    const DWORD state = ::GetTimeZoneInformation(&zone);
    long extra = 0;
    if (state == TIME_ZONE_ID_STANDARD) extra = zone.StandardBias;
    if (state == TIME_ZONE_ID_DAYLIGHT) extra = zone.DaylightBias;
    return -(zone.Bias + extra);
}


}  // namespace

long CXmlUtils::LocalOffsetMinutes(const SYSTEMTIME& localTime) {
    SYSTEMTIME universal = {};
    FILETIME local = {}, utc = {};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &universal) ||
        !::SystemTimeToFileTime(&localTime, &local) || !::SystemTimeToFileTime(&universal, &utc))
        return CurrentOffsetMinutes();
    return static_cast<long>((Ticks(local) - Ticks(utc)) / kTicksPerMinute);
}

std::wstring CXmlUtils::SystemTimeToXmlDateTime(const SYSTEMTIME& time) {
    const long offset = LocalOffsetMinutes(time);
    const long magnitude = offset < 0 ? -offset : offset;
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%d-%02d-%02dT%02d:%02d:%02d.%07d%lc%02ld:%02ld", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds * 10000, offset >= 0 ? L'+' : L'-',
                  magnitude / 60, magnitude % 60);
    return text;
}

std::wstring CXmlUtils::DateToXmlDateTime(DATE date) {
    SYSTEMTIME time = {};
    if (!::VariantTimeToSystemTime(date, &time))
        RaiseFormattedError(E_FAIL, IDS_DATE_NOT_CONVERTED, {std::to_string(date)});
    time.wHour = time.wMinute = time.wSecond = time.wMilliseconds = 0;
    return SystemTimeToXmlDateTime(time);
}

DATE CXmlUtils::XmlDateTimeToDate(const wchar_t* text) {
    if (!text) return 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    double zoneHours = 0;
    const int fields = std::swscanf(text, L"%d-%2d-%2dT%2d:%2d:%2d.%7d%lf", &year, &month, &day, &hour, &minute,
                                    &second, &fraction, &zoneHours);
    if (fields < 7) return 0;

    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(fraction / 10000);
    DATE date = 0;
    const bool inRange = year > 0 && month > 0 && day > 0 && hour >= 0 && minute >= 0 && second >= 0 && fraction >= 0;
    if (!inRange || !::SystemTimeToVariantTime(&time, &date))
        RaiseFormattedError(E_FAIL, IDS_DATE_NOT_CONVERTED, {AnsiText(text)});
    return date;
}
