#include "MethodLog.h"

#include "MailErrors.h"

const char* const CMethodLog::kClassName = "CAddressBook";

HRESULT CMethodLog::Failure(HRESULT hr) const {
    return LogMethodFailure(m_category, kClassName, m_operation, hr);
}
