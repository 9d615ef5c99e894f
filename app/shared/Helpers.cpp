#include "shared/Helpers.h"

#include "resource.h"
#include "shared/StringTokenizer.h"

#include <log4cpp/Category.hh>

#include <comsupp.h>
#include <mbctype.h>
#include <mbstring.h>

#include <ctime>

namespace {

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);  // a missing string gives an empty text
    return text;
}

}  // namespace

HRESULT CreateRunningObject(REFCLSID clsid, REFIID iid, void** object) {
    *object = nullptr;
    CComPtr<IUnknown> unknown;
    HRESULT hr = unknown.CoCreateInstance(clsid, nullptr, CLSCTX_ALL);
    if (SUCCEEDED(hr)) hr = ::OleRun(unknown);
    if (SUCCEEDED(hr)) hr = unknown->QueryInterface(iid, object);
    if (SUCCEEDED(hr) && !*object) hr = E_NOINTERFACE;
    return hr;
}

bool CreateSdkObject(REFCLSID clsid, const char* classText, REFIID iid, void** object) {
    HRESULT hr = CreateRunningObject(clsid, iid, object);
    if (FAILED(hr)) {
        CString text;
        text.Format(LoadText(IDS_OBJECT_NOT_CREATED), classText);
        ReportHResult(text, hr);
        return false;
    }
    return true;
}

VARIANT MissingArgument() {
    VARIANT missing;
    ::VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    return missing;
}

void ReportHResult(const char* text, HRESULT code) {
    char* system = nullptr;
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, (DWORD)code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                    (LPSTR)&system, 0, nullptr);
    CString message;
    if (length && system) {
        CString systemText(system);
        int lastReturn = systemText.ReverseFind('\r');
        if (lastReturn >= 0) systemText = systemText.Left(lastReturn);
        message.Format("%s\n\n%s", text, (const char*)systemText);
    } else {
        message.Format("HRESULT = %d", (int)code);
    }
    if (system) ::LocalFree(system);
    AfxMessageBox(message, MB_ICONSTOP);
    log4cpp::Category::getRoot().error(message.str());
}

void ReportComError(const char* text, const _com_error& error, bool show) {
    _bstr_t own = error.Description();
    bool hasOwn = own.length() > 0;
    CString description = (error.Error() & 0xFFFF) == 1000 ? LoadText(IDS_CONNECTION_FAILED)
                                                          : CString((const wchar_t*)own);
    CString message;
    if (hasOwn) {
        message.Format("%s\n\n%s", text, (const char*)description);
    } else {
        message = text;
    }
    if (show) AfxMessageBox(message, MB_ICONSTOP);
    log4cpp::Category::getRoot().error(message.str());
}

void ReportComErrorId(UINT stringId, const _com_error& error, bool show) {
    ReportComError(LoadText(stringId), error, show);
}

void ShowWarning(UINT stringId) {
    AfxMessageBox(LoadText(stringId), MB_ICONEXCLAMATION);
}

bool ValidateOriginator(const char* text) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text ? text : "");
    size_t characters = _mbslen(bytes);
    if (characters == 0) {
        ShowWarning(IDS_ORIGINATOR_EMPTY);
        return false;
    }
    if (characters >= 13) {
        ShowWarning(IDS_ORIGINATOR_INVALID);
        return false;
    }
    if (characters == 12) {
        for (const unsigned char* p = bytes; *p; p = _mbsinc(p)) {
            if (!_ismbcdigit(_mbsnextc(p))) {
                ShowWarning(IDS_ORIGINATOR_INVALID);
                return false;
            }
        }
    }
    return true;
}

void DDV_RequiredText(CDataExchange* dx, CString& text, UINT stringId) {
    if (!dx->m_bSaveAndValidate) return;
    text.Trim();
    if (text.IsEmpty()) {
        AfxMessageBox(LoadText(stringId), MB_ICONEXCLAMATION);
        dx->Fail();
    }
}

CString FormatDateTimeText(DATE when) {
    SYSTEMTIME st = {};
    if (!::VariantTimeToSystemTime(when, &st)) return CString();
    std::tm parts = {};
    parts.tm_year = st.wYear - 1900;
    parts.tm_mon = st.wMonth - 1;
    parts.tm_mday = st.wDay;
    parts.tm_hour = st.wHour;
    parts.tm_min = st.wMinute;
    parts.tm_sec = st.wSecond;
    parts.tm_wday = st.wDayOfWeek;
    parts.tm_isdst = -1;
    char text[256] = {};
    std::strftime(text, sizeof text, "%#c", &parts);
    return CString(text);
}

CString GetQueryParameter(const char* url, const char* name) {
    CString address(url);
    int question = address.Find('?');
    if (question < 0) return CString();
    CStringTokenizer pairs(address.Mid(question + 1), "&");
    CString pair;
    while (pairs.NextToken(pair)) {
        CStringTokenizer parts(pair, "=");
        CString key, value;
        if (!parts.NextToken(key)) continue;
        if (key == name && parts.NextToken(value)) return value;
    }
    return CString();
}

namespace {

// Four dotted decimal numbers, or false.
bool ParseVersion(const char* text, unsigned long parts[4]) {
    CString version(text);
    int part = 0, start = 0;
    for (int i = 0; i <= version.GetLength(); ++i) {
        if (i < version.GetLength() && version[i] != '.') {
            if (version[i] < '0' || version[i] > '9') return false;
            continue;
        }
        if (i == start || part == 4 || i - start > 9) return false;
        parts[part++] = std::strtoul(version.Mid(start, i - start), nullptr, 10);
        start = i + 1;
    }
    return part == 4;
}

}  // namespace

int CompareVersionTexts(const char* left, const char* right) {
    unsigned long a[4], b[4];
    if (ParseVersion(left, a) && ParseVersion(right, b)) {
        for (int i = 0; i < 4; ++i)
            if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
        return 0;
    }
    return CString(left).Compare(right);
}
