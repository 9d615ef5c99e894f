#include <windows.h>

#include "ServiceStandinTest.h"

namespace servicetest {

const char kNamespace[] = "http://com.tarvock/messenger/";

void ServiceStandinTest::SetUp() {
    StandinTest::SetUp();
    ASSERT_NO_THROW(standin::PointSdkAtStandin());
    ::SetErrorInfo(0, nullptr);
}

void ExpectSent(const SentRequest& request, const char* endpoint, const char* operation,
                const std::vector<std::string>& fields) {
    EXPECT_EQ(endpoint, N(request.endpoint));
    EXPECT_EQ(std::string(kNamespace) + operation, N(request.soapAction));
    EXPECT_EQ(operation, N(request.operation));
    EXPECT_EQ(kNamespace, N(request.operationNamespace));
    EXPECT_EQ(fields, request.fields);
}

}  // namespace servicetest
