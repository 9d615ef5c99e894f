#include "OperationTable.h"

#include <stdexcept>

#include "ServiceError.h"
#include "Validation.h"

namespace {
ServiceError missingElement(const std::string& name)
{
    return ServiceError(ErrorCode::Validation, "The request has no element \"" + name + "\".");
}
} // namespace

const Account& OperationContext::account() const
{
    if (!account_)
        throw std::logic_error("operation without credentials asked for the account");
    return *account_;
}

std::string OperationContext::text(const std::string& name) const
{
    auto value = request_.text(name);
    if (!value)
        throw missingElement(name);
    return *value;
}

std::string OperationContext::textOr(const std::string& name, const std::string& fallback) const
{
    return request_.text(name).value_or(fallback);
}

int OperationContext::integer(const std::string& name) const
{
    auto value = validation::integer(text(name));
    if (!value)
        throw ServiceError(ErrorCode::Validation, "The element \"" + name + "\" does not hold a whole number.");
    return *value;
}

bool OperationContext::boolean(const std::string& name, bool fallback) const
{
    auto raw = request_.text(name);
    if (!raw)
        return fallback;
    std::string trimmed = validation::trim(*raw);
    if (trimmed.empty())
        return fallback;
    auto value = wire::boolean(trimmed);
    if (!value)
        throw ServiceError(ErrorCode::Validation, "The element \"" + name + "\" must be \"true\" or \"false\".");
    return *value;
}

std::vector<std::string> OperationContext::list(const std::string& name) const
{
    auto value = request_.list(name);
    if (!value)
        throw missingElement(name);
    return *value;
}

pugi::xml_node OperationContext::element(const std::string& name) const
{
    pugi::xml_node node = request_.element(name);
    if (!node)
        throw missingElement(name);
    return node;
}

void OperationTable::add(const std::string& endPoint, const std::string& name, Access access,
                         OperationHandler handler)
{
    endPoints_[endPoint][name] = Operation{access, std::move(handler)};
}

const Operation* OperationTable::find(const std::string& endPoint, const std::string& name) const
{
    auto ep = endPoints_.find(endPoint);
    if (ep == endPoints_.end())
        return nullptr;
    auto op = ep->second.find(name);
    return op == ep->second.end() ? nullptr : &op->second;
}

bool OperationTable::hasEndPoint(const std::string& endPoint) const
{
    return endPoints_.count(endPoint) != 0;
}

OperationTable OperationTable::standard()
{
    OperationTable table;
    registerSendOperations(table);
    registerInboxOperations(table);
    registerAccountOperations(table);
    registerContactOperations(table);
    registerSignupOperations(table);
    registerTestOperations(table);
    registerVersionOperations(table);
    return table;
}
