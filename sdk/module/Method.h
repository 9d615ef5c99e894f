// The frame of every public method: entry log, the body, exit log, and every raised failure
// caught at the edge, logged and returned.
#pragma once

#include <log4cpp/Category.hh>

#include "Errors.h"

enum class ExitLog { Yes, No };

template <class Body>
HRESULT RunMethod(const char* category, const char* className, const char* methodName, Body&& body,
                  ExitLog exitLog = ExitLog::Yes) {
    log4cpp::Category& log = log4cpp::Category::getInstance(category);
    log.debug("Entering %s::%s", className, methodName);
    try {
        body();
        if (exitLog == ExitLog::Yes) log.debug("Exiting %s::%s", className, methodName);
        return S_OK;
    } catch (const CRaisedError& e) {
        return HandleMethodError(log, className, methodName, e.Result());
    } catch (...) {
        // A failure inside the XML or COM wrappers carries no text of its own.
        return HandleMethodError(log, className, methodName, E_FAIL);
    }
}

// A null result pointer fails the method with E_INVALIDARG and no description; otherwise the
// result is cleared first.
template <class T>
void RequireResult(T* result) {
    if (!result) RaiseHResult(E_INVALIDARG);
    *result = T();
}
