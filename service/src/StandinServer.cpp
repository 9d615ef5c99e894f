#include "StandinServer.h"

#include <chrono>
#include <stdexcept>

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>

#include "Database.h"
#include "Fixtures.h"
#include "RequestLog.h"
#include "SoapEndpoint.h"
#include "Store.h"

namespace {

constexpr const char* kXml = "text/xml; charset=utf-8";

void send(httplib::Response& res, const HttpReply& reply)
{
    res.status = reply.status;
    res.set_content(reply.body, reply.contentType.c_str());
}

} // namespace

StandinServer::StandinServer(const ServerOptions& options)
    : options_(options),
      operations_(OperationTable::standard()),
      store_(std::make_unique<Store>(options.database)),
      endpoint_(std::make_unique<SoapEndpoint>(*store_, operations_, options_.settings)),
      http_(std::make_unique<httplib::Server>())
{
    // The library's default also sets SO_REUSEPORT, which would let a second server share a busy port.
    // TCP_NODELAY (inherited by the accepted connections): the library writes an answer's headers and
    // body apart, and Nagle's algorithm would hold the body back until the client's delayed ACK of the
    // headers, some 40 ms on loopback.
    http_->set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    });
    if (store_->isEmpty()) {
        Transaction transaction(store_->database());
        fixtures::restore(*store_, options_.settings.seedDemo);
        transaction.commit();
    }
    installRoutes();
}

StandinServer::~StandinServer()
{
    stop();
}

void StandinServer::installRoutes()
{
    http_->Get("/standin/requests", [this](const httplib::Request& req, httplib::Response& res) {
        RequestFilter filter;
        if (req.has_param("endpoint"))
            filter.endPoint = req.get_param_value("endpoint");
        if (req.has_param("operation"))
            filter.operation = req.get_param_value("operation");
        if (req.has_param("since")) {
            try {
                filter.afterSeq = std::stoll(req.get_param_value("since"));
            } catch (const std::exception&) {
                res.status = 400;
                res.set_content("since must be a number", "text/plain; charset=utf-8");
                return;
            }
        }
        std::lock_guard<std::mutex> lock(store_->mutex());
        res.set_content(requestlog::toXml(store_->requestLog().entries(filter)), kXml);
    });

    http_->Get("/standin/requests/last", [this](const httplib::Request&, httplib::Response& res) {
        std::lock_guard<std::mutex> lock(store_->mutex());
        auto last = store_->requestLog().last();
        if (!last) {
            res.status = 404;
            res.set_content("The request log is empty.", "text/plain; charset=utf-8");
            return;
        }
        res.set_content(requestlog::toXml(*last), kXml);
    });

    http_->Post("/standin/reset", [this](const httplib::Request&, httplib::Response& res) {
        reset();
        res.set_content("<?xml version=\"1.0\" encoding=\"utf-8\"?><reset/>", kXml);
    });

    // Everything else goes to the SOAP end point, which answers 404 for unknown paths and logs every
    // request. Registered last, so the /standin/ routes above win.
    auto soap = [this](const httplib::Request& req, httplib::Response& res) {
        HttpRequest request{req.method, req.path, req.get_header_value("SOAPAction"),
                            req.get_header_value("Content-Type"), req.body};
        send(res, endpoint_->handle(request));
    };
    const std::string anyPath = "/.*";
    http_->Post(anyPath, soap);
    http_->Get(anyPath, soap);
    http_->Put(anyPath, soap);
    http_->Delete(anyPath, soap);
    http_->Patch(anyPath, soap);

    http_->set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        std::string text = "internal error";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            text = e.what();
        } catch (...) {
        }
        res.status = 500;
        res.set_content(text, "text/plain; charset=utf-8");
    });
}

void StandinServer::reset()
{
    std::lock_guard<std::mutex> lock(store_->mutex());
    Transaction transaction(store_->database());
    store_->requestLog().clear();
    fixtures::restore(*store_, options_.settings.seedDemo);
    transaction.commit();
}

int StandinServer::bind()
{
    if (options_.port == 0) {
        port_ = http_->bind_to_any_port(kHost);
        if (port_ <= 0)
            throw std::runtime_error(std::string("cannot bind a free port on ") + kHost);
    } else {
        if (!http_->bind_to_port(kHost, options_.port))
            throw std::runtime_error(std::string("cannot bind ") + kHost + ":" + std::to_string(options_.port));
        port_ = options_.port;
    }
    return port_;
}

void StandinServer::serve()
{
    http_->listen_after_bind();
}

int StandinServer::start()
{
    int port = bind();
    thread_ = std::thread([this] { serve(); });
    while (!http_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port;
}

void StandinServer::stop()
{
    http_->stop();
    if (thread_.joinable())
        thread_.join();
}
