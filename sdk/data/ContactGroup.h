// ContactGroup: the group record of the account's address book, a plain property bag. Its
// members are not a property; they travel beside it as a list of contact identifiers. Besides
// IContactGroup it serves IObjectWithID and IObjectPointer, as a contact does. It does not log.
#pragma once

#include <windows.h>

#include "ObjectPointer.h"
#include "SdkObject.h"

class CContactGroup : public CSdkObject<CContactGroup, &CLSID_ContactGroup, IContactGroup, &IID_IContactGroup, 112>,
                      public IObjectWithID,
                      public CObjectPointerImpl<CContactGroup> {
public:
    BEGIN_COM_MAP(CContactGroup)
    COM_INTERFACE_ENTRY(IContactGroup)
    COM_INTERFACE_ENTRY2(IDispatch, IContactGroup)
    COM_INTERFACE_ENTRY(ISupportErrorInfo)
    COM_INTERFACE_ENTRY(IObjectWithID)
    COM_INTERFACE_ENTRY(IObjectPointer)
    END_COM_MAP()

    // IContactGroup; get_ID and put_ID also serve IObjectWithID.
    STDMETHOD(get_ID)(BSTR *pVal) override;
    STDMETHOD(put_ID)(BSTR newVal) override;
    STDMETHOD(get_Name)(BSTR *pVal) override;
    STDMETHOD(put_Name)(BSTR newVal) override;
    STDMETHOD(get_Description)(BSTR *pVal) override;
    STDMETHOD(put_Description)(BSTR newVal) override;
    STDMETHOD(get_GroupType)(CONTACT_GROUP_TYPE *pVal) override;
    STDMETHOD(put_GroupType)(CONTACT_GROUP_TYPE newVal) override;

    // The fields as they stand (null when unset), for the contact service.
    BSTR ID() const { return m_id.m_str; }
    BSTR Name() const { return m_name.m_str; }
    BSTR Description() const { return m_description.m_str; }
    CONTACT_GROUP_TYPE GroupType() const { return m_type; }

private:
    CComBSTR m_id;
    CComBSTR m_name;
    CComBSTR m_description;
    CONTACT_GROUP_TYPE m_type = CONTACT_GROUP_TYPE_GROUP;
};

// The group behind object when it is one of this server's groups; raises 5018 (E_FAIL) for
// anything else, a contact included. No reference is added.
CContactGroup* GroupFromObject(IUnknown* object);
