// Extension classes of our small class library (form views live in afxwin.h).
#pragma once

#include "afxcmn.h"

// A tool bar of the common controls: buttons by command id with pictures from an image list,
// kept up to date through the update handlers of its owner on WM_IDLEUPDATECMDUI.
class CToolBar : public CWnd {
public:
    // A child tool bar with tooltips; ctrlStyle adds tool-bar styles (TBSTYLE_FLAT ...).
    bool CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style = WS_CHILD | WS_VISIBLE, UINT id = ID_VIEW_TOOLBAR);
    // One button per id, the i-th non-separator button showing picture i; 0 is a separator.
    bool SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    // The bar does not own the list.
    HIMAGELIST SetImageList(HIMAGELIST list);
    // Starts a new row after every n buttons.
    void WrapEvery(int n);
    // The size the bar needs for its buttons.
    CSize GetNeededSize() const;
    int CommandToIndex(UINT id) const { return (int)SendMessage(TB_COMMANDTOINDEX, id); }
    bool IsButtonEnabled(UINT id) const { return SendMessage(TB_ISBUTTONENABLED, id) != 0; }
    bool IsButtonChecked(UINT id) const { return SendMessage(TB_ISBUTTONCHECKED, id) != 0; }
    // Enables and checks the buttons through the target's update handlers.
    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler);

protected:
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM);
    DECLARE_MESSAGE_MAP()
};
