#include "contacts/CachedCollection.h"

#include "resource.h"
#include "shared/Helpers.h"
#include "signin/LoginState.h"

#include <comsupp.h>

bool CCachedCollection::Fetch(IContactService* service) {
    m_collection.Release();
    // The signed-in state takes over the service it is handed: it gets a copy of its own.
    m_collection = m_kind == kContacts ? CLoginState::GetCachedContacts(service) : CLoginState::GetCachedGroups(service);
    return m_collection != nullptr;
}

void CCachedCollection::Reload() {
    m_collection.Release();
    if (m_kind == kContacts) {
        CLoginState::ReleaseCachedContacts();
    } else {
        CLoginState::ReleaseCachedGroups();
    }
}

long CCachedCollection::Count() const {
    long count = 0;
    if (!m_collection || FAILED(m_collection->get_Count(&count))) return 0;
    return count;
}

CComPtr<IDispatch> CCachedCollection::Item(long index) const {
    if (!m_collection) _com_issue_error(E_POINTER);
    CComPtr<IDispatch> item;
    HR_CHECK_ON(m_collection.p, IID_IObjectCollection, m_collection->get_Item(index, &item));
    if (!item) _com_issue_error(E_POINTER);
    return item;
}

CComPtr<IContact> CCachedCollection::ContactAt(long index) const {
    CComPtr<IContact> contact;
    HR_CHECK(Item(index)->QueryInterface(IID_IContact, (void**)&contact));
    return contact;
}

CComPtr<IContactGroup> CCachedCollection::GroupAt(long index) const {
    CComPtr<IContactGroup> group;
    HR_CHECK(Item(index)->QueryInterface(IID_IContactGroup, (void**)&group));
    return group;
}

long CCachedCollection::IndexOf(IUnknown* entry) const {
    if (!entry || !m_collection) return 0;
    long count = Count();
    for (long i = 1; i <= count; ++i) {
        CComPtr<IDispatch> item;
        if (SUCCEEDED(m_collection->get_Item(i, &item)) && IsSameObject(item, entry)) return i;
    }
    try {
        CString id = GetEntryId(entry);
        return id.IsEmpty() ? 0 : IndexOfId(id);
    } catch (const _com_error&) {
        return 0;
    }
}

long CCachedCollection::IndexOfId(const CString& id) const {
    if (id.IsEmpty() || !m_collection) return 0;
    long count = Count();
    for (long i = 1; i <= count; ++i) {
        CComPtr<IDispatch> item;
        if (FAILED(m_collection->get_Item(i, &item)) || !item) continue;
        try {
            if (GetEntryId(item) == id) return i;
        } catch (const _com_error&) {
            // an entry whose ID cannot be read is not the one
        }
    }
    return 0;
}

void CCachedCollection::Add(IDispatch* entry) {
    if (!m_collection || !entry) _com_issue_error(E_POINTER);
    HR_CHECK_ON(m_collection.p, IID_IObjectCollection, m_collection->Add(entry));
}

bool CCachedCollection::Remove(IUnknown* entry) {
    long index = IndexOf(entry);
    return index > 0 && SUCCEEDED(m_collection->Remove(index));
}

bool IsSameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b) return false;
    CComPtr<IUnknown> left, right;
    if (FAILED(a->QueryInterface(IID_IUnknown, (void**)&left))) return false;
    if (FAILED(b->QueryInterface(IID_IUnknown, (void**)&right))) return false;
    return left.p == right.p;
}

namespace {

// A text property of a contact or of a group, each read through its own getter; empty for
// anything else. Throws _com_error when it cannot be read.
CString ReadEntryText(IUnknown* entry, HRESULT (STDMETHODCALLTYPE IContact::*contactGetter)(BSTR*),
                      HRESULT (STDMETHODCALLTYPE IContactGroup::*groupGetter)(BSTR*)) {
    if (!entry) return CString();
    CComPtr<IContact> contact;
    if (SUCCEEDED(entry->QueryInterface(IID_IContact, (void**)&contact)) && contact)
        return ReadText(contact.p, contactGetter);
    CComPtr<IContactGroup> group;
    if (SUCCEEDED(entry->QueryInterface(IID_IContactGroup, (void**)&group)) && group)
        return ReadText(group.p, groupGetter);
    return CString();
}

}  // namespace

CString GetEntryId(IUnknown* entry) {
    return ReadEntryText(entry, &IContact::get_ID, &IContactGroup::get_ID);
}

CString GetEntryText(IUnknown* entry) {
    return ReadEntryText(entry, &IContact::get_QuickName, &IContactGroup::get_Name);
}

CComPtr<IContactService> OpenContactService() {
    CComPtr<IContactService> service = CreateSdkObject<IContactService>(CLSID_ContactService, "ContactService");
    if (!service) return service;
    HRESULT hr = service->Initialise(_bstr_t((const char*)CLoginState::Username()), _bstr_t((const char*)CLoginState::Password()),
                                     _bstr_t((const char*)CLoginState::Account()), MissingArgument());
    if (FAILED(hr)) {
        CString text;
        text.Format(CResString(IDS_OBJECT_NOT_CREATED), "ContactService");
        ReportHResult(text, hr);
        service.Release();
    }
    return service;
}

void ForEachEntry(IObjectCollection* collection, const std::function<void(IDispatch*)>& function) {
    if (!collection) return;
    long count = 0;
    HR_CHECK_ON(collection, IID_IObjectCollection, collection->get_Count(&count));
    for (long i = 1; i <= count; ++i) {
        CComPtr<IDispatch> item;
        HR_CHECK_ON(collection, IID_IObjectCollection, collection->get_Item(i, &item));
        function(item);
    }
}
