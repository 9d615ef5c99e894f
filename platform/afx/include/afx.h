// Core of our small class library: objects with run-time class information, the narrow string,
// a hash map in the class library's bucket order, and geometry helpers.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstdarg>
#include <string>
#include <vector>

#ifndef afx_msg
#define afx_msg
#endif

class CObject;
class CArchive;

// Flag of a serial class's schema: the class reads older schemas itself (GetObjectSchema).
#define VERSIONABLE_SCHEMA (0x80000000)

// Run-time class information: the class name, the base class, for classes declared creatable
// the function that makes a new object and, for serial classes, the schema number.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* (*m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;  // list of every class, for FromName
    UINT m_wSchema = 0xFFFF;      // 0xFFFF: not serial; else the schema, maybe with VERSIONABLE_SCHEMA

    CObject* CreateObject() const;
    // Serial classes can be written to and re-created from an archive.
    bool IsSerializable() const { return m_wSchema != 0xFFFF && m_pfnCreateObject; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    static CRuntimeClass* FromName(const char* className);
    // Links the class into the list of every class (done by the IMPLEMENT macros).
    static CRuntimeClass* Link(CRuntimeClass* cls);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* cls) const;
    // Writes the object's fields to, or reads them from, the archive.
    virtual void Serialize(CArchive&) {}
    static CRuntimeClass classCObject;
    static CRuntimeClass* _GetBaseClass() { return nullptr; }

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_DYNAMIC(name)                      \
public:                                            \
    static CRuntimeClass class##name;              \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(name) \
    DECLARE_DYNAMIC(name)       \
    static CObject* CreateObject();

// A serial class is created by class from an archive; `ar >> pointer` reads one of its kind.
#define DECLARE_SERIAL(name) \
    DECLARE_DYNCREATE(name)  \
    friend CArchive& operator>>(CArchive& ar, name*& object);

#define AFX_IMPLEMENT_RUNTIMECLASS(name, base, create) AFX_IMPLEMENT_RUNTIMECLASS_SCHEMA(name, base, create, 0xFFFF)
#define AFX_IMPLEMENT_RUNTIMECLASS_SCHEMA(name, base, create, schema)                              \
    CRuntimeClass name::class##name = {#name, (int)sizeof(name), create,                           \
                                       []() -> CRuntimeClass* { return RUNTIME_CLASS(base); },    \
                                       nullptr, (UINT)(schema)};                                   \
    static CRuntimeClass* afx_linked_##name = CRuntimeClass::Link(&name::class##name);             \
    CRuntimeClass* name::GetRuntimeClass() const { return RUNTIME_CLASS(name); }

#define IMPLEMENT_DYNAMIC(name, base) AFX_IMPLEMENT_RUNTIMECLASS(name, base, nullptr)
#define IMPLEMENT_DYNCREATE(name, base)                \
    CObject* name::CreateObject() { return new name; } \
    AFX_IMPLEMENT_RUNTIMECLASS(name, base, name::CreateObject)
// The file using it includes afxarchive.h.
#define IMPLEMENT_SERIAL(name, base, schema)                                             \
    CObject* name::CreateObject() { return new name; }                                   \
    AFX_IMPLEMENT_RUNTIMECLASS_SCHEMA(name, base, name::CreateObject, schema)            \
    CArchive& operator>>(CArchive& ar, name*& object) {                                  \
        object = static_cast<name*>(ar.ReadObject(RUNTIME_CLASS(name)));                 \
        return ar;                                                                       \
    }

// Narrow (ANSI code page) string with the familiar members.
class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text ? std::string(text, length) : std::string()) {}
    CString(char ch, int repeat = 1) : m_text(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::string& text) : m_text(text) {}
    // Converted from UTF-16 to the ANSI code page.
    CString(const wchar_t* text);

    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    int GetLength() const { return (int)m_text.size(); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(index); }
    char operator[](int index) const { return m_text.at(index); }
    void SetAt(int index, char ch) { m_text.at(index) = ch; }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const CString& text) { m_text += text.m_text; return *this; }
    CString& operator+=(const char* text) { m_text += text ? text : ""; return *this; }
    CString& operator+=(char ch) { m_text += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_text + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_text); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_text != b.m_text; }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    // Byte-wise comparison as multibyte strings (negative, zero, positive).
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    int Find(const char* sub, int start = 0) const;
    int Find(char ch, int start = 0) const;
    int ReverseFind(char ch) const;
    CString Mid(int first, int count = -1) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString& MakeLower();
    CString& MakeUpper();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(const char* oldText, const char* newText);

    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);
    // Loads a string of the class library's resource handle; false (and empty) when missing.
    bool LoadString(UINT id);
    bool LoadString(HINSTANCE instance, UINT id);

    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    // UTF-16 forms.
    std::wstring Wide() const;
    BSTR AllocSysString() const;

private:
    std::string m_text;
};

// A hash map with the class library's bucket order: the hash of an integer key is the key
// shifted right by 4 bits; new entries go to the front of their bucket; iteration walks the
// buckets in order.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    struct CPair {
        KEY key;
        VALUE value;
    };
    using POSITION_T = const void*;

    explicit CMap(UINT hashSize = 17) : m_buckets(hashSize) {}
    void InitHashTable(UINT hashSize) {
        RemoveAll();
        m_buckets.assign(hashSize, {});
    }
    UINT GetHashTableSize() const { return (UINT)m_buckets.size(); }
    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    bool Lookup(ARG_KEY key, VALUE& value) const {
        const CPair* pair = Find(key);
        if (!pair) return false;
        value = pair->value;
        return true;
    }
    CPair* PLookup(ARG_KEY key) { return const_cast<CPair*>(Find(key)); }
    VALUE& operator[](ARG_KEY key) {
        if (CPair* pair = PLookup(key)) return pair->value;
        auto& bucket = m_buckets[HashOf(key)];
        bucket.insert(bucket.begin(), CPair{key, VALUE()});
        ++m_count;
        return bucket.front().value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    bool RemoveKey(ARG_KEY key) {
        auto& bucket = m_buckets[HashOf(key)];
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->key == key) {
                bucket.erase(it);
                --m_count;
                return true;
            }
        }
        return false;
    }
    void RemoveAll() {
        for (auto& bucket : m_buckets) bucket.clear();
        m_count = 0;
    }
    // Visits every pair in bucket order.
    template <class F>
    void ForEach(F visit) {
        for (auto& bucket : m_buckets)
            for (auto& pair : bucket) visit(pair.key, pair.value);
    }

private:
    UINT HashOf(ARG_KEY key) const { return (UINT)(((UINT_PTR)key) >> 4) % (UINT)m_buckets.size(); }
    const CPair* Find(ARG_KEY key) const {
        for (const auto& pair : m_buckets[HashOf(key)])
            if (pair.key == key) return &pair;
        return nullptr;
    }
    std::vector<std::vector<CPair>> m_buckets;
    int m_count = 0;
};

class CPoint : public POINT {
public:
    CPoint(int px = 0, int py = 0) { x = px; y = py; }
    CPoint(const POINT& p) : POINT(p) {}
    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const { return !(*this == p); }
    CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
};

class CSize : public SIZE {
public:
    CSize(int w = 0, int h = 0) { cx = w; cy = h; }
    CSize(const SIZE& s) : SIZE(s) {}
    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const { return !(*this == s); }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) : RECT(r) {}
    CRect(POINT topLeft, SIZE size) {
        left = topLeft.x;
        top = topLeft.y;
        right = left + size.cx;
        bottom = top + size.cy;
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    // The common part of two rectangles; false (and empty) when they do not meet.
    bool IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b) != FALSE; }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// Thrown by the data exchange to abandon it after the user has been told (the class library's
// Fail); caught by UpdateData.
class CUserException {};

// Thrown when a window or other resource the caller cannot do without cannot be made.
class CResourceException {};
[[noreturn]] inline void AfxThrowResourceException() { throw CResourceException(); }

// Writes a line to the debugger output.
void AfxOutputDebugString(const char* text);
