#pragma once
// The HTTP server: the SOAP end points under /secure/messenger/soap/ and the test interface under
// /standin/ (request log and reset). Listens on 127.0.0.1 only.

#include <memory>
#include <string>
#include <thread>

#include "OperationTable.h"

namespace httplib {
class Server;
}
class Store;
class SoapEndpoint;

struct ServerOptions {
    int port = 8642;  // 0 picks a free port
    std::string database = ":memory:";
    ServiceSettings settings;
};

class StandinServer {
public:
    static constexpr const char* kHost = "127.0.0.1";

    // Opens the database; a new one gets the fixtures.
    explicit StandinServer(const ServerOptions& options);
    ~StandinServer();
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    // Binds the port; returns it (the chosen one for port 0). Throws std::runtime_error when it cannot.
    int bind();
    // Serves until stop(); bind() first.
    void serve();
    // bind() and serve() on a thread of the server's own; returns once requests are answered.
    int start();
    void stop();

    int port() const { return port_; }
    Store& store() { return *store_; }

    // Clears the request log and restores the fixtures.
    void reset();

private:
    void installRoutes();

    ServerOptions options_;
    OperationTable operations_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<SoapEndpoint> endpoint_;
    std::unique_ptr<httplib::Server> http_;
    std::thread thread_;
    int port_ = 0;
};
