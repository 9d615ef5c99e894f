#include "PropertyBag.h"

#include <mapicode.h>
#include <mapix.h>

#include <cstring>

namespace mapiprovider {

namespace {

// Fills out with a copy of value in the given property type (a text type or the value's own).
HRESULT FillValue(const CPropValue& value, ULONG type, void* owner, SPropValue* out) {
    out->ulPropTag = PROP_TAG(type, value.Id());
    out->dwAlignPad = 0;
    switch (type) {
    case PT_STRING8: {
        const std::string ansi = ToAnsi(value.TextValue());
        void* data = nullptr;
        HRESULT hr = MAPIAllocateMore(static_cast<ULONG>(ansi.size() + 1), owner, &data);
        if (FAILED(hr)) return hr;
        std::memcpy(data, ansi.c_str(), ansi.size() + 1);
        out->Value.lpszA = static_cast<LPSTR>(data);
        return S_OK;
    }
    case PT_UNICODE: {
        const std::wstring& text = value.TextValue();
        void* data = nullptr;
        HRESULT hr = MAPIAllocateMore(static_cast<ULONG>((text.size() + 1) * sizeof(wchar_t)), owner, &data);
        if (FAILED(hr)) return hr;
        std::memcpy(data, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        out->Value.lpszW = static_cast<LPWSTR>(data);
        return S_OK;
    }
    case PT_LONG:
        out->Value.l = value.LongValue();
        return S_OK;
    case PT_BOOLEAN:
        out->Value.b = static_cast<unsigned short>(value.LongValue() ? 1 : 0);
        return S_OK;
    case PT_BINARY: {
        const std::vector<BYTE>& bytes = value.Bytes();
        void* data = nullptr;
        HRESULT hr = MAPIAllocateMore(static_cast<ULONG>(bytes.size() ? bytes.size() : 1), owner, &data);
        if (FAILED(hr)) return hr;
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        out->Value.bin.cb = static_cast<ULONG>(bytes.size());
        out->Value.bin.lpb = static_cast<LPBYTE>(data);
        return S_OK;
    }
    default:
        return MAPI_E_INVALID_TYPE;
    }
}

void FillError(ULONG requestedTag, SCODE error, SPropValue* out) {
    out->ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(requestedTag));
    out->dwAlignPad = 0;
    out->Value.err = error;
}

// The type in which a text property goes out when the caller named no type: wide when asked
// for Unicode, else ANSI, unless the ANSI code page cannot hold the text.
ULONG UnnamedTextType(const CPropValue& value, ULONG flags) {
    if (flags & MAPI_UNICODE) return PT_UNICODE;
    bool lossless = true;
    ToAnsi(value.TextValue(), &lossless);
    return lossless ? PT_STRING8 : PT_UNICODE;
}

}  // namespace

CPropValue CPropValue::Text(ULONG id, std::wstring text) {
    CPropValue value(id, PT_UNICODE);
    value.m_text = std::move(text);
    return value;
}

CPropValue CPropValue::Long(ULONG id, LONG number) {
    CPropValue value(id, PT_LONG);
    value.m_long = number;
    return value;
}

CPropValue CPropValue::Boolean(ULONG id, bool flag) {
    CPropValue value(id, PT_BOOLEAN);
    value.m_long = flag ? 1 : 0;
    return value;
}

CPropValue CPropValue::Binary(ULONG id, std::vector<BYTE> bytes) {
    CPropValue value(id, PT_BINARY);
    value.m_bytes = std::move(bytes);
    return value;
}

void CPropertyBag::Set(CPropValue value) {
    for (CPropValue& existing : m_values) {
        if (existing.Id() == value.Id()) {
            existing = std::move(value);
            return;
        }
    }
    m_values.push_back(std::move(value));
}

void CPropertyBag::Remove(ULONG id) {
    for (auto it = m_values.begin(); it != m_values.end(); ++it) {
        if (it->Id() == id) {
            m_values.erase(it);
            return;
        }
    }
}

const CPropValue* CPropertyBag::Find(ULONG id) const {
    for (const CPropValue& value : m_values) {
        if (value.Id() == id) return &value;
    }
    return nullptr;
}

std::wstring CPropertyBag::Text(ULONG id) const {
    const CPropValue* value = Find(id);
    return value && value->Type() == PT_UNICODE ? value->TextValue() : std::wstring();
}

bool CPropertyBag::Fill(ULONG requestedTag, ULONG flags, void* owner, SPropValue* out, HRESULT* hr) const {
    *hr = S_OK;
    const CPropValue* value = Find(PROP_ID(requestedTag));
    const ULONG requested = PROP_TYPE(requestedTag);
    if (!value) {
        FillError(requestedTag, MAPI_E_NOT_FOUND, out);
        return false;
    }
    ULONG type = value->Type();
    if (type == PT_UNICODE) {
        if (requested == PT_STRING8 || requested == PT_UNICODE)
            type = requested;
        else if (requested == PT_UNSPECIFIED)
            type = (flags & MAPI_UNICODE) ? PT_UNICODE : PT_STRING8;
        else
            type = PT_ERROR;
    } else if (requested != PT_UNSPECIFIED && requested != type) {
        type = PT_ERROR;
    }
    if (type == PT_ERROR) {
        FillError(requestedTag, MAPI_E_NOT_FOUND, out);
        return false;
    }
    *hr = FillValue(*value, type, owner, out);
    return SUCCEEDED(*hr);
}

HRESULT CPropertyBag::GetProps(const SPropTagArray* tags, ULONG flags, ULONG* count, SPropValue** values) const {
    if (!count || !values) return MAPI_E_INVALID_PARAMETER;
    *count = 0;
    *values = nullptr;
    const ULONG n = tags ? tags->cValues : static_cast<ULONG>(m_values.size());
    SPropValue* array = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * (n ? n : 1)), reinterpret_cast<void**>(&array));
    if (FAILED(hr)) return hr;
    bool missing = false;
    for (ULONG i = 0; i < n && SUCCEEDED(hr); ++i) {
        if (tags) {
            if (!Fill(tags->aulPropTag[i], flags, array, &array[i], &hr)) missing = true;
        } else {
            const CPropValue& value = m_values[i];
            const ULONG type = value.Type() == PT_UNICODE ? UnnamedTextType(value, flags) : value.Type();
            hr = FillValue(value, type, array, &array[i]);
        }
    }
    if (FAILED(hr)) {
        MAPIFreeBuffer(array);
        return hr;
    }
    *count = n;
    *values = array;
    return missing ? MAPI_W_ERRORS_RETURNED : S_OK;
}

HRESULT CPropertyBag::GetPropList(ULONG flags, SPropTagArray** tags) const {
    if (!tags) return MAPI_E_INVALID_PARAMETER;
    *tags = nullptr;
    SPropTagArray* array = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSPropTagArray(m_values.size() ? m_values.size() : 1)),
                                    reinterpret_cast<void**>(&array));
    if (FAILED(hr)) return hr;
    array->cValues = static_cast<ULONG>(m_values.size());
    for (size_t i = 0; i < m_values.size(); ++i) {
        const CPropValue& value = m_values[i];
        const ULONG type = value.Type() == PT_UNICODE ? UnnamedTextType(value, flags) : value.Type();
        array->aulPropTag[i] = PROP_TAG(type, value.Id());
    }
    *tags = array;
    return S_OK;
}

std::string ToAnsi(const std::wstring& text, bool* lossless) {
    if (lossless) *lossless = true;
    if (text.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int len = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string ansi(len, '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &ansi[0], len,
                          nullptr, &usedDefault);
    if (lossless) *lossless = !usedDefault;
    return ansi;
}

std::wstring FromAnsi(const char* text) {
    if (!text || !*text) return std::wstring();
    const int len = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(len, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], len);
    wide.resize(len > 0 ? len - 1 : 0);
    return wide;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int len = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(len, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], len);
    return wide;
}

}  // namespace mapiprovider
