// The base of the program's HTML dialogs: the shared host template, an icon and a size of its
// own (centred when it opens), links whose query says action=close close the dialog, and no
// context menu.
#pragma once

#include "afxdhtml.h"
#include "shared/ModelessDialog.h"

class CDHtmlDialogBase : public CModelessDialog<CDHtmlDialog> {
    DECLARE_DYNAMIC(CDHtmlDialogBase)
public:
    CDHtmlDialogBase(UINT htmlId, UINT iconId, CSize size, CWnd* parent = nullptr);

    // Creates the dialog modeless and shows it; from then on the object deletes itself when its
    // window is destroyed. On failure the object stays the caller's.
    virtual bool CreateModeless();

    // Sets the icon, then the size, and centres the dialog.
    bool OnInitDialog() override;
    // action=close (any case): a modeless dialog posts itself WM_CLOSE, a modal one ends with
    // IDCANCEL.
    void OnBeforeNavigate(LPDISPATCH disp, const char* url) override;
    // The page shows no context menu.
    HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* object) override;

protected:
    afx_msg void OnClose();

    UINT m_iconId;
    CSize m_size;
    DECLARE_MESSAGE_MAP()
};
