// IMAPISession: opens the address book over the store chosen at logon, until logged off.
#pragma once

#include <memory>

#include "MapiObject.h"
#include "Store.h"

namespace mapiprovider {

class CSession final : public CMapiObject<IMAPISession> {
public:
    explicit CSession(std::shared_ptr<const CStore> store);

    STDMETHOD(GetLastError)(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override;
    STDMETHOD(GetMsgStoresTable)(ULONG, LPMAPITABLE* table) override;
    STDMETHOD(OpenMsgStore)(ULONG_PTR, ULONG, LPENTRYID, LPCIID, ULONG, LPMDB* store) override;
    STDMETHOD(OpenAddressBook)(ULONG_PTR ulUIParam, LPCIID lpInterface, ULONG flags, LPADRBOOK* lppAdrBook) override;
    STDMETHOD(OpenProfileSection)(LPMAPIUID, LPCIID, ULONG, LPPROFSECT* section) override;
    STDMETHOD(GetStatusTable)(ULONG, LPMAPITABLE* table) override;
    STDMETHOD(OpenEntry)(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG flags, ULONG* objectType,
                         LPUNKNOWN* unknown) override;
    STDMETHOD(CompareEntryIDs)(ULONG, LPENTRYID, ULONG, LPENTRYID, ULONG, ULONG* result) override;
    STDMETHOD(Advise)(ULONG, LPENTRYID, ULONG, LPMAPIADVISESINK, ULONG* connection) override;
    STDMETHOD(Unadvise)(ULONG) override;
    STDMETHOD(MessageOptions)(ULONG_PTR, ULONG, LPTSTR, LPMESSAGE) override;
    STDMETHOD(QueryDefaultMessageOpt)(LPTSTR, ULONG, ULONG* count, LPSPropValue* options) override;
    STDMETHOD(EnumAdrTypes)(ULONG, ULONG* count, LPTSTR** types) override;
    STDMETHOD(QueryIdentity)(ULONG* cb, LPENTRYID* id) override;
    STDMETHOD(Logoff)(ULONG_PTR ulUIParam, ULONG flags, ULONG reserved) override;
    STDMETHOD(SetDefaultStore)(ULONG, ULONG, LPENTRYID) override;
    STDMETHOD(AdminServices)(ULONG, LPSERVICEADMIN* admin) override;
    STDMETHOD(ShowForm)(ULONG_PTR, LPMDB, LPMAPIFOLDER, LPCIID, ULONG, LPMESSAGE, ULONG, ULONG, ULONG, ULONG, LPSTR) override;
    STDMETHOD(PrepareForm)(LPCIID, LPMESSAGE, ULONG* token) override;

private:
    std::shared_ptr<const CStore> m_store;
    bool m_loggedOff = false;
};

}  // namespace mapiprovider
