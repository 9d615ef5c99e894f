#pragma once
// The SOAP side of the service: finds the end point and operation of a request, checks the credentials,
// runs the operation and turns failures into faults. Every request is written to the request log.

#include <optional>
#include <string>

#include "HttpReply.h"
#include "OperationTable.h"

class Store;
class SoapRequest;
struct LoggedRequest;

struct HttpRequest {
    std::string method;
    std::string path;
    std::string soapAction;
    std::string contentType;
    std::string body;
};

class SoapEndpoint {
public:
    static constexpr const char* kBasePath = "/secure/messenger/soap/";

    SoapEndpoint(Store& store, const OperationTable& operations, const ServiceSettings& settings);

    // Answers the request and logs it with its answer (thread-safe).
    HttpReply handle(const HttpRequest& request);

    // "SendService" for ".../SendService.asmx" when the table has that end point.
    std::optional<std::string> endPointOf(const std::string& path) const;

private:
    HttpReply answer(const HttpRequest& request, LoggedRequest& entry);
    HttpReply run(const Operation& operation, const SoapRequest& request);
    Account authenticate(const SoapRequest& request);

    Store& store_;
    const OperationTable& operations_;
    const ServiceSettings& settings_;
};
