// IAddrBook over the store: opens entries, names the personal address book and runs the
// address dialog.
#pragma once

#include <memory>

#include "Containers.h"
#include "MapiObject.h"

namespace mapiprovider {

class CAddrBook final : public CMapiProp<IAddrBook> {
public:
    explicit CAddrBook(std::shared_ptr<const CStore> store);

    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG flags, ULONG* objectType,
                         LPUNKNOWN* unknown) override;
    STDMETHOD(CompareEntryIDs)(ULONG cb1, LPENTRYID id1, ULONG cb2, LPENTRYID id2, ULONG flags, ULONG* result) override;
    STDMETHOD(Advise)(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG* connection) override;
    STDMETHOD(Unadvise)(ULONG) override;
    STDMETHOD(CreateOneOff)(LPTSTR, LPTSTR, LPTSTR, ULONG, ULONG* cb, LPENTRYID* id) override;
    STDMETHOD(NewEntry)(ULONG_PTR, ULONG, ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG* cb, LPENTRYID* id) override;
    STDMETHOD(ResolveName)(ULONG_PTR, ULONG, LPTSTR, LPADRLIST) override;
    STDMETHOD(Address)(ULONG_PTR* lpulUIParam, LPADRPARM lpAdrParms, LPADRLIST* lppAdrList) override;
    STDMETHOD(Details)(ULONG*, LPFNDISMISS, LPVOID, ULONG, LPENTRYID, LPFNBUTTON, LPVOID, LPTSTR, ULONG) override;
    STDMETHOD(RecipOptions)(ULONG_PTR, ULONG, LPADRENTRY) override;
    STDMETHOD(QueryDefaultRecipOpt)(LPTSTR, ULONG, ULONG* count, LPSPropValue* options) override;
    STDMETHOD(GetPAB)(ULONG* lpcbEntryID, LPENTRYID* lppEntryID) override;
    STDMETHOD(SetPAB)(ULONG, LPENTRYID) override;
    STDMETHOD(GetDefaultDir)(ULONG* cb, LPENTRYID* id) override;
    STDMETHOD(SetDefaultDir)(ULONG, LPENTRYID) override;
    STDMETHOD(GetSearchPath)(ULONG, LPSRowSet* path) override;
    STDMETHOD(SetSearchPath)(ULONG, LPSRowSet) override;
    STDMETHOD(PrepareRecips)(ULONG, LPSPropTagArray, LPADRLIST) override;

private:
    std::shared_ptr<const CStore> m_store;
    CEntryOpener m_opener;
};

}  // namespace mapiprovider
