#ifdef _WIN32
#include <windows.h>  // defines ERROR: the headers must cope
#endif

#include "TestSupport.hh"

#include <log4cpp/Category.hh>
#include <log4cpp/FileAppender.hh>

#include <cwchar>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace log4cpp;
using testsupport::Capture;
using testsupport::LogTest;

TEST(PriorityTest, ValuesAndNames) {
    EXPECT_EQ(0, Priority::EMERG);
    EXPECT_EQ(0, Priority::FATAL);
    EXPECT_EQ(100, Priority::ALERT);
    EXPECT_EQ(200, Priority::CRIT);
    EXPECT_EQ(400, Priority::WARN);
    EXPECT_EQ(500, Priority::NOTICE);
    EXPECT_EQ(600, Priority::INFO);
    EXPECT_EQ(700, Priority::DEBUG);
    EXPECT_EQ(800, Priority::NOTSET);
    const char* names[] = {"FATAL", "ALERT", "CRIT", "ERROR", "WARN", "NOTICE", "INFO", "DEBUG"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(names[i], Priority::getPriorityName(i * 100));
        EXPECT_EQ(i * 100, Priority::getPriorityValue(names[i]));
    }
    EXPECT_EQ("WARN", Priority::getPriorityName(450));
    EXPECT_EQ(0, Priority::getPriorityValue("EMERG"));
    EXPECT_EQ(700, Priority::getPriorityValue("debug"));
    EXPECT_EQ(350, Priority::getPriorityValue("350"));
    EXPECT_THROW(Priority::getPriorityValue("LOUD"), std::invalid_argument);
    EXPECT_THROW(Priority::getPriorityValue(""), std::invalid_argument);
}

TEST_F(LogTest, GetInstanceBuildsTheHierarchy) {
    Category& leaf = Category::getInstance("hier.a.b");
    EXPECT_EQ(&leaf, &Category::getInstance("hier.a.b"));
    EXPECT_EQ("hier.a.b", leaf.getName());
    ASSERT_NE(nullptr, leaf.getParent());
    EXPECT_EQ("hier.a", leaf.getParent()->getName());
    EXPECT_EQ(&Category::getInstance("hier"), leaf.getParent()->getParent());
    EXPECT_EQ(&Category::getRoot(), Category::getInstance("hier").getParent());
    EXPECT_EQ(nullptr, Category::getRoot().getParent());
    EXPECT_EQ(&leaf, Category::exists("hier.a.b"));
    EXPECT_EQ(nullptr, Category::exists("hier.never"));
}

TEST_F(LogTest, ChainedPriorityComesFromNearestAncestor) {
    Category& top = Category::getInstance("chain");
    Category& middle = Category::getInstance("chain.mid");
    Category& leaf = Category::getInstance("chain.mid.leaf");
    EXPECT_EQ(Priority::NOTSET, leaf.getPriority());
    EXPECT_EQ(Priority::INFO, leaf.getChainedPriority());

    top.setPriority(Priority::WARN);
    EXPECT_EQ(Priority::WARN, leaf.getChainedPriority());
    EXPECT_TRUE(leaf.isWarnEnabled());
    EXPECT_TRUE(leaf.isErrorEnabled());
    EXPECT_FALSE(leaf.isNoticeEnabled());
    EXPECT_FALSE(leaf.isDebugEnabled());

    middle.setPriority(Priority::DEBUG);
    EXPECT_TRUE(leaf.isDebugEnabled());
    EXPECT_TRUE(leaf.isPriorityEnabled(Priority::DEBUG));
    EXPECT_FALSE(top.isDebugEnabled());

    middle.setPriority(Priority::NOTSET);
    EXPECT_EQ(Priority::WARN, leaf.getChainedPriority());
    EXPECT_THROW(Category::getRoot().setPriority(Priority::NOTSET), std::invalid_argument);
}

TEST_F(LogTest, EachLevelMethodLogsWithItsPriority) {
    Category& category = Category::getInstance("levels");
    Capture capture(category, "%p %m%n");
    category.setPriority(Priority::DEBUG);
    category.emerg("a");
    category.fatal("b");
    category.alert("c");
    category.crit("d");
    category.error("e");
    category.warn("f");
    category.notice("g");
    category.info("h");
    category.debug("i");
    category.log(Priority::NOTICE, "j %d", 10);
    category.log(Priority::INFO, std::string("k"));
    EXPECT_EQ("FATAL a\nFATAL b\nALERT c\nCRIT d\nERROR e\nWARN f\nNOTICE g\nINFO h\nDEBUG i\n"
              "NOTICE j 10\nINFO k\n",
              capture.text());
}

TEST_F(LogTest, MessagesLessSevereThanThePriorityAreDropped) {
    Category& category = Category::getInstance("drop");
    Capture capture(category, "%p %m%n");
    category.setPriority(Priority::NOTICE);
    category.info("quiet");
    category.debug(std::string("quiet"));
    category.notice("loud");
    category.warn(std::string("louder"));
    EXPECT_EQ("NOTICE loud\nWARN louder\n", capture.text());
}

TEST_F(LogTest, AncestorsAppendersReceiveEventsWhileAdditive) {
    Category& leaf = Category::getInstance("add.leaf");
    Capture root(Category::getRoot(), "root %c %m%n");
    Capture parent(Category::getInstance("add"), "parent %c %m%n");
    Capture child(leaf, "child %c %m%n");
    EXPECT_TRUE(leaf.getAdditivity());

    leaf.info("one");
    EXPECT_EQ("child add.leaf one\n", child.text());
    EXPECT_EQ("parent add.leaf one\n", parent.text());
    EXPECT_EQ("root add.leaf one\n", root.text());

    Category::getInstance("add").setAdditivity(false);
    leaf.info("two");
    EXPECT_EQ("parent add.leaf one\nparent add.leaf two\n", parent.text());
    EXPECT_EQ("root add.leaf one\n", root.text());

    leaf.setAdditivity(false);
    leaf.info("three");
    EXPECT_EQ(3u, testsupport::countLines(child.text()));
    EXPECT_EQ(2u, testsupport::countLines(parent.text()));
}

TEST_F(LogTest, ThresholdFiltersOneAppenderOnly) {
    Category& category = Category::getInstance("threshold");
    Capture all(category, "%m%n"), severe(category, "%m%n");
    severe.appender.setThreshold(Priority::WARN);
    category.info("info");
    category.warn("warn");
    EXPECT_EQ("info\nwarn\n", all.text());
    EXPECT_EQ("warn\n", severe.text());
}

TEST_F(LogTest, FormatsPrintfStyleButNotPlainStrings) {
    Category& category = Category::getInstance("printf");
    Capture capture(category, "%m%n");
    category.info("%d-%s-%05.1f", 42, "x", 3.14159);
    category.info(std::string("100% literal %s"));
    std::string longText(5000, 'z');
    category.info("%s!", longText.c_str());
    EXPECT_EQ("42-x-003.1\n100% literal %s\n" + longText + "!\n", capture.text());
}

TEST_F(LogTest, CapitalSFormatsWideText) {
    Category& category = Category::getInstance("wide");
    Capture capture(category, "%m%n");
    const wchar_t* wide = L"wide text";
    category.warn("[%S] [%s]", wide, "narrow");
    EXPECT_EQ("[wide text] [narrow]\n", capture.text());
}

TEST_F(LogTest, FormattingFollowsThePlatformRuntime) {
    Category& category = Category::getInstance("runtime");
    Capture capture(category, "%m%n");
    category.info("%.1e", 1.0);
#ifdef _WIN32
    EXPECT_EQ("1.0e+000\n", capture.text());  // msvcrt's three exponent digits, not C99's two
#else
    EXPECT_EQ("1.0e+00\n", capture.text());
#endif
}

TEST_F(LogTest, AddAppenderRejectsNullAndIgnoresDuplicates) {
    Category& category = Category::getInstance("owning");
    EXPECT_THROW(category.addAppender(static_cast<Appender*>(nullptr)), std::invalid_argument);
    auto* owned = new OstreamAppender("owned", nullptr);
    category.addAppender(owned);
    category.addAppender(*owned);
    EXPECT_EQ(owned, category.getAppender("owned"));
    EXPECT_EQ(nullptr, category.getAppender("other"));
    category.info("to a null stream");  // must not crash
    category.removeAppender(owned);  // deletes it
    EXPECT_EQ(nullptr, category.getAppender("owned"));
    category.addAppender(new OstreamAppender("again", nullptr));
    category.removeAllAppenders();
    EXPECT_EQ(nullptr, category.getAppender("again"));
}

TEST_F(LogTest, ShutdownClosesAppendersAndCategoriesStayUsable) {
    std::string path = temp.file("shutdown.log");
    Category& category = Category::getInstance("shutdown");
    auto* file = new FileAppender("file", path);
    file->setLayout(new PatternLayout);
    category.addAppender(file);
    category.info("before");

    Category::shutdown();
    EXPECT_EQ(nullptr, category.getAppender("file"));
    category.info("after");
    EXPECT_EQ("before\n", testsupport::readFile(path));
    // A file still open could not be deleted on Windows.
    EXPECT_TRUE(std::filesystem::remove(path));

    Capture capture(Category::getInstance("shutdown"), "%m%n");
    category.info("again");
    EXPECT_EQ("again\n", capture.text());
}

TEST_F(LogTest, ConcurrentLoggingKeepsLinesWhole) {
    std::string path = temp.file("threads.log");
    Category& category = Category::getInstance("threads");
    auto* file = new FileAppender("file", path);
    auto* layout = new PatternLayout;
    layout->setConversionPattern("%m%n");
    file->setLayout(layout);
    category.addAppender(file);

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&category, t] {
            for (int i = 0; i < 200; ++i)
                category.info("thread %d message %03d ..........", t, i);
        });
    for (auto& thread : threads)
        thread.join();
    Category::shutdown();

    std::istringstream lines(testsupport::readFile(path));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_EQ(31u, line.size()) << line;
    }
    EXPECT_EQ(800, count);
}
