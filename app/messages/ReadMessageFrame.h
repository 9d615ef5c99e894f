// The read window: one received message (who sent it, when it arrived, its text), with Reply
// (a new send window to the sender) and Delete (from the account's inbox on the service).
#pragma once

#include "shared/WindowBases.h"

#include <comdef.h>

struct ISMSMessage2;

class CReadMessageView : public CFormViewBase {
    DECLARE_DYNAMIC(CReadMessageView)
public:
    CReadMessageView();

    // Shows the message and keeps its identifier. A null message or a failure reading it is
    // reported; the view is then left empty, with Reply and Delete disabled. False then.
    bool SetMessage(ISMSMessage2* message);
    bool HasMessage() const { return m_messageId.length() > 0; }
    const _bstr_t& GetMessageId() const { return m_messageId; }

    void OnInitialUpdate() override;

protected:
    void ShowFields(const wchar_t* originator, const wchar_t* receivedAt, const wchar_t* body);
    afx_msg void OnReply();
    afx_msg void OnDelete();
    afx_msg void OnUpdateNeedsMessage(CCmdUI* cmdUI);
    afx_msg void OnSize(UINT type, int cx, int cy);

    _bstr_t m_messageId;
    DECLARE_MESSAGE_MAP()
};

class CReadMessageFrame : public CFrameBase {
    DECLARE_DYNCREATE(CReadMessageFrame)
public:
    bool CreateClientView() override;
    UINT GetBarResourceId(int kind) override;
    // Hands the message to the view (holding a reference for the call).
    bool SetMessage(ISMSMessage2* message);
    CReadMessageView* GetView() const { return m_pView; }

protected:
    CReadMessageView* m_pView = nullptr;
};
