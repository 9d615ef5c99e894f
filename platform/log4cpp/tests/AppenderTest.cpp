#include "TestSupport.hh"

#include <log4cpp/Category.hh>
#include <log4cpp/FileAppender.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/RollingFileAppender.hh>

#include <filesystem>
#include <stdexcept>

using namespace log4cpp;
using testsupport::LogTest;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

template <class A>
A* withMessageLayout(A* appender) {
    auto* layout = new PatternLayout;
    layout->setConversionPattern("%m%n");
    appender->setLayout(layout);
    return appender;
}

void logTo(Appender& appender, const std::string& message) {
    appender.doAppend(LoggingEvent("cat", message, "", Priority::INFO));
}

} // namespace

TEST_F(LogTest, FileAppenderAppendsOrTruncates) {
    std::string path = temp.file("app.log");
    writeFile(path, "old\n");
    {
        auto appender = std::unique_ptr<FileAppender>(withMessageLayout(new FileAppender("a", path)));
        EXPECT_EQ(path, appender->getFileName());
        logTo(*appender, "new");
    }
    EXPECT_EQ("old\nnew\n", readFile(path));
    {
        auto appender = std::unique_ptr<FileAppender>(withMessageLayout(new FileAppender("a", path, false)));
        logTo(*appender, "only");
    }
    EXPECT_EQ("only\n", readFile(path));
}

TEST_F(LogTest, FileAppenderCloseAndReopen) {
    std::string path = temp.file("reopen.log");
    auto appender = std::unique_ptr<FileAppender>(withMessageLayout(new FileAppender("a", path)));
    logTo(*appender, "one");
    appender->close();
    logTo(*appender, "dropped");
    EXPECT_TRUE(appender->reopen());
    logTo(*appender, "two");
    EXPECT_EQ("one\ntwo\n", readFile(path));
}

TEST_F(LogTest, FileAppenderThrowsWhenTheFileCannotBeOpened) {
    EXPECT_THROW(FileAppender("a", temp.file("missing-dir/x.log")), std::runtime_error);
}

TEST_F(LogTest, RollingKeepsFilesUnderTheLimitAndNumbersBackups) {
    std::string path = temp.file("roll.log");
    auto appender = std::unique_ptr<RollingFileAppender>(
        withMessageLayout(new RollingFileAppender("r", path, 50, 2)));
    EXPECT_EQ(50u, appender->getMaximumFileSize());
    EXPECT_EQ(2u, appender->getMaxBackupIndex());
    for (int i = 0; i < 10; ++i)
        logTo(*appender, "message " + std::to_string(i) + " ......");  // 17 bytes a line
    appender->close();

    // Two lines (34 bytes) fit in 50; a third would not.
    EXPECT_EQ("message 8 ......\nmessage 9 ......\n", readFile(path));
    EXPECT_EQ("message 6 ......\nmessage 7 ......\n", readFile(path + ".1"));
    EXPECT_EQ("message 4 ......\nmessage 5 ......\n", readFile(path + ".2"));
    EXPECT_FALSE(std::filesystem::exists(path + ".3"));
}

TEST_F(LogTest, RollingCountsWhatTheFileAlreadyHolds) {
    std::string path = temp.file("existing.log");
    writeFile(path, std::string(45, 'x') + "\n");
    auto appender = std::unique_ptr<RollingFileAppender>(
        withMessageLayout(new RollingFileAppender("r", path, 50, 1)));
    logTo(*appender, "fresh");
    appender->close();
    EXPECT_EQ("fresh\n", readFile(path));
    EXPECT_EQ(std::string(45, 'x') + "\n", readFile(path + ".1"));
}

TEST_F(LogTest, RollingWithoutBackupsStartsOver) {
    std::string path = temp.file("nobackup.log");
    auto appender = std::unique_ptr<RollingFileAppender>(
        withMessageLayout(new RollingFileAppender("r", path, 10, 0)));
    logTo(*appender, "aaaaaaa");
    logTo(*appender, "bbbbbbb");
    appender->close();
    EXPECT_EQ("bbbbbbb\n", readFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".1"));
}
