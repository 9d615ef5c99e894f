#pragma once
// Time stamps of the service: milliseconds since 1970-01-01 00:00 UTC.
// Written on the wire as "YYYY-MM-DDTHH:MM:SS.fffffff+00:00"; read back as the clock time written
// (an offset in a received text is ignored, so a day is always a UTC day).

#include <cstdint>
#include <optional>
#include <string>

namespace datetime {

using Millis = std::int64_t;

constexpr Millis kMillisPerDay = 86400000;

bool isValidDate(int year, int month, int day);

// Milliseconds of the given UTC clock time; the fields must form a valid time.
Millis fromFields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millis = 0);

// Midnight (UTC) of the day that holds t.
Millis startOfDay(Millis t);

std::string toWire(Millis t);

// Accepts "YYYY-MM-DD" and "YYYY-MM-DDTHH:MM:SS" with an optional fraction of up to seven digits and an
// optional zone ("Z" or "+hh:mm" / "-hh:mm", ignored). Empty when the text is not such a time.
std::optional<Millis> fromWire(const std::string& text);

Millis now();

} // namespace datetime
