// HTML dialogs of our small class library: a dialog whose content is an XHTML page from the
// resource library (type 23), parsed by MSXML and laid out as native controls. The dialog
// exchanges element values, inner texts and check boxes by element id, receives click events
// through an event map, and hears of every followed link through OnBeforeNavigate; it shows no
// context menu of its own making.
#pragma once

#include "DHtmlDocument.h"
#include "afxwin.h"

#include <memory>

class CDHtmlPage;

// The properties that DDX_DHtml_ElementText exchanges.
enum : DISPID {
    DISPID_DHTML_VALUE = DISPID_VALUE,               // an input's value
    DISPID_DHTML_INNERTEXT = (DISPID)0x80010403,     // an element's inner text
};

// Events of the event map.
enum : DISPID {
    DHTML_EVENT_CLICK = -600,
};

class CDHtmlDialog;

struct DHtmlEventMapEntry {
    DISPID event;
    const char* elementId;
    HRESULT (*handler)(CDHtmlDialog* dialog, const CDHtmlNode* element);
};

#define DECLARE_DHTML_EVENT_MAP() \
protected:                        \
    const DHtmlEventMapEntry* GetDHtmlEventMap() const override;

#define BEGIN_DHTML_EVENT_MAP(theClass)                                 \
    const DHtmlEventMapEntry* theClass::GetDHtmlEventMap() const {      \
        typedef theClass ThisClass [[maybe_unused]];                    \
        static const DHtmlEventMapEntry _dhtmlEntries[] = {

// HRESULT fn(const CDHtmlNode* element): a click on the element with that id.
#define DHTML_EVENT_ONCLICK(elementId, fn)                                                           \
    {DHTML_EVENT_CLICK, elementId,                                                                   \
     [](CDHtmlDialog* d, const CDHtmlNode* e) -> HRESULT { return static_cast<ThisClass*>(d)->fn(e); }},

#define END_DHTML_EVENT_MAP()  \
    {0, nullptr, nullptr}};    \
    return _dhtmlEntries;      \
    }

class CDHtmlDialog : public CDialog {
    DECLARE_DYNAMIC(CDHtmlDialog)
public:
    // The first id of the controls the page is laid out with.
    static const UINT kFirstControlId = 0x4000;

    CDHtmlDialog(UINT templateId, UINT htmlResId, CWnd* parent = nullptr);
    ~CDHtmlDialog() override;

    // Loads the page (from the resource handle) and lays it out, then the dialog's own data
    // exchange. A page that cannot be loaded ends a modal dialog with -1 and leaves a
    // modeless one without content (see GetPageResult).
    bool OnInitDialog() override;
    // Modeless creation; false also when the page could not be loaded.
    bool Create(UINT templateId, CWnd* parent = nullptr) override;
    // The page has no OK button: the Enter key clicks the page's submit button, if any.
    void OnOK() override;

    // Called for every followed link with its address as written in the page; nothing else
    // navigates.
    virtual void OnBeforeNavigate(LPDISPATCH disp, const char* url);
    // Called once the page is laid out, before the dialog's data exchange fills it.
    virtual void OnDocumentComplete(LPDISPATCH disp, const char* url);
    // Asked before a context menu is shown on the page or one of its edit boxes; S_OK: the
    // dialog has handled it and no menu is shown. The default is S_FALSE.
    virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object);

    // The loading of the page: S_OK, or the failure (GetPageError tells why).
    HRESULT GetPageResult() const { return m_pageResult; }
    CString GetPageError() const;
    UINT GetHtmlResourceId() const { return m_nHtmlResID; }

    // Element access by id. E_INVALIDARG when no element has the id; DISP_E_TYPEMISMATCH when
    // the element cannot carry the property (a value outside inputs, a check outside check
    // boxes, a text over an element that holds controls).
    HRESULT GetElementText(const char* id, CString& text) const;
    HRESULT SetElementText(const char* id, const char* text);
    HRESULT GetElementValue(const char* id, CString& value) const;
    HRESULT SetElementValue(const char* id, const char* value);
    HRESULT GetElementChecked(const char* id, int& checked) const;
    HRESULT SetElementChecked(const char* id, int checked);
    // The native control that shows an input, button or link, or null.
    HWND GetElementHwnd(const char* id) const;
    const CDHtmlDocument& GetDocument() const { return m_document; }

protected:
    virtual const DHtmlEventMapEntry* GetDHtmlEventMap() const { return nullptr; }
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Runs the click of a page control: its event-map handler, then a link's navigation.
    void OnElementClicked(const CDHtmlNode* element);
    bool LoadPage();

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg LRESULT OnDrawItemMessage(WPARAM, LPARAM);
    afx_msg LRESULT OnCtlColorMessage(WPARAM, LPARAM);
    afx_msg LRESULT OnContextMenuMessage(WPARAM, LPARAM);
    afx_msg void OnDestroy();

    UINT m_nHtmlResID;
    CDHtmlDocument m_document;
    std::unique_ptr<CDHtmlPage> m_page;
    HRESULT m_pageResult = E_PENDING;
    DECLARE_MESSAGE_MAP()
};

// Element data exchange by id; an element missing from the page is reported to the debugger
// output and leaves the value as it is.
void DDX_DHtml_ElementText(CDataExchange* dx, const char* id, DISPID property, CString& value);
void DDX_DHtml_ElementValue(CDataExchange* dx, const char* id, CString& value);
void DDX_DHtml_ElementInnerText(CDataExchange* dx, const char* id, CString& value);
void DDX_DHtml_CheckBox(CDataExchange* dx, const char* id, int& value);
