// Shared by the tests of the contact and group dialogs and the recipient pickers: the test
// account signed in against this program's stand-in, empty caches, and the satellite library.
#pragma once

#include "contacts/CachedCollection.h"
#include "signin/LoginState.h"
#include "support/TestMessengerApp.h"

#include <gtest/gtest.h>

#include "StandinTest.h"

#include <functional>
#include <string>
#include <vector>

class ContactWindowsTest : public standin::StandinTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Fills both caches, then clears the request log.
    void WarmCaches();
    // A contact service initialised with the test account's credentials.
    CComPtr<IContactService> NewService(const char* password = "test") const;
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

// Drives the thread's modal dialogs, nested ones too, one step at a time from a thread timer
// (whose procedure every modal loop dispatches). A step runs once the enabled dialog of the
// thread (the innermost modal one) has the step's caption. A script that waits 15 s for a
// dialog ends every dialog with IDABORT and counts as failed.
class CDialogScript {
public:
    using Step = std::function<void(HWND dialog)>;
    CDialogScript();
    ~CDialogScript();
    CDialogScript& Then(const char* caption, Step step);
    // Every step ran (and none timed out).
    bool Finished() const { return !m_timedOut && m_next == m_steps.size(); }

    // Control helpers for steps.
    static void Type(HWND dialog, int id, const char* text);
    static CString Text(HWND dialog, int id);
    // Posts a button's click (so a step that opens a nested dialog returns at once).
    static void Click(HWND dialog, int id);
    // Selects the entry with that text (ignoring case); false when the list has none.
    static bool Select(HWND dialog, int id, const char* text);
    static bool SelectCombo(HWND dialog, int id, const char* text);
    // Posts a list's double-click.
    static void DoubleClick(HWND dialog, int id);
    // Selects a tab as a click does (the change notification included).
    static void SelectTab(HWND dialog, int id, int tab);
    static std::vector<CString> Entries(HWND dialog, int id);
    // The selected entry of a list box (empty when none is).
    static CString Selected(HWND dialog, int id);
    static bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    struct Entry {
        CString caption;
        Step step;
    };
    std::vector<Entry> m_steps;
    size_t m_next = 0;
    int m_waited = 0;
    bool m_timedOut = false;
    UINT_PTR m_timer = 0;
    CDialogScript* m_outer = nullptr;
};
