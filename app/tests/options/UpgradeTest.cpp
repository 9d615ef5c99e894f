// The upgrade check asks the stand-in for the current version through the SDK's
// MessengerService and offers the upgrade only when that version is newer than the program's
// own (this test program poses as 1.9.0.0). The stand-in's version text is set per test run.
#include "support/TestMessengerApp.h"

#include <gtest/gtest.h>

#include "StandinTest.h"

namespace {

class Upgrade : public standin::StandinTest {
protected:
    void SetUp() override {
        StandinTest::SetUp();
        standin::PointSdkAtStandin();
        theTestApp.upgradeOffers = 0;
    }
    void TearDown() override {
        theTestApp.upgradeNow = false;
        StandinTest::TearDown();
    }

    CSatelliteScope m_satellite;
    CMessageBoxRecorder m_boxes;
};

// Served 1.10.0.0: newer than 1.9.0.0 when compared as numbers.
TEST_F(Upgrade, NewerVersionIsOffered) {
    EXPECT_TRUE(theTestApp.CheckForUpgrade()) << "declining the offer lets start-up go on";
    EXPECT_EQ(1, theTestApp.upgradeOffers);
    EXPECT_EQ(L"GetCurrentVersion", Log().Last().operation);
    EXPECT_EQ(L"BrindlepostService", Log().Last().endpoint);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

// Served 1.8.5.0: older, so nothing is offered.
TEST_F(Upgrade, OlderVersionIsNotOffered) {
    theTestApp.upgradeNow = true;
    EXPECT_TRUE(theTestApp.CheckForUpgrade());
    EXPECT_EQ(0, theTestApp.upgradeOffers);
    EXPECT_EQ(L"GetCurrentVersion", Log().Last().operation);
    EXPECT_TRUE(m_boxes.boxes.empty());
}

}  // namespace
