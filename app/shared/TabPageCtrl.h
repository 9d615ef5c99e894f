// A tab control that shows the child controls of one tab at a time.
#pragma once

#include "afxcmn.h"

#include <vector>

class CTabPageCtrl : public CTabCtrl {
public:
    CTabPageCtrl();
    ~CTabPageCtrl() override;

    // Puts a control on a tab (hidden until the tab is selected); false for a tab that does
    // not exist.
    virtual bool AddControl(CWnd* control, int tab);
    int SetCurSel(int tab) override;
    int GetShowingTab() const { return m_showing; }

protected:
    // Shows the selected tab's controls; false, so the parent sees the change too.
    afx_msg bool OnSelChange(NMHDR* header, LRESULT* result);
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnEnable(bool enable);
    afx_msg void OnDestroy();

private:
    void ShowTab(int tab, int show);
    void FreeLists();
    CMap<int, int, std::vector<HWND>*, std::vector<HWND>*> m_controls;
    int m_showing = -1;
    DECLARE_MESSAGE_MAP()
};
