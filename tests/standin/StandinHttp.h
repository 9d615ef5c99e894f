// Plain HTTP calls to the stand-in's own pages through the platform's XMLHTTP object, in-process.
#pragma once

#include <string>

namespace standin {

struct HttpAnswer {
    long status = 0;
    std::wstring text;
};

// GET or POST (an empty body) of address; throws StandinError when the call itself fails.
HttpAnswer HttpGet(const std::wstring& address);
HttpAnswer HttpPost(const std::wstring& address, const std::wstring& body = std::wstring(),
                    const std::wstring& soapAction = std::wstring());

}  // namespace standin
