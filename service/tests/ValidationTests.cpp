#include <gtest/gtest.h>

#include "Validation.h"

using namespace validation;

TEST(Validation, MobileNumbers)
{
    EXPECT_EQ("447700900123", mobileNumber("447700900123"));
    EXPECT_EQ("447700900123", mobileNumber(" +447700900123 "));
    EXPECT_EQ("0770090012", mobileNumber("0770090012"));
    EXPECT_FALSE(mobileNumber("077009001").has_value());          // nine digits
    EXPECT_FALSE(mobileNumber("4477009001234567").has_value());   // sixteen digits
    EXPECT_FALSE(mobileNumber("44 7700 900123").has_value());
    EXPECT_FALSE(mobileNumber("++447700900123").has_value());
    EXPECT_FALSE(mobileNumber("Alice").has_value());
    EXPECT_FALSE(mobileNumber("").has_value());
}

TEST(Validation, Originators)
{
    EXPECT_TRUE(isValidOriginator("A"));
    EXPECT_TRUE(isValidOriginator("ElevenChars"));
    EXPECT_FALSE(isValidOriginator("TwelveChars!"));
    EXPECT_TRUE(isValidOriginator("447700900123"));
    EXPECT_TRUE(isValidOriginator("1234567890123456"));
    EXPECT_FALSE(isValidOriginator("12345678901234567"));
    EXPECT_FALSE(isValidOriginator(""));
}

TEST(Validation, TextBodiesCountCharactersNotBytes)
{
    EXPECT_FALSE(bodyProblem(std::string(160, 'x'), MessageType::Text));
    EXPECT_TRUE(bodyProblem(std::string(161, 'x'), MessageType::Text));
    std::string euros;
    for (int i = 0; i < 160; ++i)
        euros += "\xE2\x82\xAC";
    EXPECT_FALSE(bodyProblem(euros, MessageType::Text));
    EXPECT_TRUE(bodyProblem("", MessageType::Text));
}

TEST(Validation, UnicodeBodiesHoldSeventyCharacters)
{
    EXPECT_FALSE(bodyProblem(std::string(70, 'x'), MessageType::Unicode));
    EXPECT_TRUE(bodyProblem(std::string(71, 'x'), MessageType::Unicode));
}

TEST(Validation, BinaryBodiesAreEvenHexOfAtMost140Bytes)
{
    EXPECT_FALSE(bodyProblem("0A1b", MessageType::Binary));
    EXPECT_FALSE(bodyProblem(std::string(280, 'f'), MessageType::SmartMessage));
    EXPECT_TRUE(bodyProblem(std::string(282, 'f'), MessageType::Binary));
    EXPECT_TRUE(bodyProblem("0A1", MessageType::Binary));
    EXPECT_TRUE(bodyProblem("hello", MessageType::SmartMessage));
}

TEST(Validation, Integers)
{
    EXPECT_EQ(41, integer("41"));
    EXPECT_EQ(-1, integer(" -1 "));
    EXPECT_EQ(7, integer("+7"));
    EXPECT_EQ(2147483647, integer("2147483647"));
    EXPECT_FALSE(integer("2147483648").has_value());
    EXPECT_FALSE(integer("12a").has_value());
    EXPECT_FALSE(integer("").has_value());
    EXPECT_FALSE(integer("-").has_value());
}

TEST(Validation, Trim)
{
    EXPECT_EQ("a b", trim(" \t a b\r\n"));
    EXPECT_EQ("", trim("   "));
}
