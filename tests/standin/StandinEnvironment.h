// Where the stand-in service of this test program listens: scripts/with-standin starts one per
// test program and exports its addresses, which Wine passes on to Windows programs.
//   TARVOCK_STANDIN_URL   base address of the SOAP end points, ending in "/"
//                         (http://127.0.0.1:PORT/secure/messenger/soap/)
//   TARVOCK_STANDIN_BASE  the server itself (http://127.0.0.1:PORT)
#pragma once

#include <stdexcept>
#include <string>

namespace standin {

// A failure to reach or read the stand-in; gtest reports it as the test's failure.
class StandinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The base address the SDK is pointed at; empty when the program runs without a stand-in.
std::wstring ServiceUrl();
// The server's own address, for the request log and the reset; empty without a stand-in.
std::wstring ServerBase();
// As above, throwing StandinError when the variable is not set.
std::wstring RequireServiceUrl();
std::wstring RequireServerBase();

// An environment variable of this process; empty when unset.
std::wstring EnvironmentText(const wchar_t* name);

}  // namespace standin
