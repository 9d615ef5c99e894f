// AccountService: the account's message limit, features and state.

#include "OperationTable.h"
#include "SoapResponse.h"

namespace {

void getMessageLimit(OperationContext& context)
{
    context.response().setResultText(std::to_string(context.account().messageLimit));
}

void getAccountFeatures(OperationContext& context)
{
    context.response().setResultText(wire::featuresText(context.account().features));
}

void getAccountState(OperationContext& context)
{
    const Account& a = context.account();
    pugi::xml_node result = context.response().result();
    soap::appendText(result, "ID", a.id);
    soap::appendText(result, "Reference", a.reference);
    soap::appendText(result, "Address", a.address);
    soap::appendText(result, "ServiceAlias", a.serviceAlias);
    soap::appendText(result, "MessageLimit", std::to_string(a.messageLimit));
    soap::appendText(result, "Features", wire::featuresText(a.features));
}

} // namespace

void registerAccountOperations(OperationTable& table)
{
    const std::string ep = "AccountService";
    table.add(ep, "GetMessageLimit", Access::Account, getMessageLimit);
    table.add(ep, "GetAccountFeatures", Access::Account, getAccountFeatures);
    table.add(ep, "GetAccountState", Access::Account, getAccountState);
}
