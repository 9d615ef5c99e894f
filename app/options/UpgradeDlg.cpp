#include "options/UpgradeDlg.h"

#include "resource.h"

#include <cstdio>

namespace {

const char kSection[] = "Options";
const char kReminder[] = "UpgradeReminder";
const char kNeverText[] = "never";

SYSTEMTIME LocalNow() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return now;
}

// A date text (year.month.day) as one comparable number; false when it is no valid date.
bool ParseDateText(const char* text, long& ordinal) {
    int year = 0, month = 0, day = 0;
    char tail = 0;
    if (!text || std::sscanf(text, "%d.%d.%d%c", &year, &month, &day, &tail) != 3) return false;
    SYSTEMTIME date = {};
    date.wYear = (WORD)year;
    date.wMonth = (WORD)month;
    date.wDay = (WORD)day;
    FILETIME check;
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 || day > 31 ||
        !::SystemTimeToFileTime(&date, &check))
        return false;
    ordinal = (long)year * 10000 + month * 100 + day;
    return true;
}

}  // namespace

CUpgradeDlg::CUpgradeDlg(CWnd* parent) : CUpgradeDlg(parent, LocalNow()) {}

CUpgradeDlg::CUpgradeDlg(CWnd* parent, const SYSTEMTIME& now)
    : CDialogBase(IDD_UPGRADE, parent, IDR_TRAY), m_now(now) {
    CWinApp* app = AfxGetApp();
    CString reminder = app ? app->GetProfileString(kSection, kReminder, "") : CString();
    m_choice = InitialChoice(reminder, m_now);
}

CString CUpgradeDlg::DateText(const SYSTEMTIME& time) {
    CString text;
    text.Format("%u.%u.%u", time.wYear, time.wMonth, time.wDay);
    return text;
}

CString CUpgradeDlg::TomorrowText(const SYSTEMTIME& now) {
    FILETIME file = {};
    if (!::SystemTimeToFileTime(&now, &file)) return DateText(now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart += 86400ULL * 10000000ULL;
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME tomorrow = {};
    ::FileTimeToSystemTime(&file, &tomorrow);
    return DateText(tomorrow);
}

CUpgradeDlg::Choice CUpgradeDlg::InitialChoice(const char* reminder, const SYSTEMTIME& today) {
    if (!reminder || !*reminder) return kUpgradeNow;
    if (CString(reminder) == kNeverText) return kNever;
    long due = 0, now = 0;
    ParseDateText(DateText(today), now);
    if (ParseDateText(reminder, due) && now < due) return kNever;  // not due yet
    return kRemindTomorrow;
}

INT_PTR CUpgradeDlg::ShowIfDue() {
    if (!IsDue()) return 0;
    return DoModal();
}

void CUpgradeDlg::DoDataExchange(CDataExchange* dx) {
    CDialogBase::DoDataExchange(dx);
    DDX_Radio(dx, IDC_UPGRADE_NOW, m_choice);
}

void CUpgradeDlg::OnOK() {
    if (!UpdateData(true)) return;
    CWinApp* app = AfxGetApp();
    if (m_choice == kRemindTomorrow) {
        app->WriteProfileString(kSection, kReminder, TomorrowText(m_now));
    } else if (m_choice == kNever) {
        app->WriteProfileString(kSection, kReminder, kNeverText);
    }
    m_confirmed = true;
    EndDialog(IDOK);
}
