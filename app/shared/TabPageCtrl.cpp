#include "shared/TabPageCtrl.h"

BEGIN_MESSAGE_MAP(CTabPageCtrl, CTabCtrl)
    ON_NOTIFY_REFLECT_EX(TCN_SELCHANGE, OnSelChange)
    ON_WM_CREATE()
    ON_WM_ENABLE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CTabPageCtrl::CTabPageCtrl() : m_controls(17) {}

CTabPageCtrl::~CTabPageCtrl() {
    FreeLists();
}

void CTabPageCtrl::FreeLists() {
    m_controls.ForEach([](int, std::vector<HWND>*& list) { delete list; });
    m_controls.RemoveAll();
}

bool CTabPageCtrl::AddControl(CWnd* control, int tab) {
    if (!control || tab < 0 || tab >= GetItemCount()) return false;
    std::vector<HWND>*& list = m_controls[tab];
    if (!list) list = new std::vector<HWND>;
    list->push_back(control->m_hWnd);
    control->ShowWindow(SW_HIDE);
    return true;
}

void CTabPageCtrl::ShowTab(int tab, int show) {
    std::vector<HWND>* list = nullptr;
    if (tab < 0 || !m_controls.Lookup(tab, list) || !list) return;
    for (HWND control : *list) ::ShowWindow(control, show);
}

int CTabPageCtrl::SetCurSel(int tab) {
    int previous = CTabCtrl::SetCurSel(tab);
    LRESULT ignored = 0;
    OnSelChange(nullptr, &ignored);
    return previous;
}

bool CTabPageCtrl::OnSelChange(NMHDR*, LRESULT* result) {
    ShowTab(m_showing, SW_HIDE);
    m_showing = GetCurSel();
    ShowTab(m_showing, SW_SHOW);
    *result = 0;
    return false;
}

int CTabPageCtrl::OnCreate(LPCREATESTRUCT cs) {
    m_showing = -1;
    return CTabCtrl::OnCreate(cs);
}

void CTabPageCtrl::OnEnable(bool enable) {
    Default();
    m_controls.ForEach([enable](int, std::vector<HWND>*& list) {
        for (HWND control : *list) ::EnableWindow(control, enable);
    });
}

void CTabPageCtrl::OnDestroy() {
    CTabCtrl::OnDestroy();
    FreeLists();
}
