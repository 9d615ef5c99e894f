// The base of the service tests against the stand-in: the SDK server (through COM, as a client
// sees it) pointed at this program's stand-in, fixtures and request log reset before each test.
#pragma once

#include <windows.h>

#include <atlbase.h>

#include "SentRequest.h"
#include "ServiceTestSupport.h"
#include "StandinTest.h"
#include "TarvockLib.h"

namespace servicetest {

extern const char kNamespace[];

class ServiceStandinTest : public standin::StandinTest {
protected:
    void SetUp() override;

    // A new object of the registered server.
    template <class Itf>
    CComPtr<Itf> Create(const CLSID& clsid) {
        CComPtr<Itf> object;
        EXPECT_HRESULT_SUCCEEDED(object.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER));
        return object;
    }

    // A service of class clsid initialised with an account (the fixture account by default).
    template <class Itf>
    CComPtr<Itf> Initialised(const CLSID& clsid, const wchar_t* user = L"test", const wchar_t* password = L"test",
                             const wchar_t* account = L"TEST01") {
        CComPtr<Itf> service = Create<Itf>(clsid);
        if (service) {
            EXPECT_EQ(S_OK, service->Initialise(CComBSTR(user), CComBSTR(password), CComBSTR(account), Omitted()));
        }
        return service;
    }

    // The newest request the stand-in received, read field by field.
    SentRequest LastSent() const { return ReadSentRequest(Log().Last()); }
    // The number of requests the stand-in received since the reset.
    size_t SentCount() const { return Log().All().size(); }

    // The description of the thread's error info, narrowed.
    static std::string ErrorText() { return N(testsupport::TakeErrorDescription()); }
};

// Expects request to have gone to endpoint as SOAP operation with exactly fields.
void ExpectSent(const SentRequest& request, const char* endpoint, const char* operation,
                const std::vector<std::string>& fields);

}  // namespace servicetest
