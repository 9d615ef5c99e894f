// Owners of what MAPI hands out: interface references (UlRelease), MAPIAllocateBuffer blocks
// (MAPIFreeBuffer), row sets (FreeProws) and recipient lists (FreePadrlist).
#pragma once

#include <windows.h>
#include <mapix.h>
#include <mapiutil.h>

template <class T>
class CMapiRef {
public:
    CMapiRef() = default;
    ~CMapiRef() { Reset(); }
    CMapiRef(const CMapiRef&) = delete;
    CMapiRef& operator=(const CMapiRef&) = delete;

    void Reset() {
        if (m_p) UlRelease(m_p);
        m_p = nullptr;
    }
    T** Out() {
        Reset();
        return &m_p;
    }
    // For OpenEntry, which hands out an IUnknown pointer.
    LPUNKNOWN* OutUnknown() { return reinterpret_cast<LPUNKNOWN*>(Out()); }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

template <class T>
class CMapiBuffer {
public:
    CMapiBuffer() = default;
    ~CMapiBuffer() { Reset(); }
    CMapiBuffer(const CMapiBuffer&) = delete;
    CMapiBuffer& operator=(const CMapiBuffer&) = delete;

    void Reset() {
        if (m_p) MAPIFreeBuffer(m_p);
        m_p = nullptr;
    }
    T** Out() {
        Reset();
        return &m_p;
    }
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }

private:
    T* m_p = nullptr;
};

class CRowSet {
public:
    CRowSet() = default;
    ~CRowSet() { Reset(); }
    CRowSet(const CRowSet&) = delete;
    CRowSet& operator=(const CRowSet&) = delete;

    void Reset() {
        if (m_p) FreeProws(m_p);
        m_p = nullptr;
    }
    LPSRowSet* Out() {
        Reset();
        return &m_p;
    }
    ULONG Count() const { return m_p ? m_p->cRows : 0; }
    const SRow& Row(ULONG i) const { return m_p->aRow[i]; }

private:
    LPSRowSet m_p = nullptr;
};

class CAdrList {
public:
    CAdrList() = default;
    ~CAdrList() { Reset(); }
    CAdrList(const CAdrList&) = delete;
    CAdrList& operator=(const CAdrList&) = delete;

    void Reset() {
        if (m_p) FreePadrlist(m_p);
        m_p = nullptr;
    }
    LPADRLIST* Out() {
        Reset();
        return &m_p;
    }
    LPADRLIST Get() const { return m_p; }

private:
    LPADRLIST m_p = nullptr;
};
