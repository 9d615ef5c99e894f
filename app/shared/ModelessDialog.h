// A dialog of either kind (a CDialog or a CDHtmlDialog below it) that can also run modeless:
// then Cancel destroys its window, and from its creation on the object deletes itself with the
// window. Run modal, it behaves as the dialog it extends.
#pragma once

#include "afxwin.h"

template <class TDialog>
class CModelessDialog : public TDialog {
public:
    using TDialog::TDialog;

    bool IsModeless() const { return m_bModeless; }
    void OnCancel() override {
        if (m_bModeless) {
            this->DestroyWindow();
        } else {
            TDialog::OnCancel();
        }
    }

protected:
    // Creates the dialog modeless from the template and shows it. On failure the object stays
    // the caller's.
    bool CreateModelessWindow(UINT templateId, CWnd* parent) {
        m_bModeless = true;
        if (!this->Create(templateId, parent)) {
            m_bModeless = false;
            return false;
        }
        m_bAutoDelete = true;
        this->ShowWindow(SW_SHOW);
        return true;
    }
    void PostNcDestroy() override {
        if (m_bAutoDelete) delete this;
    }

    bool m_bModeless = false;
    bool m_bAutoDelete = false;
};
