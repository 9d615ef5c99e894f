#include "FaultInjector.h"

#include "SoapResponse.h"

namespace faults {

namespace {
HttpReply fault(const std::string& faultString, const std::optional<FaultDetail>& detail)
{
    return HttpReply{500, "text/xml; charset=utf-8", soapFault("soap:Server", faultString, detail)};
}
} // namespace

std::optional<HttpReply> injectedReply(const std::string& username)
{
    if (username == kHttp503)
        return HttpReply{503, "text/plain; charset=utf-8", "Service Unavailable"};
    if (username == kNotXml)
        return HttpReply{200, "text/html; charset=utf-8", "<html><body>This is not a SOAP answer"};
    if (username == kEmptyBody)
        return HttpReply{200, "text/xml; charset=utf-8", ""};
    if (username == kNoDetail)
        return fault(kNoDetailText, std::nullopt);
    if (username == kBlankFault)
        return fault("", std::nullopt);
    if (username == kNoCode)
        return fault(kNoCodeText, FaultDetail{kNoCodeText, std::nullopt});
    if (username == kUnknownCode)
        return fault(kUnknownCodeText, FaultDetail{kUnknownCodeText, std::string("25")});
    if (username == kNonNumericCode)
        return fault(kNonNumericCodeText, FaultDetail{kNonNumericCodeText, std::string("abc")});
    if (username == kValidation)
        return fault(kValidationText, FaultDetail{kValidationText, std::string("17")});
    return std::nullopt;
}

bool isSlow(const std::string& username)
{
    return username == kSlow;
}

} // namespace faults
