// Properties of a provider object, kept as wide text, numbers and bytes, and handed out in
// MAPI memory in the type the caller asks for.
#pragma once

#include <windows.h>
#include <mapidefs.h>

#include <string>
#include <vector>

namespace mapiprovider {

// One property: an identifier and a value of type PT_UNICODE (all text), PT_LONG, PT_BOOLEAN
// or PT_BINARY.
class CPropValue {
public:
    static CPropValue Text(ULONG id, std::wstring text);
    static CPropValue Long(ULONG id, LONG value);
    static CPropValue Boolean(ULONG id, bool value);
    static CPropValue Binary(ULONG id, std::vector<BYTE> bytes);

    ULONG Id() const { return m_id; }
    ULONG Type() const { return m_type; }
    const std::wstring& TextValue() const { return m_text; }
    LONG LongValue() const { return m_long; }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    CPropValue(ULONG id, ULONG type) : m_id(id), m_type(type) {}

    ULONG m_id;
    ULONG m_type;
    std::wstring m_text;
    LONG m_long = 0;
    std::vector<BYTE> m_bytes;
};

class CPropertyBag {
public:
    // Adds the value, or replaces the one with the same identifier (keeping its place).
    void Set(CPropValue value);
    void Remove(ULONG id);
    const CPropValue* Find(ULONG id) const;
    bool Has(ULONG id) const { return Find(id) != nullptr; }
    // The text of a text property; empty when absent.
    std::wstring Text(ULONG id) const;
    const std::vector<CPropValue>& Values() const { return m_values; }

    // IMAPIProp::GetProps over this bag: the requested tags in order (a missing one as PT_ERROR
    // with MAPI_E_NOT_FOUND, and the call then answers MAPI_W_ERRORS_RETURNED), or every
    // property when tags is null. The array is one MAPIAllocateBuffer block.
    HRESULT GetProps(const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValue** values) const;
    // Every property tag, strings typed as GetProps without tags would type them.
    HRESULT GetPropList(ULONG flags, SPropTagArray** tags) const;

    // Writes the value for one requested tag into out, allocating its data more on owner.
    // Returns false (and writes the PT_ERROR value) when the bag lacks it.
    bool Fill(ULONG requestedTag, ULONG flags, void* owner, SPropValue* out, HRESULT* hr) const;

private:
    std::vector<CPropValue> m_values;
};

// Wide and ANSI (CP_ACP) text.
std::string ToAnsi(const std::wstring& text, bool* lossless = nullptr);
std::wstring FromAnsi(const char* text);
std::wstring FromUtf8(const std::string& text);

}  // namespace mapiprovider
