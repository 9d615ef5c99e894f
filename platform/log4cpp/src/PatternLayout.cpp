#include <log4cpp/PatternLayout.hh>

#include <log4cpp/Configurator.hh>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace log4cpp {

namespace {

const char* const DEFAULT_DATE_FORMAT = "%Y-%m-%d %H:%M:%S,%l";

std::tm localTime(std::time_t time) {
    std::tm result{};
#ifdef _WIN32
    localtime_s(&result, &time);
#else
    localtime_r(&time, &result);
#endif
    return result;
}

// strftime, with "%l" standing for the milliseconds.
std::string formatDate(const std::string& format, LoggingEvent::Clock::time_point when) {
    auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch());
    char millis[12];
    std::snprintf(millis, sizeof millis, "%03d", static_cast<int>(sinceEpoch.count() % 1000));

    std::string expanded;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 'l') {
                expanded += millis;
            } else {
                expanded += format.substr(i, 2);
            }
            ++i;
        } else {
            expanded += format[i];
        }
    }
    if (expanded.empty())
        return expanded;

    std::tm parts = localTime(static_cast<std::time_t>(sinceEpoch.count() / 1000));
    char buffer[256];
    std::size_t length = std::strftime(buffer, sizeof buffer, expanded.c_str(), &parts);
    return std::string(buffer, length);
}

// The last `parts` dot-separated components of a category name.
std::string lastComponents(const std::string& name, const std::string& argument) {
    if (argument.empty())
        return name;
    int parts = std::atoi(argument.c_str());
    std::size_t start = name.size();
    while (parts-- > 0 && start != std::string::npos && start > 0)
        start = name.rfind('.', start - 1);
    return start == std::string::npos ? name : name.substr(start + 1);
}

std::size_t readNumber(const std::string& pattern, std::size_t& i) {
    std::size_t value = 0;
    while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i])))
        value = value * 10 + static_cast<std::size_t>(pattern[i++] - '0');
    return value;
}

} // namespace

const char* const PatternLayout::DEFAULT_CONVERSION_PATTERN = "%m%n";

PatternLayout::PatternLayout() {
    setConversionPattern(DEFAULT_CONVERSION_PATTERN);
}

void PatternLayout::setConversionPattern(const std::string& pattern) {
    _pieces = parse(pattern);
    _pattern = pattern;
}

std::vector<PatternLayout::Piece> PatternLayout::parse(const std::string& pattern) {
    std::vector<Piece> pieces;
    Piece literal;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            literal.text += pattern[i];
            continue;
        }
        if (++i < pattern.size() && pattern[i] == '%') {
            literal.text += '%';
            continue;
        }
        if (!literal.text.empty()) {
            pieces.push_back(literal);
            literal.text.clear();
        }

        Piece piece;
        if (i < pattern.size() && pattern[i] == '-') {
            piece.leftAlign = true;
            ++i;
        }
        piece.minWidth = readNumber(pattern, i);
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            piece.maxWidth = readNumber(pattern, i);
        }
        if (i >= pattern.size())
            throw ConfigureFailure("conversion pattern '" + pattern + "' ends inside a conversion");
        piece.conversion = pattern[i];
        if (std::string("cdmnprRtx").find(piece.conversion) == std::string::npos)
            throw ConfigureFailure(std::string("unknown conversion '%") + piece.conversion +
                                   "' in pattern '" + pattern + "'");
        if ((piece.conversion == 'c' || piece.conversion == 'd') && i + 1 < pattern.size() &&
            pattern[i + 1] == '{') {
            std::size_t close = pattern.find('}', i + 2);
            if (close == std::string::npos)
                throw ConfigureFailure("unclosed '{' in pattern '" + pattern + "'");
            piece.text = pattern.substr(i + 2, close - i - 2);
            i = close;
        }
        pieces.push_back(piece);
    }
    if (!literal.text.empty())
        pieces.push_back(literal);
    return pieces;
}

std::string PatternLayout::convert(const Piece& piece, const LoggingEvent& event) {
    using namespace std::chrono;
    switch (piece.conversion) {
    case 'c': return lastComponents(event.categoryName, piece.text);
    case 'd': return formatDate(piece.text.empty() ? DEFAULT_DATE_FORMAT : piece.text, event.timeStamp);
    case 'm': return event.message;
    case 'n': return "\n";
    case 'p': return Priority::getPriorityName(event.priority);
    case 'r':
        return std::to_string(
            duration_cast<milliseconds>(event.timeStamp - LoggingEvent::startTime()).count());
    case 'R':
        return std::to_string(duration_cast<seconds>(event.timeStamp.time_since_epoch()).count());
    case 't': return event.threadName;
    case 'x': return event.ndc;
    default: return piece.text;
    }
}

std::string PatternLayout::format(const LoggingEvent& event) {
    std::string out;
    for (const Piece& piece : _pieces) {
        std::string text = convert(piece, event);
        if (piece.maxWidth > 0 && text.size() > piece.maxWidth)
            text.erase(0, text.size() - piece.maxWidth);
        if (text.size() < piece.minWidth) {
            std::string padding(piece.minWidth - text.size(), ' ');
            text = piece.leftAlign ? text + padding : padding + text;
        }
        out += text;
    }
    return out;
}

} // namespace log4cpp
