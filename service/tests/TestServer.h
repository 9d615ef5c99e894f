#pragma once
// A stand-in server started in-process on a free port, and a small SOAP client for it.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <httplib.h>
#include <pugixml.hpp>

#include "StandinServer.h"

struct User {
    std::string username;
    std::string password;
    std::string account;
};

// Fixture accounts.
extern const User kTest;      // both features, limit 100
extern const User kOther;     // inbox only
extern const User kPlain;     // no features
extern const User kLowLimit;  // limit 2
extern const User kNotLive;
extern const User kNoSub;
extern const User kDemo;      // only with --seed-demo

// A request envelope built element by element, in the order the calls are made.
class SoapCall {
public:
    SoapCall(std::string endPoint, std::string operation);

    SoapCall& as(const User& user);
    SoapCall& arg(const std::string& name, const std::string& value);
    SoapCall& list(const std::string& name, const std::vector<std::string>& items);
    SoapCall& xml(const std::string& fragment);  // appended as written
    SoapCall& action(const std::string& soapAction);

    const std::string& endPoint() const { return endPoint_; }
    const std::string& operation() const { return operation_; }
    const std::string& soapAction() const { return action_; }
    std::string path() const;
    std::string envelope() const;

private:
    std::string endPoint_;
    std::string operation_;
    std::string action_;
    std::string content_;
};

std::string escapeXml(const std::string& text);
// A contact element's fields, in wire order, for AddContact, UpdateContact and AddContacts.
std::string contactXml(const std::string& element, const std::string& id, const std::string& quickName,
                       const std::string& mobile, const std::string& type = "Contact");

class Reply {
public:
    Reply(int status, std::string body, std::string operation);

    int status() const { return status_; }
    const std::string& body() const { return body_; }
    bool isXml() const { return parsed_; }

    // The <OpResult> element; null when absent.
    pugi::xml_node result() const;
    std::string resultText() const;
    // Texts of the result's child elements.
    std::vector<std::string> resultItems() const;
    // A child's text of an element, by name.
    static std::string field(const pugi::xml_node& element, const char* name);

    bool isFault() const;
    bool hasDetail() const;
    std::string faultCode() const;
    std::string faultString() const;
    std::string errorMessage() const;
    // Text of detail/ErrorCode; empty when missing.
    std::string errorCode() const;

private:
    pugi::xml_node find(const char* localName) const;

    int status_;
    std::string body_;
    std::string operation_;
    std::shared_ptr<pugi::xml_document> document_;
    bool parsed_ = false;
};

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the server anew with other settings.
    void restart(const ServerOptions& options);

    Reply post(const SoapCall& call);
    Reply postRaw(const std::string& path, const std::string& soapAction, const std::string& body);
    httplib::Client& client() { return *client_; }
    int port() const { return port_; }
    StandinServer& server() { return *server_; }

    static ServerOptions defaultOptions();

    // Asserts that the reply is a fault with detail carrying that code.
    static void expectFault(const Reply& reply, int code);
    static void expectOk(const Reply& reply);

private:
    std::unique_ptr<StandinServer> server_;
    std::unique_ptr<httplib::Client> client_;
    int port_ = 0;
};
