#include "AddressDialog.h"

#include <mapicode.h>
#include <mapitags.h>
#include <mapiutil.h>

#include <cstring>

#include "MapiProviderControl.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace mapiprovider {

namespace {

std::wstring ParamText(LPTSTR text, ULONG flags) {
    if (!text) return std::wstring();
    if (flags & MAPI_UNICODE) return reinterpret_cast<const wchar_t*>(text);
    return FromAnsi(reinterpret_cast<const char*>(text));
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return parts;
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// ---- the interactive dialog, built in memory ------------------------------------------------

class CTemplateWriter {
public:
    void Dialog(const wchar_t* caption, short cx, short cy, WORD controls) {
        DLGTEMPLATE dialog = {};
        dialog.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dialog.cdit = controls;
        dialog.cx = cx;
        dialog.cy = cy;
        Append(&dialog, sizeof dialog);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Text(caption);
        Word(8);
        Text(L"MS Shell Dlg");
    }
    void Control(WORD id, WORD atom, const wchar_t* text, DWORD style, short x, short y, short cx, short cy) {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

private:
    void Append(const void* data, size_t size) {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    void Word(WORD value) { Append(&value, sizeof value); }
    void Text(const wchar_t* text) { Append(text, (std::wcslen(text) + 1) * sizeof(wchar_t)); }
    void Align() {
        while (m_bytes.size() % 4) m_bytes.push_back(0);
    }
    std::vector<BYTE> m_bytes;
};

const WORD kButton = 0x0080, kStatic = 0x0082, kListBox = 0x0083, kComboBox = 0x0085;

// The state of one run of the interactive dialog.
class CInteractiveDialog {
public:
    CInteractiveDialog(const CStore& store, std::vector<CBook> books, std::vector<CPick>* picks)
        : m_store(store), m_books(std::move(books)), m_picks(picks) {}

    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<CInteractiveDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
        return self ? self->Handle(dialog, message, wParam) : FALSE;
    }

private:
    INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam) {
        switch (message) {
        case WM_INITDIALOG:
            for (const CBook& book : m_books)
                ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_BOOKS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(book.displayName.c_str()));
            ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_BOOKS, CB_SETCURSEL, 0, 0);
            ShowBook(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case TARVOCK_MAPI_DIALOG_BOOKS:
                if (HIWORD(wParam) == CBN_SELCHANGE) ShowBook(dialog);
                return TRUE;
            case TARVOCK_MAPI_DIALOG_ENTRIES:
                if (HIWORD(wParam) == LBN_DBLCLK) AddSelected(dialog);
                return TRUE;
            case TARVOCK_MAPI_DIALOG_ADD:
                AddSelected(dialog);
                return TRUE;
            case TARVOCK_MAPI_DIALOG_PICKS:
                if (HIWORD(wParam) == LBN_DBLCLK) RemoveSelected(dialog);
                return TRUE;
            case IDOK:
            case IDCANCEL:
                ::EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }

    void ShowBook(HWND dialog) {
        m_entries.clear();
        ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_ENTRIES, LB_RESETCONTENT, 0, 0);
        const LRESULT selected = ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_BOOKS, CB_GETCURSEL, 0, 0);
        if (selected < 0 || static_cast<size_t>(selected) >= m_books.size()) return;
        m_book = static_cast<size_t>(selected);
        m_entries = m_store.Entries(m_books[m_book]);
        for (const CEntry& entry : m_entries)
            ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_ENTRIES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.DisplayName().c_str()));
    }

    void AddSelected(HWND dialog) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_ENTRIES, LB_GETSEL, i, 0) <= 0) continue;
            m_picks->push_back({m_books[m_book], m_entries[i]});
            ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_PICKS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_entries[i].DisplayName().c_str()));
        }
    }

    void RemoveSelected(HWND dialog) {
        const LRESULT selected = ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_PICKS, LB_GETCURSEL, 0, 0);
        if (selected < 0 || static_cast<size_t>(selected) >= m_picks->size()) return;
        m_picks->erase(m_picks->begin() + selected);
        ::SendDlgItemMessageW(dialog, TARVOCK_MAPI_DIALOG_PICKS, LB_DELETESTRING, selected, 0);
    }

    const CStore& m_store;
    std::vector<CBook> m_books;
    std::vector<CPick>* m_picks;
    size_t m_book = 0;
    std::vector<CEntry> m_entries;
};

}  // namespace

CDialogTexts CDialogTexts::From(const ADRPARM& parms) {
    CDialogTexts texts;
    texts.caption = ParamText(parms.lpszCaption, parms.ulFlags);
    if (parms.cDestFields > 0 && parms.lppszDestTitles) texts.destTitle = ParamText(parms.lppszDestTitles[0], parms.ulFlags);
    return texts;
}

std::vector<CBook> CAddressDialog::Books() const {
    std::vector<CBook> books;
    CBook personal;
    if (m_store.PersonalBook(&personal)) books.push_back(personal);
    for (const CBook& book : m_store.HierarchyBooks()) {
        if (book.hasName && (book.containerFlags & AB_RECIPIENTS) && !(book.containerFlags & AB_SUBCONTAINERS)) books.push_back(book);
    }
    return books;
}

HRESULT CAddressDialog::RunScript(const std::wstring& script, std::vector<CPick>* picks) const {
    if (Trimmed(script) == L"cancel") return MAPI_E_USER_CANCEL;
    const std::vector<CBook> books = Books();
    for (const std::wstring& item : Split(script, L'|')) {
        const std::wstring pick = Trimmed(item);
        if (pick.empty()) continue;
        const size_t slash = pick.find(L'/');
        if (slash == std::wstring::npos) return MAPI_E_NOT_FOUND;
        const std::wstring bookName = Trimmed(pick.substr(0, slash));
        const std::wstring entryName = Trimmed(pick.substr(slash + 1));
        bool found = false;
        for (const CBook& book : books) {
            if (book.displayName != bookName) continue;
            for (const CEntry& entry : m_store.Entries(book)) {
                if (entry.DisplayName() == entryName) {
                    picks->push_back({book, entry});
                    found = true;
                    break;
                }
            }
            if (found) break;
        }
        if (!found) return MAPI_E_NOT_FOUND;
    }
    return S_OK;
}

HRESULT CAddressDialog::RunInteractive(HWND parent, const CDialogTexts& texts, std::vector<CPick>* picks) const {
    const std::wstring addLabel = (texts.destTitle.empty() ? std::wstring(L"To") : texts.destTitle) + L" ->";
    CTemplateWriter writer;
    writer.Dialog(texts.caption.empty() ? L"Address Book" : texts.caption.c_str(), 300, 180, 7);
    writer.Control(0xFFFF, kStatic, L"Show names from the:", SS_LEFT, 7, 8, 80, 10);
    writer.Control(TARVOCK_MAPI_DIALOG_BOOKS, kComboBox, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 90, 6, 203, 120);
    writer.Control(TARVOCK_MAPI_DIALOG_ENTRIES, kListBox, L"",
                   LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 7, 24, 130, 128);
    writer.Control(TARVOCK_MAPI_DIALOG_ADD, kButton, addLabel.c_str(), BS_PUSHBUTTON | WS_TABSTOP, 143, 24, 50, 14);
    writer.Control(TARVOCK_MAPI_DIALOG_PICKS, kListBox, L"",
                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 198, 24, 95, 128);
    writer.Control(IDOK, kButton, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 189, 159, 50, 14);
    writer.Control(IDCANCEL, kButton, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 243, 159, 50, 14);

    CInteractiveDialog dialog(m_store, Books(), picks);
    const INT_PTR result = ::DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(&__ImageBase), writer.Get(), parent,
                                                     &CInteractiveDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
    if (result == IDOK) return S_OK;
    picks->clear();
    return result == IDCANCEL ? MAPI_E_USER_CANCEL : MAPI_E_CALL_FAILED;
}

HRESULT MakeAdrList(const std::vector<CPick>& picks, ULONG flags, LPADRLIST* list) {
    static const ULONG kTags[] = {
        PROP_TAG(PT_UNSPECIFIED, PROP_ID(PR_DISPLAY_NAME_A)), PROP_TAG(PT_UNSPECIFIED, PROP_ID(PR_ADDRTYPE_A)),
        PROP_TAG(PT_UNSPECIFIED, PROP_ID(PR_EMAIL_ADDRESS_A)), PR_OBJECT_TYPE, PR_DISPLAY_TYPE, PR_RECIPIENT_TYPE,
        PR_ENTRYID,
    };
    *list = nullptr;
    ADRLIST* adrList = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewADRLIST(picks.empty() ? 1 : picks.size())), reinterpret_cast<void**>(&adrList));
    if (FAILED(hr)) return hr;
    adrList->cEntries = 0;
    for (const CPick& pick : picks) {
        CPropertyBag bag = pick.entry.properties;
        bag.Set(CPropValue::Long(PROP_ID(PR_RECIPIENT_TYPE), MAPI_TO));
        std::vector<ULONG> tags;
        for (ULONG tag : kTags) {
            if (bag.Has(PROP_ID(tag))) tags.push_back(tag);
        }
        SPropValue* values = nullptr;
        hr = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * tags.size()), reinterpret_cast<void**>(&values));
        for (size_t i = 0; SUCCEEDED(hr) && i < tags.size(); ++i) bag.Fill(tags[i], flags & MAPI_UNICODE, values, &values[i], &hr);
        if (FAILED(hr)) {
            MAPIFreeBuffer(values);
            FreePadrlist(adrList);
            return hr;
        }
        ADRENTRY& entry = adrList->aEntries[adrList->cEntries++];
        entry.ulReserved1 = 0;
        entry.cValues = static_cast<ULONG>(tags.size());
        entry.rgPropVals = values;
    }
    *list = adrList;
    return S_OK;
}

}  // namespace mapiprovider
