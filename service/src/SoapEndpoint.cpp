#include "SoapEndpoint.h"

#include <strings.h>
#include <thread>

#include "FaultInjector.h"
#include "ServiceError.h"
#include "SoapRequest.h"
#include "SoapResponse.h"
#include "Store.h"
#include "Validation.h"

namespace {

HttpReply faultReply(const std::string& faultCode, const std::string& text, const std::optional<FaultDetail>& detail)
{
    return HttpReply{500, "text/xml; charset=utf-8", soapFault(faultCode, text, detail)};
}

std::string withoutQuotes(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

SoapEndpoint::SoapEndpoint(Store& store, const OperationTable& operations, const ServiceSettings& settings)
    : store_(store), operations_(operations), settings_(settings)
{
}

std::optional<std::string> SoapEndpoint::endPointOf(const std::string& path) const
{
    const std::string base = kBasePath;
    const std::string suffix = ".asmx";
    if (path.size() <= base.size() + suffix.size() || path.compare(0, base.size(), base) != 0 ||
        path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    std::string name = path.substr(base.size(), path.size() - base.size() - suffix.size());
    if (!operations_.hasEndPoint(name))
        return std::nullopt;
    return name;
}

HttpReply SoapEndpoint::handle(const HttpRequest& request)
{
    LoggedRequest entry;
    entry.receivedAt = datetime::now();
    entry.method = request.method;
    entry.path = request.path;
    entry.soapAction = request.soapAction;
    entry.contentType = request.contentType;
    entry.body = request.body;

    HttpReply reply = answer(request, entry);

    entry.status = reply.status;
    entry.response = reply.body;
    std::lock_guard<std::mutex> lock(store_.mutex());
    store_.requestLog().record(entry);
    return reply;
}

HttpReply SoapEndpoint::answer(const HttpRequest& request, LoggedRequest& entry)
{
    std::optional<std::string> endPoint = endPointOf(request.path);
    if (!endPoint || request.method != "POST")
        return HttpReply{404, "text/plain; charset=utf-8", "Not Found"};
    entry.endPoint = *endPoint;

    try {
        SoapRequest soap = SoapRequest::parse(request.body);
        entry.operation = soap.operation();

        const Operation* operation = operations_.find(*endPoint, soap.operation());
        if (!operation || soap.operationNamespace() != soap::kServiceNamespace)
            throw RequestFault("The end point " + *endPoint + " has no operation \"" + soap.operation() +
                               "\" in the namespace \"" + soap::kServiceNamespace + "\".");
        std::string action = withoutQuotes(request.soapAction);
        if (action != soap::kServiceNamespace + soap.operation())
            throw RequestFault("The SOAPAction \"" + request.soapAction + "\" does not name the operation \"" +
                               soap.operation() + "\".");

        if (operation->access == Access::Account) {
            std::string username = soap.text("Username").value_or("");
            if (auto injected = faults::injectedReply(username))
                return *injected;
            if (faults::isSlow(username))
                std::this_thread::sleep_for(settings_.slowDelay);
        }
        return run(*operation, soap);
    } catch (const RequestFault& fault) {
        return faultReply("soap:Client", fault.what(), std::nullopt);
    } catch (const ServiceError& error) {
        return faultReply("soap:Server", error.what(),
                          FaultDetail{error.what(), std::to_string(static_cast<int>(error.code()))});
    } catch (const std::exception& error) {
        std::string text = defaultMessage(ErrorCode::Unexpected) + " " + error.what();
        return faultReply("soap:Server", text,
                          FaultDetail{text, std::to_string(static_cast<int>(ErrorCode::Unexpected))});
    }
}

HttpReply SoapEndpoint::run(const Operation& operation, const SoapRequest& request)
{
    std::lock_guard<std::mutex> lock(store_.mutex());
    Transaction transaction(store_.database());
    std::optional<Account> account;
    if (operation.access == Access::Account)
        account = authenticate(request);
    SoapResponse response(request.operation());
    OperationContext context(request, response, store_, settings_, std::move(account));
    operation.handler(context);
    transaction.commit();
    return HttpReply{200, "text/xml; charset=utf-8", response.str()};
}

Account SoapEndpoint::authenticate(const SoapRequest& request)
{
    auto username = request.text("Username");
    auto password = request.text("Password");
    auto reference = request.text("Account");
    if (!username || !password || !reference)
        throw ServiceError(ErrorCode::MissingHeader);
    auto account = store_.accounts().findByUsername(*username);
    if (!account || account->password != *password ||
        !equalsIgnoringCase(account->reference, validation::trim(*reference)))
        throw ServiceError(ErrorCode::AuthenticationFailed);
    if (!account->live)
        throw ServiceError(ErrorCode::AccountNotLive);
    return *account;
}
