// A window's hold on one of the signed-in state's cached collections (the account's contacts or
// its groups), and the look-ups every window and dialog makes in it.
//
// The signed-in state (CLoginState) keeps one contacts and one groups collection for the whole
// program; every window reads and changes those same objects. This class is a window's hold on
// one of them:
//   - Fetch hands the signed-in state a copy of the caller's service (the call takes over the
//     service it is given), so the caller's own reference stays valid;
//   - it keeps a reference to the collection for as long as it lives (or until the next Fetch
//     or Release), so a reload elsewhere never frees the collection under a window.
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

// A ContactService given the signed-in credentials (IsServerSide left out); null when it
// cannot be made, which has been reported.
CComPtr<IContactService> OpenContactService();

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
