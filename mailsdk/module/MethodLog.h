// The entry and exit lines of the server's operations: "Entering %s::%s" when made, and
// "Exiting %s::%s" when Exit() is called after the operation succeeded.
#pragma once

#include <windows.h>

#include <log4cpp/Category.hh>

#include "MailErrors.h"

class CMethodLog {
public:
    static const char* const kClassName;  // "CAddressBook", also the log category

    explicit CMethodLog(const char* operation) : m_category(Category()), m_operation(operation) {
        m_category.debug("Entering %s::%s", kClassName, m_operation);
    }
    void Exit() const { m_category.debug("Exiting %s::%s", kClassName, m_operation); }
    // Logs the failure of this operation and gives hr back.
    HRESULT Failure(HRESULT hr) const;

    const char* Operation() const { return m_operation; }
    static log4cpp::Category& Category() { return log4cpp::Category::getInstance(kClassName); }

private:
    log4cpp::Category& m_category;
    const char* m_operation;
};

// The frame of a public operation: entry line, the body, exit line on success; a raised
// HRESULT is logged and returned, any other exception logged and returned as E_FAIL.
template <class Body>
HRESULT GuardOperation(const char* operation, Body&& body) {
    CMethodLog log(operation);
    try {
        body();
        log.Exit();
        return S_OK;
    } catch (const CMailError& error) {
        return log.Failure(error.Result());
    } catch (...) {
        return log.Failure(E_FAIL);
    }
}
