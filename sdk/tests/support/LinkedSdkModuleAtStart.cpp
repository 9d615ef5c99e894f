// Sets the linked module up before the program's first test.
#include <gtest/gtest.h>

#include "LinkedSdkModule.h"

namespace {

class LinkedSdkModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_NE(nullptr, sdktest::LinkSdkModule()) << "TarvockSDK_en.dll beside the test program"; }
};

::testing::Environment* const g_module = ::testing::AddGlobalTestEnvironment(new LinkedSdkModuleEnvironment);

}  // namespace
