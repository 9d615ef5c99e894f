#include "contacts/SelectContactsDlgEx.h"

#include "resource.h"
#include "shared/Helpers.h"

#include <comsupp.h>
#include <log4cpp/Category.hh>

namespace {

const char kClassName[] = "CSelectContactsDlgEx";

log4cpp::Category& Log() {
    return log4cpp::Category::getInstance(kClassName);
}

}  // namespace

std::vector<CString> CSelectContactsDlgEx::ReadBookNames(const VARIANT& names) {
    std::vector<CString> result;
    if (!(names.vt & VT_ARRAY) || !names.parray || ::SafeArrayGetDim(names.parray) != 1) return result;
    VARTYPE element = names.vt & ~VT_ARRAY;
    if (element != VT_VARIANT && element != VT_BSTR) return result;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(names.parray, 1, &lower)) || FAILED(::SafeArrayGetUBound(names.parray, 1, &upper)))
        return result;
    for (LONG i = lower; i <= upper; ++i) {
        if (element == VT_BSTR) {
            CComBSTR text;
            if (SUCCEEDED(::SafeArrayGetElement(names.parray, &i, &text))) result.push_back(CString(text));
            continue;
        }
        CComVariant item;
        if (SUCCEEDED(::SafeArrayGetElement(names.parray, &i, &item)) && item.vt == VT_BSTR)
            result.push_back(CString(item.bstrVal ? item.bstrVal : L""));
    }
    return result;
}

const char* const CSelectContactsDlgEx::kProfileSection = "Outlook";
const char* const CSelectContactsDlgEx::kProfileEntry = "AddrBook";

BEGIN_MESSAGE_MAP(CSelectContactsDlgEx, CSelectContactsDlg)
    ON_BN_CLICKED(IDC_ADD_RECIPIENT, OnAddButton)
    ON_CBN_SELCHANGE(IDC_ADDRESS_BOOKS, OnSelChangeAddrBook)
    ON_LBN_DBLCLK(IDC_ADDRESS_BOOK_ENTRIES, OnAddFromAddressBook)
    ON_NOTIFY(TCN_SELCHANGE, IDC_SOURCE_TABS, OnTabChanged)
END_MESSAGE_MAP()

CSelectContactsDlgEx::CSelectContactsDlgEx(const char* recipients, CWnd* parent)
    : CSelectContactsDlg(recipients, parent, IDD_SELECT_CONTACTS_EX) {}

bool CSelectContactsDlgEx::OnInitDialog() {
    CSelectContactsDlg::OnInitDialog();
    if (!m_tabs.m_hWnd) return true;  // the dialog did not open
    for (CWnd* button : {static_cast<CWnd*>(&m_new), static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_delete)}) {
        m_tabs.AddControl(button, kContactsTab);
        if (m_showGroups) m_tabs.AddControl(button, kGroupsTab);
    }
    m_tabs.InsertItem(kAddressBookTab, CResString(IDS_ADDRESS_BOOK_TAB));
    m_tabs.AddControl(&m_books, kAddressBookTab);
    m_tabs.AddControl(&m_bookEntries, kAddressBookTab);
    m_tabs.SetCurSel(kContactsTab);
    UpdateData(false);
    return true;
}

void CSelectContactsDlgEx::DoDataExchange(CDataExchange* dx) {
    CSelectContactsDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_NEW_ENTRY, m_new);
    DDX_Control(dx, IDC_EDIT_ENTRY, m_edit);
    DDX_Control(dx, IDC_DELETE_ENTRY, m_delete);
    DDX_Control(dx, IDC_ADDRESS_BOOKS, m_books);
    DDX_Control(dx, IDC_ADDRESS_BOOK_ENTRIES, m_bookEntries);
    if (m_tabs.m_hWnd && m_tabs.GetCurSel() == kAddressBookTab) {
        if (CWnd* add = GetDlgItem(IDC_ADD_RECIPIENT)) add->EnableWindow(m_bookEntries.GetCount() > 0);
    }
}

void CSelectContactsDlgEx::OnTabChanged(NMHDR*, LRESULT* result) {
    if (m_tabs.GetCurSel() == kAddressBookTab && m_books.GetCount() == 0) GetAddressBookNames();
    UpdateData(false);
    *result = 0;
}

void CSelectContactsDlgEx::GetAddressBookNames() {
    Log().debug("Entering %s::%s", kClassName, "GetAddressBookNames");
    CWaitCursor wait;
    if (!m_addressBook) {
        HRESULT hr = m_addressBook.CoCreateInstance(CLSID_AddressBook, nullptr, CLSCTX_ALL);
        if (FAILED(hr) || !m_addressBook) {
            Log().warn("The address book could not be created (0x%08lx).", (unsigned long)hr);
            m_addressBook.Release();
            return;  // the tab stays empty
        }
    }
    try {
        CComVariant names;
        HR_CHECK_ON(m_addressBook.p, IID_IAddressBook, m_addressBook->get_AddressBookNames(&names));
        std::vector<CString> books = ReadBookNames(names);
        for (const CString& book : books) m_books.AddString(book);
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ADDRESS_BOOKS_NOT_LISTED, error, true);
        return;
    }
    if (m_books.GetCount() == 0) return;
    CString stored = AfxGetApp() ? AfxGetApp()->GetProfileString(kProfileSection, kProfileEntry, "") : CString();
    int chosen = 0;
    for (int i = 0; !stored.IsEmpty() && i < m_books.GetCount(); ++i) {
        if (m_books.GetLBText(i) == stored) {
            chosen = i;
            break;
        }
    }
    m_books.SetCurSel(chosen);
    OnSelChangeAddrBook();
}

void CSelectContactsDlgEx::OnSelChangeAddrBook() {
    Log().debug("Entering %s::%s", kClassName, "OnSelChangeAddrBook");
    CWaitCursor wait;
    int selected = m_books.GetCurSel();
    if (selected < 0 || !m_addressBook) return;
    CString name = m_books.GetLBText(selected);
    if (name == m_bookName) return;  // that book is showing
    try {
        CComPtr<IObjectCollection> contacts;
        HR_CHECK_ON(m_addressBook.p, IID_IAddressBook,
                    m_addressBook->get_Contacts(_bstr_t((const char*)name), &contacts));
        m_bookEntries.ResetContent();
        m_bookContacts = contacts;
        if (!contacts) {
            // Nothing read (the server has said why): no book is showing, so choosing it retries.
            m_bookName.Empty();
            m_books.SetCurSel(-1);
            UpdateData(false);
            return;
        }
        m_bookName = name;
        ForEachEntry(contacts, [this](IDispatch* item) {
            CComPtr<IContact> contact;
            CString text;
            if (SUCCEEDED(item->QueryInterface(IID_IContact, (void**)&contact)) && contact) {
                CComBSTR first, last;
                contact->get_FirstName(&first);
                contact->get_LastName(&last);
                text = CString(first) + " " + CString(last);
                text.Trim();
            }
            m_bookEntries.InsertString(m_bookEntries.GetCount(), text);
        });
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ADDRESS_BOOK_NOT_READ, error, true);
    }
    UpdateData(false);
}

void CSelectContactsDlgEx::OnAddButton() {
    if (m_tabs.GetCurSel() == kAddressBookTab) {
        OnAddFromAddressBook();
    } else {
        OnAdd();
    }
}

void CSelectContactsDlgEx::OnAddFromAddressBook() {
    int index = m_bookEntries.GetCurSel();
    if (index < 0 || !m_bookContacts) return;
    try {
        CComPtr<IDispatch> item;
        HR_CHECK_ON(m_bookContacts.p, IID_IObjectCollection, m_bookContacts->get_Item(index + 1, &item));
        CComPtr<IContact> contact;
        if (!item || FAILED(item->QueryInterface(IID_IContact, (void**)&contact)) || !contact) return;
        AddRecipient(ReadText(contact.p, &IContact::get_MobileNumber), nullptr, true);
    } catch (const _com_error& error) {
        ReportComErrorId(IDS_ADDRESS_BOOK_NOT_READ, error, true);
        return;
    }
    m_recipients.SetCurSel(m_recipients.GetCount() - 1);
    UpdateData(false);
}

void CSelectContactsDlgEx::OnOK() {
    int selected = m_books.m_hWnd ? m_books.GetCurSel() : -1;
    if (m_books.m_hWnd && m_books.GetCount() > 0 && selected >= 0 && AfxGetApp())
        AfxGetApp()->WriteProfileString(kProfileSection, kProfileEntry, m_books.GetLBText(selected));
    CSelectContactsDlg::OnOK();
}
