#include "DateTime.h"

#include <chrono>
#include <cstdio>

namespace datetime {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

Millis floorDiv(Millis a, Millis b)
{
    Millis q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads exactly n digits at pos.
bool readDigits(const std::string& s, size_t& pos, size_t n, int& value)
{
    if (pos + n > s.size())
        return false;
    value = 0;
    for (size_t i = 0; i < n; ++i) {
        char c = s[pos + i];
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    pos += n;
    return true;
}

bool expect(const std::string& s, size_t& pos, char c)
{
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

bool isValidDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int length = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= length;
}

Millis fromFields(int year, int month, int day, int hour, int minute, int second, int millis)
{
    std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return days * kMillisPerDay + ((hour * 60LL + minute) * 60LL + second) * 1000LL + millis;
}

Millis startOfDay(Millis t)
{
    return floorDiv(t, kMillisPerDay) * kMillisPerDay;
}

std::string toWire(Millis t)
{
    std::int64_t days = floorDiv(t, kMillisPerDay);
    Millis rest = t - days * kMillisPerDay;
    int year = 0, month = 0, day = 0;
    civilFromDays(days, year, month, day);
    int millis = static_cast<int>(rest % 1000);
    std::int64_t secs = rest / 1000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%07d+00:00", year, month, day,
                  static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60),
                  millis * 10000);
    return buffer;
}

std::optional<Millis> fromWire(const std::string& text)
{
    size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
    if (!readDigits(text, pos, 4, year) || !expect(text, pos, '-') || !readDigits(text, pos, 2, month) ||
        !expect(text, pos, '-') || !readDigits(text, pos, 2, day))
        return std::nullopt;
    if (!isValidDate(year, month, day))
        return std::nullopt;
    if (pos == text.size())
        return fromFields(year, month, day);

    if (!expect(text, pos, 'T') || !readDigits(text, pos, 2, hour) || !expect(text, pos, ':') ||
        !readDigits(text, pos, 2, minute) || !expect(text, pos, ':') || !readDigits(text, pos, 2, second))
        return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    if (expect(text, pos, '.')) {
        size_t digits = 0;
        int scale = 100;
        while (pos < text.size() && isDigit(text[pos])) {
            if (digits < 3) {
                millis += (text[pos] - '0') * scale;
                scale /= 10;
            }
            ++digits;
            ++pos;
        }
        if (digits == 0 || digits > 7)
            return std::nullopt;
    }
    if (pos < text.size()) {
        if (text[pos] == 'Z') {
            ++pos;
        } else if (text[pos] == '+' || text[pos] == '-') {
            ++pos;
            int zoneHours = 0, zoneMinutes = 0;
            if (!readDigits(text, pos, 2, zoneHours) || !expect(text, pos, ':') ||
                !readDigits(text, pos, 2, zoneMinutes) || zoneHours > 14 || zoneMinutes > 59)
                return std::nullopt;
        }
    }
    if (pos != text.size())
        return std::nullopt;
    return fromFields(year, month, day, hour, minute, second, millis);
}

Millis now()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace datetime
