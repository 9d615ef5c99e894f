#include <set>

#include <gtest/gtest.h>

#include "Guid.h"

TEST(Guid, GeneratesDistinctCanonicalTexts)
{
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        std::string id = guid::generate();
        EXPECT_EQ(36u, id.size());
        EXPECT_EQ(id, guid::normalise(id));
        EXPECT_EQ('4', id[14]) << id;
        seen.insert(id);
    }
    EXPECT_EQ(200u, seen.size());
}

TEST(Guid, NormalisesBracesAndCase)
{
    EXPECT_EQ("10000000-0000-4000-8000-00000000000a", guid::normalise("{10000000-0000-4000-8000-00000000000A}"));
    EXPECT_EQ("abcdef01-2345-6789-abcd-ef0123456789", guid::normalise("ABCDEF01-2345-6789-ABCD-EF0123456789"));
}

TEST(Guid, RefusesOtherTexts)
{
    for (const char* text : {"", "1", "10000000-0000-4000-8000-00000000000", "10000000-0000-4000-8000-0000000000001",
                             "10000000x0000-4000-8000-000000000001", "g0000000-0000-4000-8000-000000000001",
                             "{10000000-0000-4000-8000-000000000001", "10000000000040008000000000000001"})
        EXPECT_FALSE(guid::normalise(text).has_value()) << text;
}
