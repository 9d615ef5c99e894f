// The send window: one text message to one or more recipients (contact quick names, group
// names and numbers, separated by ";"), sent through the SDK's send service.
#pragma once

#include "shared/WindowBases.h"

struct IObjectCollection;

class CSendMessageView : public CFormViewBase {
    DECLARE_DYNAMIC(CSendMessageView)
public:
    CSendMessageView();

    // Checks the fields and hands the message to the service; every failure has been shown.
    bool Send();
    // Whether the user has written anything that a close would lose.
    bool HasText();
    void SetRecipients(const char* recipients);

    void OnInitialUpdate() override;

    // The recipients list as the service gets it: the entries of the text (separated by ";",
    // blanks at their ends trimmed, empty ones skipped) joined by ",".
    static CString JoinRecipients(const char* recipients);
    // The numbers to append to a recipients text for the imported contacts ("; " between them
    // and after a text that is not empty): empty when there are none.
    static CString AppendRecipients(const CString& recipients, const CString& numbers);

    // The mobile numbers of the chosen contacts joined by "; ", and a line "First Last" for each
    // contact without one; entries that are not contacts are skipped. Throws _com_error.
    static void ImportContacts(IObjectCollection* chosen, CString& numbers, CString& withoutNumber);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // The toolbar's or menu's command as a top-level frame of this view receives it.
    afx_msg void OnSend();
    afx_msg void OnSendAndClose();
    afx_msg void OnImportFromAddressBook();
    afx_msg void OnSelectRecipients();
    afx_msg void OnEditOriginator();
    afx_msg void OnBodyChanged();
    afx_msg void OnSize(UINT type, int cx, int cy);

    CEdit m_originatorEdit;
    CEdit m_recipientsEdit;
    CString m_originator;
    CString m_recipients;
    CString m_body;
    CEdit m_bodyEdit;
    DECLARE_MESSAGE_MAP()
};

class CSendMessageFrame : public CFrameBase {
    DECLARE_DYNCREATE(CSendMessageFrame)
public:
    CSendMessageFrame();

    bool CreateClientView() override;
    UINT GetBarResourceId(int kind) override;
    // Asks whether to send what the user wrote before the window closes: Yes sends (and
    // closes only when that worked), No closes, Cancel keeps the window. An empty window
    // closes without the question.
    bool CanClose() override;

    void SetRecipients(const char* recipients);
    // Reads the account state again and shows its message limit.
    void UpdateStatus();

    CSendMessageView* GetView() const { return m_pView; }
    long GetMessageLimit() const { return m_messageLimit; }
    const CString& GetMessageLimitText() const { return m_messageLimitText; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnEraseBkgnd(HDC) { return FALSE; }
    // Shows the message limit as the caption of the bars' control of command ID_MESSAGE_LIMIT,
    // found by its command wherever the user moved it (nothing shows it when there is none).
    virtual void ShowMessageLimit(const CString& text);

    CSendMessageView* m_pView = nullptr;
    long m_messageLimit;
    CString m_messageLimitText;
    DECLARE_MESSAGE_MAP()
};
