#include "DHtmlDocument.h"

#include <atlbase.h>
#include <msxml2.h>

#include <cwctype>

namespace {

// The version-independent DOM document class of the platform's XML parser.
const CLSID kDomDocumentClass = {0x2933bf90, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
const UINT kHtmlResourceType = 23;

std::wstring Lower(std::wstring text) {
    for (wchar_t& ch : text) ch = (wchar_t)std::towlower(ch);
    return text;
}

std::wstring TextOf(const CComBSTR& text) {
    return text ? std::wstring(text, text.Length()) : std::wstring();
}

// Drops a namespace prefix ("xhtml:p" is "p").
std::wstring LocalName(const std::wstring& name) {
    size_t colon = name.find(L':');
    return colon == std::wstring::npos ? name : name.substr(colon + 1);
}

// Copies a DOM node and its descendants into the page model.
HRESULT CopyNode(IXMLDOMNode* source, CDHtmlNode& target) {
    CComPtr<IXMLDOMNodeList> children;
    HRESULT hr = source->get_childNodes(&children);
    if (FAILED(hr) || !children) return FAILED(hr) ? hr : E_POINTER;
    long count = 0;
    children->get_length(&count);
    for (long i = 0; i < count; ++i) {
        CComPtr<IXMLDOMNode> child;
        if (FAILED(children->get_item(i, &child)) || !child) continue;
        DOMNodeType type = NODE_INVALID;
        child->get_nodeType(&type);
        if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
            CComBSTR text;
            child->get_text(&text);
            target.AppendChild(std::make_unique<CDHtmlNode>(CDHtmlNode::kText, TextOf(text)));
        } else if (type == NODE_ELEMENT) {
            CComBSTR name;
            child->get_nodeName(&name);
            auto element = std::make_unique<CDHtmlNode>(CDHtmlNode::kElement, Lower(LocalName(TextOf(name))));
            CComPtr<IXMLDOMNamedNodeMap> attributes;
            if (SUCCEEDED(child->get_attributes(&attributes)) && attributes) {
                long attributeCount = 0;
                attributes->get_length(&attributeCount);
                for (long a = 0; a < attributeCount; ++a) {
                    CComPtr<IXMLDOMNode> attribute;
                    if (FAILED(attributes->get_item(a, &attribute)) || !attribute) continue;
                    CComBSTR attributeName, value;
                    attribute->get_nodeName(&attributeName);
                    attribute->get_text(&value);
                    element->SetAttribute(Lower(TextOf(attributeName)).c_str(), TextOf(value));
                }
            }
            hr = CopyNode(child, *target.AppendChild(std::move(element)));
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

CDHtmlNode::CDHtmlNode(Kind kind, std::wstring tagOrText) : m_kind(kind) {
    if (kind == kElement) {
        m_tag = std::move(tagOrText);
    } else {
        m_text = std::move(tagOrText);
    }
}

std::wstring CDHtmlNode::GetAttribute(const wchar_t* name) const {
    for (const auto& attribute : m_attributes)
        if (attribute.first == name) return attribute.second;
    return std::wstring();
}

bool CDHtmlNode::HasAttribute(const wchar_t* name) const {
    for (const auto& attribute : m_attributes)
        if (attribute.first == name) return true;
    return false;
}

void CDHtmlNode::SetAttribute(const wchar_t* name, const std::wstring& value) {
    for (auto& attribute : m_attributes) {
        if (attribute.first == name) {
            attribute.second = value;
            return;
        }
    }
    m_attributes.emplace_back(name, value);
}

CDHtmlNode* CDHtmlNode::AppendChild(std::unique_ptr<CDHtmlNode> child) {
    child->m_parent = this;
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

void CDHtmlNode::AppendRawText(std::wstring& out) const {
    if (m_kind == kText) {
        out += m_text;
        return;
    }
    if (IsTag(L"br")) out += L' ';
    for (const auto& child : m_children) child->AppendRawText(out);
}

std::wstring CDHtmlNode::GetInnerText() const {
    std::wstring raw;
    AppendRawText(raw);
    return DHtmlCollapseWhiteSpace(raw);
}

void CDHtmlNode::SetInnerText(const std::wstring& text) {
    m_children.clear();
    if (m_kind == kText) {
        m_text = text;
        return;
    }
    AppendChild(std::make_unique<CDHtmlNode>(kText, text));
}

const CDHtmlNode* CDHtmlNode::FindTag(const wchar_t* tag) const {
    if (IsTag(tag)) return this;
    for (const auto& child : m_children)
        if (const CDHtmlNode* found = child->FindTag(tag)) return found;
    return nullptr;
}

const CDHtmlNode* CDHtmlNode::FindId(const std::wstring& id) const {
    if (m_kind == kElement && !id.empty() && GetAttribute(L"id") == id) return this;
    for (const auto& child : m_children)
        if (const CDHtmlNode* found = child->FindId(id)) return found;
    return nullptr;
}

bool CDHtmlNode::IsInside(const wchar_t* tag) const {
    for (const CDHtmlNode* node = this; node; node = node->m_parent)
        if (node->IsTag(tag)) return true;
    return false;
}

std::wstring DHtmlCollapseWhiteSpace(const std::wstring& text) {
    std::wstring result;
    bool space = false;
    for (wchar_t ch : text) {
        if (ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n') {
            space = true;
            continue;
        }
        if (space && !result.empty()) result += L' ';
        space = false;
        result += ch;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------

HRESULT CDHtmlDocument::Fail(HRESULT code, const CString& error) {
    m_root.reset();
    m_error = error;
    return code;
}

HRESULT CDHtmlDocument::LoadText(const std::wstring& xhtml) {
    m_root.reset();
    m_error.Empty();
    // The page's bytes are already decoded: a declaration naming their encoding must not be
    // applied a second time.
    std::wstring text = xhtml;
    if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
    if (text.compare(0, 5, L"<?xml") == 0) {
        size_t end = text.find(L"?>");
        if (end != std::wstring::npos) text.erase(0, end + 2);
    }

    CComPtr<IXMLDOMDocument> document;
    HRESULT hr = ::CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                    reinterpret_cast<void**>(&document));
    if (FAILED(hr) || !document) {
        CString error;
        error.Format("The XML parser could not be created (0x%08lX).", (unsigned long)hr);
        return Fail(FAILED(hr) ? hr : E_POINTER, error);
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);

    const CComBSTR source(text.data(), (UINT)text.size());
    VARIANT_BOOL parsed = VARIANT_FALSE;
    hr = document->loadXML(source, &parsed);
    if (FAILED(hr) || parsed != VARIANT_TRUE) {
        CString error("The page is not well-formed XHTML");
        CComPtr<IXMLDOMParseError> parseError;
        if (SUCCEEDED(document->get_parseError(&parseError)) && parseError) {
            long line = 0;
            parseError->get_line(&line);
            CComBSTR reason;
            parseError->get_reason(&reason);
            CString detail;
            detail.Format(" (line %ld): ", line);
            error += detail + CString(DHtmlCollapseWhiteSpace(TextOf(reason)).c_str());
        }
        return Fail(FAILED(hr) ? hr : E_INVALIDARG, error);
    }

    CComPtr<IXMLDOMElement> rootElement;
    if (FAILED(document->get_documentElement(&rootElement)) || !rootElement)
        return Fail(E_INVALIDARG, "The page has no root element.");
    CComBSTR rootName;
    rootElement->get_nodeName(&rootName);
    auto root = std::make_unique<CDHtmlNode>(CDHtmlNode::kElement, Lower(LocalName(TextOf(rootName))));
    if (!root->IsTag(L"html")) return Fail(E_INVALIDARG, "The page's root element is not <html>.");
    hr = CopyNode(rootElement, *root);
    if (FAILED(hr)) return Fail(hr, "The page could not be read.");
    if (!root->FindTag(L"body")) return Fail(E_INVALIDARG, "The page has no <body>.");
    m_root = std::move(root);
    return S_OK;
}

HRESULT CDHtmlDocument::LoadResource(HINSTANCE module, UINT resourceId) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kHtmlResourceType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!bytes) {
        CString error;
        error.Format("The HTML page %u is not in the resource library.", resourceId);
        return Fail(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND), error);
    }
    int size = (int)::SizeofResource(module, found);
    int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes, size, nullptr, 0);
    std::wstring text(length, L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, bytes, size, &text[0], length);
    return LoadText(text);
}

CDHtmlNode* CDHtmlDocument::GetBody() const {
    return m_root ? m_root->FindTag(L"body") : nullptr;
}

std::wstring CDHtmlDocument::GetTitle() const {
    if (!m_root) return std::wstring();
    CDHtmlNode* head = m_root->FindTag(L"head");
    CDHtmlNode* title = head ? head->FindTag(L"title") : nullptr;
    return title ? title->GetInnerText() : std::wstring();
}

CDHtmlNode* CDHtmlDocument::GetElementById(const char* id) const {
    if (!m_root || !id || !*id) return nullptr;
    return m_root->FindId(CString(id).Wide());
}
