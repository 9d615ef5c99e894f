// What the SDK sent, read back from the stand-in's request log: the operation element of the
// SOAP body and its children in order, as "name=text" lines ("name=[string:a,string:b]" for an
// element holding elements), so a test can compare a whole request at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "RequestLog.h"

namespace servicetest {

struct SentRequest {
    std::wstring endpoint;
    std::wstring soapAction;
    std::wstring operation;       // local name of the body's first element
    std::wstring operationNamespace;
    std::vector<std::string> fields;  // the operation element's children, in order
};

// Reads the logged request's body; fails the current test when it does not parse.
SentRequest ReadSentRequest(const standin::LoggedRequest& logged);

// The fields of a request with the fixture account's credentials in front.
std::vector<std::string> WithCredentials(std::vector<std::string> fields, const char* user = "test",
                                         const char* password = "test", const char* account = "TEST01");

}  // namespace servicetest
