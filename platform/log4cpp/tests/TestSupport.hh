#pragma once

#include <log4cpp/Category.hh>
#include <log4cpp/OstreamAppender.hh>
#include <log4cpp/PatternLayout.hh>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace testsupport {

// A fresh directory under the system temp folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (_path / name).string(); }

private:
    std::filesystem::path _path;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
std::size_t countLines(const std::string& text);

// Keeps the text it receives. Holds its own stream, which outlives the appender part.
struct CaptureStream {
    std::ostringstream stream;
};
class CaptureAppender : private CaptureStream, public log4cpp::OstreamAppender {
public:
    CaptureAppender() : OstreamAppender("capture", &stream) {}
    std::string text() const { return stream.str(); }
};

// An appender attached to a category for the capture's lifetime, keeping the text it
// receives formatted by a pattern. The category shares ownership of the appender (and so
// of its stream): whatever still holds it after the capture is gone, be it the category
// or Category::shutdown(), never reaches freed memory.
struct Capture {
    Capture(log4cpp::Category& target, const std::string& pattern)
        : category(target), owned(std::make_shared<CaptureAppender>()), appender(*owned) {
        auto layout = std::make_unique<log4cpp::PatternLayout>();
        layout->setConversionPattern(pattern);
        appender.setLayout(std::move(layout));
        category.addAppender(std::shared_ptr<log4cpp::Appender>(owned));
    }
    ~Capture() { category.removeAppender(owned.get()); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    std::string text() const { return owned->text(); }

    log4cpp::Category& category;
    std::shared_ptr<CaptureAppender> owned;
    CaptureAppender& appender;
};

// Closes every appender after each test (files must be closed before the temp folder
// goes) and restores the root's priority. Tests use category names of their own.
class LogTest : public ::testing::Test {
protected:
    void TearDown() override;

    TempDir temp;
};

} // namespace testsupport
