#pragma once
// SOAP 1.1 answers: the operation's response element with its result, and faults.

#include <optional>
#include <string>

#include <pugixml.hpp>

namespace soap {

// The namespace of the service's operations; a SOAPAction is this text followed by the operation name.
constexpr const char* kServiceNamespace = "http://com.tarvock/messenger/";

// Appends <name>text</name> to parent.
pugi::xml_node appendText(pugi::xml_node parent, const char* name, const std::string& text);

// The whole document in UTF-8 with an XML declaration, without indentation.
std::string serialise(const pugi::xml_document& document);

} // namespace soap

// <OpResponse xmlns="..."><OpResult>...</OpResult></OpResponse> inside a SOAP envelope. The result element is
// made only when result() or setResultText() is called, so an operation without a result answers with an
// empty response element.
class SoapResponse {
public:
    explicit SoapResponse(const std::string& operation);

    pugi::xml_node result();
    void setResultText(const std::string& text);
    std::string str() const;

private:
    pugi::xml_document document_;
    pugi::xml_node response_;
    std::string resultName_;
};

struct FaultDetail {
    std::string message;
    std::optional<std::string> code;  // the detail carries no ErrorCode when empty
};

// A SOAP fault envelope; faultCode is "soap:Client" or "soap:Server". detail/ErrorMessage and
// detail/ErrorCode are in no namespace.
std::string soapFault(const std::string& faultCode, const std::string& faultString,
                      const std::optional<FaultDetail>& detail);
