// The server's MAPI session: initialisation, logon, the address book and its root container,
// opened when the object is created and closed when it is destroyed. Closing undoes exactly
// the steps that succeeded, so an object whose creation failed half-way destroys cleanly.
#pragma once

#include "MapiHandles.h"

class CMapiLogon {
public:
    CMapiLogon() = default;
    ~CMapiLogon() { Close(); }
    CMapiLogon(const CMapiLogon&) = delete;
    CMapiLogon& operator=(const CMapiLogon&) = delete;

    // MAPIInitialize, MAPILogonEx (the active window as parent, the default profile, no mail),
    // OpenAddressBook and OpenEntry of the root container; the first failure is returned.
    HRESULT Open();
    // Releases the root container and the address book, logs off and releases the session,
    // and uninitialises MAPI when it was initialised.
    void Close();

    IAddrBook* AddressBook() const { return m_addressBook.Get(); }
    IABContainer* Root() const { return m_root.Get(); }

private:
    bool m_initialised = false;
    CMapiRef<IMAPISession> m_session;
    CMapiRef<IAddrBook> m_addressBook;
    CMapiRef<IABContainer> m_root;
};
