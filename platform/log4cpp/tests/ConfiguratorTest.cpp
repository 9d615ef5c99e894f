#include "TestSupport.hh"

#include <log4cpp/Category.hh>
#include <log4cpp/FileAppender.hh>
#include <log4cpp/PropertyConfigurator.hh>
#include <log4cpp/RollingFileAppender.hh>

#include <filesystem>

using namespace log4cpp;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

class ConfiguratorTest : public testsupport::LogTest {
protected:
    // Writes the properties to a file and configures from it.
    void configure(const std::string& properties) {
        std::string path = temp.file("log.properties");
        writeFile(path, properties);
        PropertyConfigurator::configure(path);
    }

    // The ConfigureFailure message, or "" when configure() succeeds.
    std::string failure(const std::string& properties) {
        try {
            configure(properties);
        } catch (const ConfigureFailure& e) {
            return e.what();
        }
        return "";
    }
};

} // namespace

TEST_F(ConfiguratorTest, UnreadableFileThrows) {
    EXPECT_THROW(PropertyConfigurator::configure(temp.file("absent.properties")), ConfigureFailure);
    EXPECT_THROW(PropertyConfigurator::configure(temp.file("")), ConfigureFailure);  // a directory
}

TEST_F(ConfiguratorTest, FileAppenderWithEveryOption) {
    std::string log = temp.file("cfg-file.log");
    writeFile(log, "stale\n");
    configure("# comment line\n"
              "\n"
              "   log4cpp.category.cfgfile =  DEBUG , F   \r\n"
              "log4cpp.appender.F=org.apache.log4cpp.FileAppender\n"
              "log4cpp.appender.F.fileName=" + log + "\n"
              "log4cpp.appender.F.append=false\n"
              "log4cpp.appender.F.threshold=INFO\n"
              "log4cpp.appender.F.layout=org.apache.log4cpp.PatternLayout\n"
              "log4cpp.appender.F.layout.ConversionPattern=%-5p %c = %m%n\n"
              "other.tool.key=ignored\n");
    Category& category = Category::getInstance("cfgfile");
    EXPECT_EQ(Priority::DEBUG, category.getPriority());
    category.debug("below threshold");
    category.info("kept");
    EXPECT_EQ("INFO  cfgfile = kept\n", readFile(log));
}

TEST_F(ConfiguratorTest, FileAppendsByDefaultWithBasicLayout) {
    std::string log = temp.file("cfg-basic.log");
    writeFile(log, "old\n");
    configure("log4cpp.category.cfgbasic=INFO, B\n"
              "log4cpp.appender.B=FileAppender\n"
              "log4cpp.appender.B.fileName=" + log + "\n");
    Category::getInstance("cfgbasic").warn("x=%d", 5);
    std::string text = readFile(log);
    EXPECT_EQ(0u, text.find("old\n"));
    EXPECT_NE(std::string::npos, text.find(" WARN cfgbasic : x=5\n")) << text;
}

TEST_F(ConfiguratorTest, RollingFileAppenderOptions) {
    std::string log = temp.file("cfg-roll.log");
    configure("log4cpp.category.cfgroll=INFO, R\n"
              "log4cpp.appender.R=RollingFileAppender\n"
              "log4cpp.appender.R.fileName=" + log + "\n"
              "log4cpp.appender.R.maxFileSize=40\n"
              "log4cpp.appender.R.maxBackupIndex=3\n"
              "log4cpp.appender.R.layout=PatternLayout\n"
              "log4cpp.appender.R.layout.ConversionPattern=%m%n\n");
    Category& category = Category::getInstance("cfgroll");
    auto* appender = dynamic_cast<RollingFileAppender*>(category.getAppender("R"));
    ASSERT_NE(nullptr, appender);
    EXPECT_EQ(40u, appender->getMaximumFileSize());
    EXPECT_EQ(3u, appender->getMaxBackupIndex());
    for (int i = 0; i < 10; ++i)
        category.info("line %d of nineteen", i);  // 19 bytes: two lines a file
    EXPECT_EQ("line 8 of nineteen\nline 9 of nineteen\n", readFile(log));
    EXPECT_EQ("line 2 of nineteen\nline 3 of nineteen\n", readFile(log + ".3"));
    EXPECT_FALSE(std::filesystem::exists(log + ".4"));
}

TEST_F(ConfiguratorTest, RootConsoleAdditivityAndEmptyPriority) {
    std::string log = temp.file("cfg-own.log");
    configure("log4cpp.rootCategory=NOTICE, C\n"
              "log4cpp.appender.C=ConsoleAppender\n"
              "log4cpp.appender.C.layout=PatternLayout\n"
              "log4cpp.appender.C.layout.ConversionPattern=console %c %m%n\n"
              "log4cpp.category.cfgquiet=, F\n"
              "log4cpp.category.cfgloud=DEBUG\n"
              "log4cpp.additivity.cfgquiet=false\n"
              "log4cpp.appender.F=FileAppender\n"
              "log4cpp.appender.F.fileName=" + log + "\n"
              "log4cpp.appender.F.layout=PatternLayout\n");
    EXPECT_EQ(Priority::NOTICE, Category::getRoot().getPriority());
    EXPECT_EQ(Priority::NOTSET, Category::getInstance("cfgquiet").getPriority());
    EXPECT_FALSE(Category::getInstance("cfgquiet").getAdditivity());

    testing::internal::CaptureStdout();
    Category::getInstance("cfgloud").debug("shown");
    Category::getInstance("cfgquiet").notice("own file only");
    Category::getInstance("cfgquiet").info("below notice");
    Category::getRoot().notice("root");
    EXPECT_EQ("console cfgloud shown\nconsole  root\n", testing::internal::GetCapturedStdout());
    EXPECT_EQ("own file only\n", readFile(log));

    // An empty root priority keeps the current one.
    configure("log4cpp.rootCategory=\n");
    EXPECT_EQ(Priority::NOTICE, Category::getRoot().getPriority());
    EXPECT_EQ(nullptr, Category::getRoot().getAppender("C"));
}

TEST_F(ConfiguratorTest, MalformedFilesThrowWithTheLine) {
    EXPECT_NE(std::string::npos, failure("# ok\nlog4cpp.rootCategory INFO\n").find(":2:"));
    EXPECT_NE("", failure("=value\n"));
    EXPECT_NE("", failure("log4cpp.unknown=1\n"));
    EXPECT_NE("", failure("log4cpp.category.=INFO\n"));
    EXPECT_NE("", failure("log4cpp.rootCategory=LOUD\n"));
    EXPECT_NE("", failure("log4cpp.rootCategory=NOTSET\n"));
    EXPECT_NE("", failure("log4cpp.additivity.x=maybe\n"));
    EXPECT_NE("", failure("log4cpp.rootCategory=INFO, missing\n"));
}

TEST_F(ConfiguratorTest, BadAppenderDefinitionsThrow) {
    std::string file = "log4cpp.appender.A.fileName=" + temp.file("a.log") + "\n";
    EXPECT_NE(std::string::npos, failure("log4cpp.appender.A=SyslogAppender\n").find("SyslogAppender"));
    EXPECT_NE("", failure("log4cpp.appender.A.fileName=x\n"));  // no class
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n"));  // no fileName
    EXPECT_NE("", failure("log4cpp.appender.A=ConsoleAppender\nlog4cpp.appender.A.fileName=x\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file + "log4cpp.appender.A.filename=y\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file + "log4cpp.appender.A.maxFileSize=1\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=RollingFileAppender\n" + file + "log4cpp.appender.A.maxFileSize=big\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=RollingFileAppender\n" + file + "log4cpp.appender.A.maxFileSize=0\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=RollingFileAppender\n" + file + "log4cpp.appender.A.maxBackupIndex=-1\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file + "log4cpp.appender.A.append=yes\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file + "log4cpp.appender.A.threshold=LOUD\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file + "log4cpp.appender.A.layout=XmlLayout\n"));
    EXPECT_NE("", failure("log4cpp.appender.A=FileAppender\n" + file +
                          "log4cpp.appender.A.layout=PatternLayout\n"
                          "log4cpp.appender.A.layout.ConversionPattern=%q\n"));
    EXPECT_NE("", failure("log4cpp.rootCategory=INFO, A\nlog4cpp.appender.A=FileAppender\n"
                          "log4cpp.appender.A.fileName=" + temp.file("no-dir/a.log") + "\n"));
}

TEST_F(ConfiguratorTest, SizeSuffixesAreAccepted) {
    configure("log4cpp.category.cfgsize=INFO, R\n"
              "log4cpp.appender.R=RollingFileAppender\n"
              "log4cpp.appender.R.fileName=" + temp.file("size.log") + "\n"
              "log4cpp.appender.R.maxFileSize=2MB\n");
    auto* appender = dynamic_cast<RollingFileAppender*>(Category::getInstance("cfgsize").getAppender("R"));
    ASSERT_NE(nullptr, appender);
    EXPECT_EQ(2u * 1024 * 1024, appender->getMaximumFileSize());
    EXPECT_EQ(1u, appender->getMaxBackupIndex());
}

TEST_F(ConfiguratorTest, FailureLeavesThePreviousConfiguration) {
    std::string log = temp.file("keep.log");
    configure("log4cpp.category.cfgkeep=WARN, F\n"
              "log4cpp.appender.F=FileAppender\n"
              "log4cpp.appender.F.fileName=" + log + "\n");
    EXPECT_NE("", failure("log4cpp.category.cfgkeep=DEBUG, G\n"
                          "log4cpp.appender.G=FileAppender\n"
                          "log4cpp.appender.G.fileName=" + temp.file("no-dir/g.log") + "\n"));
    Category& category = Category::getInstance("cfgkeep");
    EXPECT_EQ(Priority::WARN, category.getPriority());
    EXPECT_NE(nullptr, category.getAppender("F"));
}
