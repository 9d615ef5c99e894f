#include "afxext.h"

#include <vector>

namespace {

// Enables and checks one button of a tool bar.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(bool on) override {
        m_bEnableChanged = true;
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override { m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(check ? TRUE : FALSE, 0)); }
    void SetText(const char*) override {}
};

}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

bool CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
    const DWORD styles = style | ctrlStyle | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!CWnd::Create(TOOLBARCLASSNAMEA, "", styles, CRect(0, 0, 0, 0), parent, id)) return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return true;
}

bool CToolBar::SetButtons(const UINT* ids, int count) {
    std::vector<TBBUTTON> buttons(count);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[i];
        button.idCommand = (int)ids[i];
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = ids[i] ? BTNS_BUTTON : BTNS_SEP;
        button.iBitmap = ids[i] ? image++ : 0;
    }
    while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
    return SendMessage(TB_ADDBUTTONSW, count, (LPARAM)buttons.data()) != 0;
}

void CToolBar::SetSizes(SIZE button, SIZE image) {
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
}

HIMAGELIST CToolBar::SetImageList(HIMAGELIST list) {
    return (HIMAGELIST)SendMessage(TB_SETIMAGELIST, 0, (LPARAM)list);
}

void CToolBar::WrapEvery(int n) {
    const int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        TBBUTTONINFOW info = {sizeof info, TBIF_STATE | TBIF_BYINDEX};
        SendMessage(TB_GETBUTTONINFOW, i, (LPARAM)&info);
        if (n > 0 && (i + 1) % n == 0 && i + 1 < count)
            info.fsState |= TBSTATE_WRAP;
        else
            info.fsState &= ~TBSTATE_WRAP;
        SendMessage(TB_SETBUTTONINFOW, i, (LPARAM)&info);
    }
    SendMessage(TB_AUTOSIZE);
}

CSize CToolBar::GetNeededSize() const {
    CRect all;
    const int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        CRect item;
        SendMessage(TB_GETITEMRECT, i, (LPARAM)&item);
        ::UnionRect(&all, &all, &item);
    }
    return CSize(all.right, all.bottom);
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) {
    if (!target) return;
    CToolCmdUI state;
    state.m_pOther = this;
    const int count = (int)SendMessage(TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, i, (LPARAM)&button);
        if (button.fsStyle & BTNS_SEP) continue;
        state.m_nID = (UINT)button.idCommand;
        state.m_nIndex = (UINT)i;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

LRESULT CToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (IsWindowVisible()) OnUpdateCmdUI(GetParent(), wParam != 0);
    return 0;
}
