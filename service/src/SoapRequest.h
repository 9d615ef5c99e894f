#pragma once
// A parsed SOAP 1.1 request: the operation element and its argument elements, found by local name.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace xml {

constexpr const char* kSoapEnvelopeNamespace = "http://schemas.xmlsoap.org/soap/envelope/";

// The name without its prefix.
std::string localName(const pugi::xml_node& node);
// The namespace URI of an element, from the xmlns declarations in scope.
std::string namespaceUri(const pugi::xml_node& element);
// The text of all text and CDATA descendants, in document order.
std::string textOf(const pugi::xml_node& node);
// First child element with that local name.
pugi::xml_node childByLocalName(const pugi::xml_node& parent, const std::string& name);
// First descendant element with that local name, in document order.
pugi::xml_node descendantByLocalName(const pugi::xml_node& parent, const std::string& name);

} // namespace xml

class SoapRequest {
public:
    // Throws RequestFault when the text is not a SOAP 1.1 envelope whose body holds an element.
    static SoapRequest parse(const std::string& text);

    const std::string& operation() const { return operation_; }
    const std::string& operationNamespace() const { return namespace_; }
    pugi::xml_node operationElement() const { return operationElement_; }

    // The first element below the operation element with that local name.
    pugi::xml_node element(const std::string& name) const;
    // Its text; empty when the element is missing.
    std::optional<std::string> text(const std::string& name) const;
    // The texts of the element's child elements; empty when the element is missing.
    std::optional<std::vector<std::string>> list(const std::string& name) const;

private:
    std::shared_ptr<pugi::xml_document> document_;
    pugi::xml_node operationElement_;
    std::string operation_;
    std::string namespace_;
};
