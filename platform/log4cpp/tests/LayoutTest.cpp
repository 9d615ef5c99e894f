#include <log4cpp/BasicLayout.hh>
#include <log4cpp/Configurator.hh>
#include <log4cpp/PatternLayout.hh>

#include <gtest/gtest.h>

#include <regex>

using namespace log4cpp;

namespace {

LoggingEvent event(const std::string& message = "hello", const std::string& category = "app.net.http",
                   Priority::Value priority = Priority::INFO) {
    return LoggingEvent(category, message, "", priority);
}

std::string formatWith(const std::string& pattern, const LoggingEvent& e = event()) {
    PatternLayout layout;
    layout.setConversionPattern(pattern);
    return layout.format(e);
}

} // namespace

TEST(BasicLayoutTest, SecondsPriorityCategoryNdcMessage) {
    BasicLayout layout;
    std::string text = layout.format(event("hello", "app.net", Priority::WARN));
    EXPECT_TRUE(std::regex_match(text, std::regex("[0-9]{9,} WARN app\\.net : hello\n"))) << text;
}

TEST(PatternLayoutTest, DefaultIsMessageAndNewline) {
    PatternLayout layout;
    EXPECT_EQ("%m%n", layout.getConversionPattern());
    EXPECT_EQ("hello\n", layout.format(event()));
}

TEST(PatternLayoutTest, BasicConversions) {
    EXPECT_EQ("[INFO] app.net.http: hello 100%\n", formatWith("[%p] %c: %m 100%%%n"));
    EXPECT_EQ("http|net.http|app.net.http", formatWith("%c{1}|%c{2}|%c{5}"));
    EXPECT_EQ("plain text", formatWith("plain text"));
    EXPECT_EQ("", formatWith("%x"));
}

TEST(PatternLayoutTest, WidthAndAlignment) {
    EXPECT_EQ("INFO |", formatWith("%-5p|"));
    EXPECT_EQ(" INFO|", formatWith("%5p|"));
    EXPECT_EQ("ERROR|", formatWith("%-5p|", event("m", "c", Priority::ERROR)));
    EXPECT_EQ("llo|", formatWith("%.3m|"));
    EXPECT_EQ("llo   |", formatWith("%-6.3m|"));
}

TEST(PatternLayoutTest, DatesTimesAndThread) {
    std::string text = formatWith("%d");
    EXPECT_TRUE(std::regex_match(text, std::regex("\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2},\\d{3}")))
        << text;
    text = formatWith("%d{%H:%M:%S.%l}");
    EXPECT_TRUE(std::regex_match(text, std::regex("\\d{2}:\\d{2}:\\d{2}\\.\\d{3}"))) << text;
    EXPECT_TRUE(std::regex_match(formatWith("%r"), std::regex("\\d+")));
    EXPECT_TRUE(std::regex_match(formatWith("%R"), std::regex("\\d{9,}")));
    EXPECT_FALSE(formatWith("%t").empty());
}

TEST(PatternLayoutTest, BadPatternsThrowAndKeepThePrevious) {
    PatternLayout layout;
    layout.setConversionPattern("%p %m");
    EXPECT_THROW(layout.setConversionPattern("%q"), ConfigureFailure);
    EXPECT_THROW(layout.setConversionPattern("text %"), ConfigureFailure);
    EXPECT_THROW(layout.setConversionPattern("%-5"), ConfigureFailure);
    EXPECT_THROW(layout.setConversionPattern("%d{%H"), ConfigureFailure);
    EXPECT_EQ("%p %m", layout.getConversionPattern());
    EXPECT_EQ("INFO hello", layout.format(event()));
}
