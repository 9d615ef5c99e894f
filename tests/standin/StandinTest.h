// The base of a googletest program that runs against its own stand-in service: a COM apartment per
// test, the stand-in's request log, and a reset of the stand-in (fixtures and log) before each test.
#pragma once

#include "ComTestSupport.h"
#include "RequestLog.h"
#include "StandinEnvironment.h"

namespace standin {

class StandinTest : public testsupport::ComTest {
protected:
    void SetUp() override;

    // The stand-in's request log (valid from SetUp on).
    const RequestLog& Log() const { return m_log; }

private:
    RequestLog m_log{std::wstring()};
};

// Points the SDK server loaded in this process (through COM) at the stand-in, with
// TestService.SetSoapEndPoints(TARVOCK_STANDIN_URL, ""). Throws StandinError when it fails.
void PointSdkAtStandin();

}  // namespace standin
