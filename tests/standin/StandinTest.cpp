#include "StandinTest.h"

#include <windows.h>

#include <atlbase.h>

#include "TarvockLib.h"

namespace standin {

void StandinTest::SetUp() {
    testsupport::ComTest::SetUp();
    const std::wstring base = ServerBase();
    ASSERT_FALSE(base.empty()) << "TARVOCK_STANDIN_BASE is not set: run the test through scripts/with-standin";
    ASSERT_FALSE(ServiceUrl().empty()) << "TARVOCK_STANDIN_URL is not set";
    m_log = RequestLog(base);
    m_log.Reset();
}

void PointSdkAtStandin() {
    CComPtr<ITestService> test;
    HRESULT hr = test.CoCreateInstance(CLSID_TestService, nullptr, CLSCTX_INPROC_SERVER);
    if (FAILED(hr)) throw StandinError("cannot create Tarvock.TestService");
    hr = test->SetSoapEndPoints(CComBSTR(RequireServiceUrl().c_str()), CComBSTR(L""));
    if (FAILED(hr)) throw StandinError("TestService.SetSoapEndPoints failed");
}

}  // namespace standin
