#pragma once

#include <string>

// An answer to one HTTP request.
struct HttpReply {
    int status = 200;
    std::string contentType = "text/xml; charset=utf-8";
    std::string body;
};
