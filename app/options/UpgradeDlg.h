// The upgrade offer: upgrade now, remind me tomorrow, or never. The choice of a reminder is
// kept in the profile as "UpgradeReminder" ("never", or the local date year.month.day from
// which the offer is shown again).
#pragma once

#include "shared/WindowBases.h"

class CUpgradeDlg : public CDialogBase {
public:
    enum Choice { kUpgradeNow = 0, kRemindTomorrow = 1, kNever = 2 };

    // The initial choice from the profile, judged against today (the local date).
    explicit CUpgradeDlg(CWnd* parent = nullptr);
    // The same, judged against the given local time.
    CUpgradeDlg(CWnd* parent, const SYSTEMTIME& now);

    // Runs the dialog unless no offer is due; the dialog's result, or 0 when it was not shown.
    INT_PTR ShowIfDue();
    bool IsDue() const { return m_choice != kNever; }
    // True when the user confirmed "upgrade now".
    bool IsUpgradeNowSelected() const { return m_confirmed && m_choice == kUpgradeNow; }
    int GetChoice() const { return m_choice; }

    // The date text of a local time: year.month.day without leading zeros.
    static CString DateText(const SYSTEMTIME& time);
    // The date text of the time 86400 seconds later.
    static CString TomorrowText(const SYSTEMTIME& now);
    // The initial choice for a stored reminder: none is "upgrade now"; "never" is never; a date
    // still ahead of today is not due (never, for this start); any other text is due, with the
    // reminder preselected. Dates are compared as dates.
    static Choice InitialChoice(const char* reminder, const SYSTEMTIME& today);

    void DoDataExchange(CDataExchange* dx) override;
    // Stores the reminder of the chosen option and ends the dialog with IDOK.
    void OnOK() override;

protected:
    SYSTEMTIME m_now;
    int m_choice;
    bool m_confirmed = false;
};
