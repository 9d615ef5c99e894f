#include "afx.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <mbstring.h>

// ---------------------------------------------------------------------------------------------
// Run-time classes.

namespace {
CRuntimeClass* g_firstClass = nullptr;
}

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), nullptr, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pfnGetBaseClass ? cls->m_pfnGetBaseClass() : nullptr)
        if (cls == base) return true;
    return false;
}

CRuntimeClass* CRuntimeClass::Link(CRuntimeClass* cls) {
    cls->m_pNextClass = g_firstClass;
    g_firstClass = cls;
    return cls;
}

CRuntimeClass* CRuntimeClass::FromName(const char* className) {
    for (CRuntimeClass* cls = g_firstClass; cls; cls = cls->m_pNextClass)
        if (className && std::strcmp(cls->m_lpszClassName, className) == 0) return cls;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// CString.

HINSTANCE AfxGetResourceHandle();

CString::CString(const wchar_t* text) {
    if (!text || !*text) return;
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return;
    m_text.resize(bytes - 1);
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &m_text[0], bytes, nullptr, nullptr);
}

int CString::Compare(const char* text) const {
    return _mbscmp(reinterpret_cast<const unsigned char*>(m_text.c_str()),
                   reinterpret_cast<const unsigned char*>(text ? text : ""));
}

int CString::CompareNoCase(const char* text) const {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(m_text.c_str()),
                    reinterpret_cast<const unsigned char*>(text ? text : ""));
}

int CString::Find(const char* sub, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_text.find(sub ? sub : "", start);
    return at == std::string::npos ? -1 : (int)at;
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t at = m_text.find(ch, start);
    return at == std::string::npos ? -1 : (int)at;
}

int CString::ReverseFind(char ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::string::npos ? -1 : (int)at;
}

CString CString::Mid(int first, int count) const {
    first = std::max(0, first);
    if (first >= GetLength()) return CString();
    if (count < 0 || first + count > GetLength()) count = GetLength() - first;
    return CString(m_text.substr(first, count));
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, std::clamp(count, 0, GetLength())));
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(GetLength() - count));
}

CString& CString::MakeLower() {
    for (char& c : m_text) c = (char)std::tolower((unsigned char)c);
    return *this;
}

CString& CString::MakeUpper() {
    for (char& c : m_text) c = (char)std::toupper((unsigned char)c);
    return *this;
}

CString& CString::TrimLeft() {
    size_t first = 0;
    while (first < m_text.size() && std::isspace((unsigned char)m_text[first])) ++first;
    m_text.erase(0, first);
    return *this;
}

CString& CString::TrimRight() {
    size_t end = m_text.size();
    while (end > 0 && std::isspace((unsigned char)m_text[end - 1])) --end;
    m_text.erase(end);
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

int CString::Replace(const char* oldText, const char* newText) {
    if (!oldText || !*oldText) return 0;
    std::string replacement = newText ? newText : "";
    size_t oldLength = std::strlen(oldText);
    int count = 0;
    for (size_t at = m_text.find(oldText); at != std::string::npos; at = m_text.find(oldText, at + replacement.size())) {
        m_text.replace(at, oldLength, replacement);
        ++count;
    }
    return count;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::string text(length + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(length);
    m_text = text;
}

bool CString::LoadString(UINT id) {
    return LoadString(AfxGetResourceHandle(), id);
}

bool CString::LoadString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) {
        m_text.clear();
        return false;
    }
    *this = CString(std::wstring(text, length).c_str());
    return true;
}

char* CString::GetBuffer(int minLength) {
    if ((int)m_text.size() < minLength) m_text.resize(minLength);
    m_text.push_back('\0');  // room for the terminator the caller may write
    m_text.pop_back();
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = (int)std::strlen(m_text.c_str());
    m_text.resize(newLength);
}

std::wstring CString::Wide() const {
    if (m_text.empty()) return std::wstring();
    int chars = ::MultiByteToWideChar(CP_ACP, 0, m_text.c_str(), (int)m_text.size(), nullptr, 0);
    std::wstring wide(chars, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, m_text.c_str(), (int)m_text.size(), &wide[0], chars);
    return wide;
}

BSTR CString::AllocSysString() const {
    std::wstring wide = Wide();
    return ::SysAllocStringLen(wide.c_str(), (UINT)wide.size());
}

void AfxOutputDebugString(const char* text) {
    ::OutputDebugStringA(text);
}
