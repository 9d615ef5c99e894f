#pragma once
// The operations of every end point, and what an operation is given when it runs.

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DateTime.h"
#include "Model.h"
#include "SoapRequest.h"
#include "SoapResponse.h"

class Store;

struct ServiceSettings {
    std::string versionText = "1.0.0.0";
    bool seedDemo = false;
    std::chrono::milliseconds slowDelay{2000};
};

// What one call of an operation works with. Argument readers raise a validation fault (17) for a
// missing element or a malformed value.
class OperationContext {
public:
    OperationContext(const SoapRequest& request, SoapResponse& response, Store& store,
                     const ServiceSettings& settings, std::optional<Account> account)
        : request_(request), response_(response), store_(store), settings_(settings), account_(std::move(account)),
          now_(datetime::now())
    {
    }

    const SoapRequest& request() const { return request_; }
    SoapResponse& response() { return response_; }
    Store& store() { return store_; }
    const ServiceSettings& settings() const { return settings_; }
    // The signed-in account; only operations that need credentials may call this.
    const Account& account() const;
    datetime::Millis now() const { return now_; }

    std::string text(const std::string& name) const;
    std::string textOr(const std::string& name, const std::string& fallback) const;
    int integer(const std::string& name) const;
    bool boolean(const std::string& name, bool fallback) const;
    std::vector<std::string> list(const std::string& name) const;
    pugi::xml_node element(const std::string& name) const;

private:
    const SoapRequest& request_;
    SoapResponse& response_;
    Store& store_;
    const ServiceSettings& settings_;
    std::optional<Account> account_;
    datetime::Millis now_;
};

enum class Access { Anonymous, Account };

using OperationHandler = std::function<void(OperationContext&)>;

struct Operation {
    Access access = Access::Account;
    OperationHandler handler;
};

class OperationTable {
public:
    void add(const std::string& endPoint, const std::string& name, Access access, OperationHandler handler);
    const Operation* find(const std::string& endPoint, const std::string& name) const;
    bool hasEndPoint(const std::string& endPoint) const;

    // Every end point and operation of the service.
    static OperationTable standard();

private:
    std::map<std::string, std::map<std::string, Operation>> endPoints_;
};

// Each service's operations, in operations/.
void registerSendOperations(OperationTable& table);
void registerInboxOperations(OperationTable& table);
void registerAccountOperations(OperationTable& table);
void registerContactOperations(OperationTable& table);
void registerSignupOperations(OperationTable& table);
void registerTestOperations(OperationTable& table);
void registerVersionOperations(OperationTable& table);
