#pragma once

#include <log4cpp/Layout.hh>

#include <string>
#include <vector>

namespace log4cpp {

// Formats events after a conversion pattern:
//   %m message        %p priority name     %c category (%c{N}: its last N parts)
//   %d local date "%Y-%m-%d %H:%M:%S,mmm" (%d{fmt}: strftime format, %l there = milliseconds)
//   %r ms since start %R seconds since the epoch   %t thread id   %x ndc   %n newline   %% percent
// Each conversion takes an optional "-" (left align), minimum width and ".max" width,
// e.g. %-5p or %.20c (keeps the last 20 characters).
class PatternLayout : public Layout {
public:
    static const char* const DEFAULT_CONVERSION_PATTERN;  // "%m%n"

    PatternLayout();

    // Throws ConfigureFailure for an unknown conversion or a malformed pattern;
    // the previous pattern stays in effect then.
    void setConversionPattern(const std::string& pattern);
    const std::string& getConversionPattern() const { return _pattern; }

    std::string format(const LoggingEvent& event) override;

private:
    struct Piece {
        char conversion = 0;  // 0 for literal text
        std::string text;     // literal text or the {argument}
        bool leftAlign = false;
        std::size_t minWidth = 0;
        std::size_t maxWidth = 0;  // 0: unlimited
    };

    static std::vector<Piece> parse(const std::string& pattern);
    static std::string convert(const Piece& piece, const LoggingEvent& event);

    std::string _pattern;
    std::vector<Piece> _pieces;
};

} // namespace log4cpp
