#include "afxdhtml.h"

#include "DHtmlPage.h"

#include <windowsx.h>

namespace {

// Whether an element or one of its descendants is shown by a control of its own.
bool HoldsControls(const CDHtmlNode* node) {
    if (CDHtmlPage::KindOf(node) != CDHtmlPage::kNone) return true;
    for (const auto& child : node->GetChildren())
        if (HoldsControls(child.get())) return true;
    return false;
}

std::wstring WindowText(HWND hwnd) {
    int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(length + 1, L'\0');
    ::GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(length);
    return text;
}

bool IsEditKind(CDHtmlPage::ControlKind kind) {
    return kind == CDHtmlPage::kEdit || kind == CDHtmlPage::kPassword;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDHtmlDialog, CDialog)

BEGIN_MESSAGE_MAP(CDHtmlDialog, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_DRAWITEM, OnDrawItemMessage)
    ON_MESSAGE(WM_CTLCOLORDLG, OnCtlColorMessage)
    ON_MESSAGE(WM_CTLCOLORSTATIC, OnCtlColorMessage)
    ON_MESSAGE(WM_CTLCOLORBTN, OnCtlColorMessage)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenuMessage)
END_MESSAGE_MAP()

CDHtmlDialog::CDHtmlDialog(UINT templateId, UINT htmlResId, CWnd* parent)
    : CDialog(templateId, parent), m_nHtmlResID(htmlResId) {}

CDHtmlDialog::~CDHtmlDialog() = default;

bool CDHtmlDialog::LoadPage() {
    m_pageResult = m_document.LoadResource(AfxGetResourceHandle(), m_nHtmlResID);
    if (FAILED(m_pageResult)) {
        AfxOutputDebugString(CString("CDHtmlDialog: ") + m_document.GetError() + "\n");
        return false;
    }
    m_page.reset(new CDHtmlPage);
    auto onContextMenu = [this](const CDHtmlNode* node, POINT point) {
        DWORD kind = node ? 2 : 0;  // a form control, or the page itself
        return ShowContextMenu(kind, &point, nullptr, nullptr) == S_OK;
    };
    if (!m_page->Create(this, &m_document, kFirstControlId, onContextMenu)) {
        m_pageResult = E_OUTOFMEMORY;
        AfxOutputDebugString("CDHtmlDialog: the page's controls could not be created.\n");
        m_page.reset();
        return false;
    }
    std::wstring title = m_document.GetTitle();
    if (!title.empty()) ::SetWindowTextW(m_hWnd, title.c_str());
    if (UINT defaultId = m_page->DefaultButtonId()) SendMessage(DM_SETDEFID, defaultId);
    return true;
}

CString CDHtmlDialog::GetPageError() const {
    return m_document.GetError();
}

bool CDHtmlDialog::OnInitDialog() {
    if (!LoadPage()) {
        if (m_bModal) ::EndDialog(m_hWnd, -1);
        return true;
    }
    CString url;
    url.Format("res://%u", m_nHtmlResID);
    OnDocumentComplete(nullptr, url);
    return CDialog::OnInitDialog();
}

bool CDHtmlDialog::Create(UINT templateId, CWnd* parent) {
    if (!CDialog::Create(templateId, parent)) return false;
    if (SUCCEEDED(m_pageResult)) return true;
    DestroyWindow();
    return false;
}

void CDHtmlDialog::OnOK() {}

void CDHtmlDialog::OnBeforeNavigate(LPDISPATCH, const char*) {}

void CDHtmlDialog::OnDocumentComplete(LPDISPATCH, const char*) {}

HRESULT CDHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_FALSE;
}

bool CDHtmlDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    const CDHtmlNode* element = m_page ? m_page->NodeFromControlId(id) : nullptr;
    if (element && (HWND)lParam == m_page->ControlOf(element)) {
        if (code == BN_CLICKED) OnElementClicked(element);
        return true;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDHtmlDialog::OnElementClicked(const CDHtmlNode* element) {
    const std::wstring id = element->GetId();
    const bool link = CDHtmlPage::KindOf(element) == CDHtmlPage::kLink;
    const CString href(element->GetAttribute(L"href").c_str());
    const HWND window = m_hWnd;
    if (const DHtmlEventMapEntry* entry = GetDHtmlEventMap()) {
        for (; entry->handler; ++entry) {
            if (entry->event == DHTML_EVENT_CLICK && !id.empty() && CString(entry->elementId).Wide() == id) {
                entry->handler(this, element);
                break;
            }
        }
    }
    // The handler may have destroyed the window, and a self-deleting dialog with it: a link is
    // followed only while the page is up.
    if (!::IsWindow(window) || !m_page) return;
    if (link) OnBeforeNavigate(nullptr, href);
}

void CDHtmlDialog::OnSize(UINT, int, int) {
    if (m_page) m_page->Layout();
}

void CDHtmlDialog::OnDestroy() {
    if (m_page) m_page->Destroy();
    m_page.reset();
    Default();
}

LRESULT CDHtmlDialog::OnDrawItemMessage(WPARAM, LPARAM lParam) {
    if (m_page && m_page->OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    return Default();
}

LRESULT CDHtmlDialog::OnCtlColorMessage(WPARAM wParam, LPARAM lParam) {
    if (!m_page) return Default();
    return (LRESULT)m_page->OnCtlColor((HDC)wParam, (HWND)lParam);
}

LRESULT CDHtmlDialog::OnContextMenuMessage(WPARAM wParam, LPARAM lParam) {
    const CDHtmlNode* node = m_page ? m_page->NodeFromControlId(::GetDlgCtrlID((HWND)wParam)) : nullptr;
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (ShowContextMenu(node ? 2 : 0, &point, nullptr, nullptr) == S_OK) return 0;
    return Default();
}

// ---------------------------------------------------------------------------------------------
// Element access.

HWND CDHtmlDialog::GetElementHwnd(const char* id) const {
    const CDHtmlNode* node = m_document.GetElementById(id);
    return node && m_page ? m_page->ControlOf(node) : nullptr;
}

HRESULT CDHtmlDialog::GetElementText(const char* id, CString& text) const {
    const CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    HWND control = m_page ? m_page->ControlOf(node) : nullptr;
    if (control && IsEditKind(CDHtmlPage::KindOf(node))) {
        text = CString(WindowText(control).c_str());  // an input's inner text is its value
        return S_OK;
    }
    text = CString(node->GetInnerText().c_str());
    return S_OK;
}

HRESULT CDHtmlDialog::SetElementText(const char* id, const char* text) {
    CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    CDHtmlPage::ControlKind kind = CDHtmlPage::KindOf(node);
    if (IsEditKind(kind)) return SetElementValue(id, text);
    // A text replaces the element's content: content shown by controls of its own cannot go.
    for (const auto& child : node->GetChildren())
        if (HoldsControls(child.get())) return DISP_E_TYPEMISMATCH;
    if (kind == CDHtmlPage::kCheckBox) return DISP_E_TYPEMISMATCH;
    node->SetInnerText(CString(text).Wide());
    if (m_page) m_page->Refresh();
    return S_OK;
}

HRESULT CDHtmlDialog::GetElementValue(const char* id, CString& value) const {
    const CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    if (!node->IsTag(L"input")) return DISP_E_TYPEMISMATCH;
    HWND control = m_page ? m_page->ControlOf(node) : nullptr;
    value = CString(control && IsEditKind(CDHtmlPage::KindOf(node)) ? WindowText(control).c_str()
                                                                     : node->GetAttribute(L"value").c_str());
    return S_OK;
}

HRESULT CDHtmlDialog::SetElementValue(const char* id, const char* value) {
    CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    if (!node->IsTag(L"input")) return DISP_E_TYPEMISMATCH;
    std::wstring wide = CString(value).Wide();
    node->SetAttribute(L"value", wide);
    HWND control = m_page ? m_page->ControlOf(node) : nullptr;
    if (control && IsEditKind(CDHtmlPage::KindOf(node))) {
        ::SetWindowTextW(control, wide.c_str());
    } else if (m_page) {
        m_page->Refresh();  // a button's caption
    }
    return S_OK;
}

HRESULT CDHtmlDialog::GetElementChecked(const char* id, int& checked) const {
    const CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    if (CDHtmlPage::KindOf(node) != CDHtmlPage::kCheckBox) return DISP_E_TYPEMISMATCH;
    HWND control = m_page ? m_page->ControlOf(node) : nullptr;
    checked = control ? (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0)
                      : (node->HasAttribute(L"checked") ? 1 : 0);
    return S_OK;
}

HRESULT CDHtmlDialog::SetElementChecked(const char* id, int checked) {
    CDHtmlNode* node = m_document.GetElementById(id);
    if (!node) return E_INVALIDARG;
    if (CDHtmlPage::KindOf(node) != CDHtmlPage::kCheckBox) return DISP_E_TYPEMISMATCH;
    if (HWND control = m_page ? m_page->ControlOf(node) : nullptr)
        ::SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Data exchange.

namespace {

CDHtmlDialog* DHtmlDialogOf(CDataExchange* dx) {
    CWnd* wnd = dx->m_pDlgWnd;
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CDHtmlDialog)) ? static_cast<CDHtmlDialog*>(wnd) : nullptr;
}

void ReportExchangeFailure(const char* id, HRESULT hr) {
    CString text;
    text.Format("DDX_DHtml: the element \"%s\" could not be exchanged (0x%08lX).\n", id ? id : "",
                (unsigned long)hr);
    AfxOutputDebugString(text);
}

}  // namespace

void DDX_DHtml_ElementText(CDataExchange* dx, const char* id, DISPID property, CString& value) {
    CDHtmlDialog* dialog = DHtmlDialogOf(dx);
    if (!dialog) return ReportExchangeFailure(id, E_NOINTERFACE);
    const bool valueProperty = property == DISPID_DHTML_VALUE;
    HRESULT hr;
    if (dx->m_bSaveAndValidate) {
        CString read;
        hr = valueProperty ? dialog->GetElementValue(id, read) : dialog->GetElementText(id, read);
        if (SUCCEEDED(hr)) value = read;
    } else {
        hr = valueProperty ? dialog->SetElementValue(id, value) : dialog->SetElementText(id, value);
    }
    if (FAILED(hr)) ReportExchangeFailure(id, hr);
    dx->m_idLastControl = dialog->GetElementHwnd(id);
}

void DDX_DHtml_ElementValue(CDataExchange* dx, const char* id, CString& value) {
    DDX_DHtml_ElementText(dx, id, DISPID_DHTML_VALUE, value);
}

void DDX_DHtml_ElementInnerText(CDataExchange* dx, const char* id, CString& value) {
    DDX_DHtml_ElementText(dx, id, DISPID_DHTML_INNERTEXT, value);
}

void DDX_DHtml_CheckBox(CDataExchange* dx, const char* id, int& value) {
    CDHtmlDialog* dialog = DHtmlDialogOf(dx);
    if (!dialog) return ReportExchangeFailure(id, E_NOINTERFACE);
    HRESULT hr = dx->m_bSaveAndValidate ? dialog->GetElementChecked(id, value) : dialog->SetElementChecked(id, value);
    if (FAILED(hr)) ReportExchangeFailure(id, hr);
    dx->m_idLastControl = dialog->GetElementHwnd(id);
}
