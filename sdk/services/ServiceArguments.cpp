#include <windows.h>

#include "ServiceArguments.h"

#include <atlbase.h>
#include <log4cpp/Category.hh>

#include <string>

#include "Errors.h"
#include "SoapService.h"

namespace {

// The text in the ANSI code page, as the log writes it.
std::string Narrow(BSTR text) {
    const int length = static_cast<int>(::SysStringLen(text));
    if (length == 0) return std::string();
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, &narrow[0], size, nullptr, nullptr);
    return narrow;
}

}  // namespace

void RequireText(BSTR value, const char* name) {
    if (!value || ::SysStringLen(value) == 0) RaiseMissingArgument(name);
}

void RequirePresent(const char* category, BSTR value, const char* name) {
    if (!value) RaiseMissingArgument(name);
    log4cpp::Category::getInstance(category).debug("%s=%s", name, Narrow(value).c_str());
}

long MessageIndexFromVariant(const VARIANT& value) {
    CComVariant direct;
    if (FAILED(::VariantCopyInd(&direct, const_cast<VARIANT*>(&value)))) RaiseHResult(E_INVALIDARG);
    switch (direct.vt) {
    case VT_EMPTY:
    case VT_ERROR:
        return -1;
    case VT_I2:
        return direct.iVal;
    case VT_I4:
        return direct.lVal;
    case VT_INT:
        return direct.intVal;
    default:
        RaiseHResult(E_INVALIDARG);
    }
}

HRESULT ForwardInitialise(const char* category, const char* className, CSOAPService& soap, BSTR Username,
                          BSTR Password, BSTR Account, const VARIANT& IsServerSide) {
    log4cpp::Category::getInstance(category).debug("Entering %s::%s", className, "Initialise");
    // A script's variable arrives by reference; the transport reads the value itself.
    CComVariant serverSide;
    if (FAILED(::VariantCopyInd(&serverSide, const_cast<VARIANT*>(&IsServerSide)))) serverSide = IsServerSide;
    return soap.Initialise(Username, Password, Account, serverSide);
}
