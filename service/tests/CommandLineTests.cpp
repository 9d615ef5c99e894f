#include <gtest/gtest.h>

#include "CommandLine.h"

TEST(CommandLine, ReadsEveryOption)
{
    auto cl = parseCommandLine({"--port", "0", "--db", "/tmp/x.db", "--version-text", "2.1.0.3", "--seed-demo"});
    EXPECT_EQ(0, cl.options.port);
    EXPECT_EQ("/tmp/x.db", cl.options.database);
    EXPECT_EQ("2.1.0.3", cl.options.settings.versionText);
    EXPECT_TRUE(cl.options.settings.seedDemo);
    EXPECT_FALSE(cl.help);
}

TEST(CommandLine, AcceptsNameEqualsValue)
{
    auto cl = parseCommandLine({"--port=8642", "--db=:memory:", "--version-text=1.2"});
    EXPECT_EQ(8642, cl.options.port);
    EXPECT_EQ(":memory:", cl.options.database);
    EXPECT_EQ("1.2", cl.options.settings.versionText);
}

TEST(CommandLine, Defaults)
{
    auto cl = parseCommandLine({});
    EXPECT_EQ(8642, cl.options.port);
    EXPECT_EQ(":memory:", cl.options.database);
    EXPECT_FALSE(cl.options.settings.seedDemo);
}

TEST(CommandLine, RefusesBadInput)
{
    EXPECT_THROW(parseCommandLine({"--port"}), CommandLineError);
    EXPECT_THROW(parseCommandLine({"--port", "70000"}), CommandLineError);
    EXPECT_THROW(parseCommandLine({"--port", "abc"}), CommandLineError);
    EXPECT_THROW(parseCommandLine({"--db", ""}), CommandLineError);
    EXPECT_THROW(parseCommandLine({"--frobnicate"}), CommandLineError);
    EXPECT_THROW(parseCommandLine({"--seed-demo=yes"}), CommandLineError);
}

TEST(CommandLine, Help)
{
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_NE(std::string::npos, usage().find("--version-text"));
}
