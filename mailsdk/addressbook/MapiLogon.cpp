#include "MapiLogon.h"

namespace {

// MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_EXTENDED | MAPI_USE_DEFAULT | MAPI_NO_MAIL
const ULONG kLogonFlags = 0x8063;

}  // namespace

HRESULT CMapiLogon::Open() {
    HRESULT hr = MAPIInitialize(nullptr);
    if (FAILED(hr)) return hr;
    m_initialised = true;

    hr = MAPILogonEx(reinterpret_cast<ULONG_PTR>(::GetActiveWindow()), nullptr, nullptr, kLogonFlags, m_session.Out());
    if (FAILED(hr)) return hr;

    hr = m_session->OpenAddressBook(0, nullptr, 0, m_addressBook.Out());
    if (FAILED(hr)) return hr;

    ULONG objectType = 0;
    return m_addressBook->OpenEntry(0, nullptr, nullptr, 0, &objectType, m_root.OutUnknown());
}

void CMapiLogon::Close() {
    m_root.Reset();
    m_addressBook.Reset();
    if (m_session) {
        m_session->Logoff(0, 0, 0);
        m_session.Reset();
    }
    if (m_initialised) {
        MAPIUninitialize();
        m_initialised = false;
    }
}
