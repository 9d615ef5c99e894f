// A window's hold on one of the signed-in state's cached collections (the account's contacts or
// its groups), and the look-ups every window and dialog makes in it.
//
// The signed-in state (CLoginState) keeps one contacts and one groups collection for the whole
// program; every window reads and changes those same objects. Its GetCachedContacts and
// GetCachedGroups consume one reference of the caller's service and lend the collection
// without a reference of its own. This class hides both rules:
//   - Fetch adds a reference to the service before each hand-over, so the caller's own
//     reference stays valid;
//   - it keeps a reference to the borrowed collection for as long as it lives (or until the
//     next Fetch or Release), so a reload elsewhere never frees the collection under a window.
// Other windows add to and remove from the shared collection while a window is open, so an
// entry's position is never remembered: IndexOf finds an entry by object identity, else by its
// ID, each time it is needed.
//
//     CCachedCollection contacts(CCachedCollection::kContacts);
//     if (!contacts.Fetch(service)) return;          // the failure was shown
//     for (long i = 1; i <= contacts.Count(); ++i) ... contacts.Item(i) ...
//     contacts.Remove(entry);                          // by identity, wherever it is now
//
// UI thread only. Add and the Item accessors throw _com_error; the other look-ups do not.
#pragma once

#include "afx.h"

#include <atlbase.h>
#include <comdef.h>

#include <functional>

#include "TarvockLib.h"

class CCachedCollection {
public:
    enum Kind { kContacts, kGroups };

    explicit CCachedCollection(Kind kind) : m_kind(kind) {}
    CCachedCollection(const CCachedCollection&) = delete;
    CCachedCollection& operator=(const CCachedCollection&) = delete;

    // Takes the signed-in state's collection, fetched through the service (initialised with
    // the signed-in credentials) when nothing is cached; the service keeps its reference.
    // False, holding nothing, when there is none (the failure was shown).
    bool Fetch(IContactService* service);
    // Lets go of this hold (the cache itself stays).
    void Release() { m_collection.Release(); }
    // Forgets the signed-in state's collection too, so the next Fetch reads the service.
    void Reload();

    Kind GetKind() const { return m_kind; }
    IObjectCollection* Get() const { return m_collection; }
    explicit operator bool() const { return m_collection != nullptr; }

    // The number of entries; 0 without a collection or when it cannot be read.
    long Count() const;
    // Entry `index` (from 1) with a reference for the caller; throws _com_error.
    CComPtr<IDispatch> Item(long index) const;
    CComPtr<IContact> ContactAt(long index) const;
    CComPtr<IContactGroup> GroupAt(long index) const;
    // The index (from 1) of the entry: the same object, else the first entry with its ID; 0 when
    // the collection does not hold it.
    long IndexOf(IUnknown* entry) const;
    long IndexOfId(const CString& id) const;
    // Appends the entry; throws _com_error.
    void Add(IDispatch* entry);
    // Removes the entry found by IndexOf; false (nothing changed) when it is not held.
    bool Remove(IUnknown* entry);

private:
    Kind m_kind;
    CComPtr<IObjectCollection> m_collection;
};

// Creates an SDK object (CreateDispatchObject, class text as "ContactService") and asks it for
// the interface; null when either fails, which has been reported (string 5001).
void* CreateSdkObject(REFCLSID clsid, const char* classText, REFIID iid);
template <class T>
CComPtr<T> CreateSdkObject(REFCLSID clsid, const char* classText) {
    CComPtr<T> object;
    object.Attach(static_cast<T*>(CreateSdkObject(clsid, classText, __uuidof(T))));
    return object;
}
// A ContactService given the signed-in credentials (IsServerSide left out); null when it
// cannot be made, which has been reported.
CComPtr<IContactService> OpenContactService();
// An optional argument left out.
VARIANT MissingArgument();

// Calls the function with each item of the collection (none: nothing), in order; throws
// _com_error when an item cannot be read.
void ForEachEntry(IObjectCollection* collection, const std::function<void(IDispatch*)>& function);

// The same COM object (IUnknown identity).
bool IsSameObject(IUnknown* a, IUnknown* b);
// The ID of a contact or group; empty for anything else. Throws _com_error when it cannot be read.
CString GetEntryId(IUnknown* entry);
// What lists show of an entry: a contact's QuickName, a group's Name; empty for anything else.
// Throws _com_error when it cannot be read.
CString GetEntryText(IUnknown* entry);
// A BSTR result as text (the BSTR is freed).
CString TakeBstr(BSTR text);
