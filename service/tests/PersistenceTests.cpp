#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "TestServer.h"

namespace {
std::string temporaryDatabase()
{
    char name[] = "/tmp/standin-test-XXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::remove(name);  // a new, empty database is made at that name
    return name;
}
} // namespace

class Persistence : public StandinTest {
protected:
    void TearDown() override
    {
        StandinTest::TearDown();
        std::remove(path_.c_str());
    }
    std::string path_ = temporaryDatabase();
};

TEST_F(Persistence, AFileDatabaseKeepsItsDataAcrossRestarts)
{
    ServerOptions options = defaultOptions();
    options.database = path_;
    restart(options);
    expectOk(post(SoapCall("ContactService", "DeleteContact").as(kTest).arg("id", "1001")));
    Reply added = post(SoapCall("ContactService", "AddContact").as(kTest)
                           .xml(contactXml("contact", "", "Kept", "447700900311")));
    expectOk(added);

    restart(options);
    EXPECT_FALSE(post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", "1001")).result());
    Reply kept = post(SoapCall("ContactService", "GetContact").as(kTest).arg("id", added.resultText()));
    EXPECT_EQ("Kept", Reply::field(kept.result(), "QuickName"));
    auto log = client().Get("/standin/requests");
    ASSERT_TRUE(log);
    EXPECT_NE(std::string::npos, log->body.find("count=\"4\"")) << log->body;
}

TEST_F(Persistence, AnUnopenableDatabaseIsAnError)
{
    ServerOptions options = defaultOptions();
    options.database = "/nonexistent-folder/x.db";
    EXPECT_THROW(StandinServer server(options), std::exception);
}
