#include "SoapResponse.h"

#include <sstream>

namespace soap {

pugi::xml_node appendText(pugi::xml_node parent, const char* name, const std::string& text)
{
    pugi::xml_node node = parent.append_child(name);
    if (!text.empty())
        node.append_child(pugi::node_pcdata).set_value(text.c_str());
    return node;
}

std::string serialise(const pugi::xml_document& document)
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

} // namespace soap

namespace {

pugi::xml_node makeEnvelopeBody(pugi::xml_document& document)
{
    pugi::xml_node envelope = document.append_child("soap:Envelope");
    envelope.append_attribute("xmlns:soap") = "http://schemas.xmlsoap.org/soap/envelope/";
    envelope.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    envelope.append_attribute("xmlns:xsd") = "http://www.w3.org/2001/XMLSchema";
    return envelope.append_child("soap:Body");
}

} // namespace

SoapResponse::SoapResponse(const std::string& operation) : resultName_(operation + "Result")
{
    pugi::xml_node body = makeEnvelopeBody(document_);
    response_ = body.append_child((operation + "Response").c_str());
    response_.append_attribute("xmlns") = soap::kServiceNamespace;
}

pugi::xml_node SoapResponse::result()
{
    pugi::xml_node node = response_.child(resultName_.c_str());
    if (!node)
        node = response_.append_child(resultName_.c_str());
    return node;
}

void SoapResponse::setResultText(const std::string& text)
{
    pugi::xml_node node = result();
    node.remove_children();
    if (!text.empty())
        node.append_child(pugi::node_pcdata).set_value(text.c_str());
}

std::string SoapResponse::str() const
{
    return soap::serialise(document_);
}

std::string soapFault(const std::string& faultCode, const std::string& faultString,
                      const std::optional<FaultDetail>& detail)
{
    pugi::xml_document document;
    pugi::xml_node fault = makeEnvelopeBody(document).append_child("soap:Fault");
    soap::appendText(fault, "faultcode", faultCode);
    soap::appendText(fault, "faultstring", faultString);
    if (detail) {
        pugi::xml_node node = fault.append_child("detail");
        soap::appendText(node, "ErrorMessage", detail->message);
        if (detail->code)
            soap::appendText(node, "ErrorCode", *detail->code);
    }
    return soap::serialise(document);
}
