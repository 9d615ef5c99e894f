#include "SoapRequest.h"

#include "ServiceError.h"

namespace xml {

std::string localName(const pugi::xml_node& node)
{
    std::string name = node.name();
    size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string namespaceUri(const pugi::xml_node& element)
{
    std::string name = element.name();
    size_t colon = name.find(':');
    std::string attribute = colon == std::string::npos ? "xmlns" : "xmlns:" + name.substr(0, colon);
    for (pugi::xml_node n = element; n; n = n.parent()) {
        if (n.type() != pugi::node_element)
            continue;
        if (pugi::xml_attribute a = n.attribute(attribute.c_str()))
            return a.value();
    }
    return std::string();
}

std::string textOf(const pugi::xml_node& node)
{
    std::string result;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            result += child.value();
        else if (child.type() == pugi::node_element)
            result += textOf(child);
    }
    return result;
}

pugi::xml_node childByLocalName(const pugi::xml_node& parent, const std::string& name)
{
    for (pugi::xml_node child : parent.children())
        if (child.type() == pugi::node_element && localName(child) == name)
            return child;
    return pugi::xml_node();
}

pugi::xml_node descendantByLocalName(const pugi::xml_node& parent, const std::string& name)
{
    for (pugi::xml_node child : parent.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (localName(child) == name)
            return child;
        if (pugi::xml_node found = descendantByLocalName(child, name))
            return found;
    }
    return pugi::xml_node();
}

} // namespace xml

SoapRequest SoapRequest::parse(const std::string& text)
{
    SoapRequest request;
    request.document_ = std::make_shared<pugi::xml_document>();
    pugi::xml_parse_result parsed = request.document_->load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
    if (!parsed)
        throw RequestFault(std::string("The request is not well-formed XML: ") + parsed.description() +
                           " at offset " + std::to_string(parsed.offset) + ".");

    pugi::xml_node envelope = request.document_->document_element();
    if (xml::localName(envelope) != "Envelope" || xml::namespaceUri(envelope) != xml::kSoapEnvelopeNamespace)
        throw RequestFault("The request is not a SOAP 1.1 envelope.");
    pugi::xml_node body = xml::childByLocalName(envelope, "Body");
    if (!body || xml::namespaceUri(body) != xml::kSoapEnvelopeNamespace)
        throw RequestFault("The SOAP envelope has no body.");
    for (pugi::xml_node child : body.children()) {
        if (child.type() == pugi::node_element) {
            request.operationElement_ = child;
            break;
        }
    }
    if (!request.operationElement_)
        throw RequestFault("The SOAP body holds no operation.");
    request.operation_ = xml::localName(request.operationElement_);
    request.namespace_ = xml::namespaceUri(request.operationElement_);
    return request;
}

pugi::xml_node SoapRequest::element(const std::string& name) const
{
    return xml::descendantByLocalName(operationElement_, name);
}

std::optional<std::string> SoapRequest::text(const std::string& name) const
{
    pugi::xml_node node = element(name);
    if (!node)
        return std::nullopt;
    return xml::textOf(node);
}

std::optional<std::vector<std::string>> SoapRequest::list(const std::string& name) const
{
    pugi::xml_node node = element(name);
    if (!node)
        return std::nullopt;
    std::vector<std::string> items;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element)
            items.push_back(xml::textOf(child));
    return items;
}
