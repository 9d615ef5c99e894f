// The page model of the HTML dialogs: MSXML parses an XHTML page, and the page is kept as a small
// tree of elements and texts that the dialog lays out as native controls and reads and writes by
// element id.
#pragma once

#include "afx.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CDHtmlNode {
public:
    enum Kind { kElement, kText };

    CDHtmlNode(Kind kind, std::wstring tagOrText);

    Kind GetKind() const { return m_kind; }
    bool IsElement() const { return m_kind == kElement; }
    // An element's tag name, in lower case (empty for a text).
    const std::wstring& GetTag() const { return m_tag; }
    bool IsTag(const wchar_t* tag) const { return m_kind == kElement && m_tag == tag; }
    // A text node's characters as written (entities resolved by the parser).
    const std::wstring& GetText() const { return m_text; }

    // The attribute's value, or empty when missing.
    std::wstring GetAttribute(const wchar_t* name) const;
    bool HasAttribute(const wchar_t* name) const;
    void SetAttribute(const wchar_t* name, const std::wstring& value);
    std::wstring GetId() const { return GetAttribute(L"id"); }

    CDHtmlNode* GetParent() const { return m_parent; }
    const std::vector<std::unique_ptr<CDHtmlNode>>& GetChildren() const { return m_children; }
    CDHtmlNode* AppendChild(std::unique_ptr<CDHtmlNode> child);

    // The text of the node and its descendants, with every run of white space made one space
    // and the ends trimmed.
    std::wstring GetInnerText() const;
    // Replaces the children with one text.
    void SetInnerText(const std::wstring& text);
    // The first descendant element (or this one) with the tag, or none.
    const CDHtmlNode* FindTag(const wchar_t* tag) const;
    CDHtmlNode* FindTag(const wchar_t* tag) {
        return const_cast<CDHtmlNode*>(static_cast<const CDHtmlNode*>(this)->FindTag(tag));
    }
    // The first descendant element (or this one) with the id, or none.
    const CDHtmlNode* FindId(const std::wstring& id) const;
    CDHtmlNode* FindId(const std::wstring& id) {
        return const_cast<CDHtmlNode*>(static_cast<const CDHtmlNode*>(this)->FindId(id));
    }
    // Whether an element with the tag is this node or one of its ancestors.
    bool IsInside(const wchar_t* tag) const;

private:
    void AppendRawText(std::wstring& out) const;
    Kind m_kind;
    std::wstring m_tag;
    std::wstring m_text;
    std::vector<std::pair<std::wstring, std::wstring>> m_attributes;
    std::vector<std::unique_ptr<CDHtmlNode>> m_children;
    CDHtmlNode* m_parent = nullptr;
};

// Collapses every run of white space to one space and trims both ends.
std::wstring DHtmlCollapseWhiteSpace(const std::wstring& text);

class CDHtmlDocument {
public:
    // Parses an XHTML text (an XML declaration in front is allowed). S_OK, or the failure with
    // GetError() describing it; COM must be initialised on the thread.
    HRESULT LoadText(const std::wstring& xhtml);
    // Parses the HTML resource (type 23, UTF-8) of a module.
    HRESULT LoadResource(HINSTANCE module, UINT resourceId);

    bool IsLoaded() const { return m_root != nullptr; }
    // Why the last load failed (empty after a success).
    const CString& GetError() const { return m_error; }
    CDHtmlNode* GetRoot() const { return m_root.get(); }
    // The page's <body>, or none.
    CDHtmlNode* GetBody() const;
    // The text of the page's <title>.
    std::wstring GetTitle() const;
    CDHtmlNode* GetElementById(const char* id) const;

private:
    HRESULT Fail(HRESULT code, const CString& error);
    std::unique_ptr<CDHtmlNode> m_root;
    CString m_error;
};
