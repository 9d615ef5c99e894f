#include <windows.h>

#include "ContactGroup.h"

#include "DataFields.h"
#include "ObjectPointer.h"

STDMETHODIMP CContactGroup::get_ID(BSTR* pVal) {
    return GetText(m_id, pVal);
}

STDMETHODIMP CContactGroup::put_ID(BSTR newVal) {
    return PutText(m_id, newVal);
}

STDMETHODIMP CContactGroup::get_Name(BSTR* pVal) {
    return GetText(m_name, pVal);
}

STDMETHODIMP CContactGroup::put_Name(BSTR newVal) {
    return PutText(m_name, newVal);
}

STDMETHODIMP CContactGroup::get_Description(BSTR* pVal) {
    return GetText(m_description, pVal);
}

STDMETHODIMP CContactGroup::put_Description(BSTR newVal) {
    return PutText(m_description, newVal);
}

STDMETHODIMP CContactGroup::get_GroupType(CONTACT_GROUP_TYPE* pVal) {
    return GetValue(m_type, pVal);
}

STDMETHODIMP CContactGroup::put_GroupType(CONTACT_GROUP_TYPE newVal) {
    return PutValue(m_type, newVal);
}

CContactGroup* GroupFromObject(IUnknown* object) {
    return ImplementationFromObject<CContactGroup, IContactGroup>(object);
}
