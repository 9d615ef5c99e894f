// Shared by the tests of the contact and group dialogs and the recipient pickers: the test
// account signed in against this program's stand-in, empty caches, and the satellite library.
#pragma once

#include "CachedCollection.h"
#include "LoginState.h"
#include "TestMessengerApp.h"

#include <gtest/gtest.h>

#include "StandinTest.h"

#include <string>
#include <vector>

class ContactWindowsTest : public standin::StandinTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A contact service initialised with the signed-in credentials.
    CComPtr<IContactService> NewService() const;
    // How many requests of the operation the stand-in received since SetUp.
    size_t Requests(const wchar_t* operation) const { return Log().ByOperation(operation).size(); }
    size_t AllRequests() const { return Log().Empty() ? 0 : Log().All().size(); }
    // The text of an element of the operation's last request (empty when missing).
    std::wstring LastField(const wchar_t* operation, const wchar_t* element) const;
    // The texts of every element of that name in the operation's last request, in order.
    std::vector<std::wstring> LastFields(const wchar_t* operation, const wchar_t* element) const;

    CSatelliteScope m_satellite;
    CMessageBoxRecorder m_boxes;
};

// A BSTR property of a contact or group (empty when it cannot be read).
CString ContactText(IContact* contact, HRESULT (STDMETHODCALLTYPE IContact::*get)(BSTR*));
ULONG RefCount(IUnknown* object);
