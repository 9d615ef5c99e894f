// Sending throughput: 200 messages through the SDK's SendService2 object from one process
// against the same number of raw XMLHTTP posts of the very envelope the SDK sent (read back
// from the stand-in's request log), in one run, the two interleaved send by send. Prints the
// messages per second of each and the ratio SDK/raw (target at least 0.85). The account's
// message limit is restored through the SDK's TestService between batches, outside the timing.
// Run it under scripts/with-standin (scripts/bench).
//   send_bench [SENDS]   (default 200 of each)
#include <windows.h>
#include <oleauto.h>

#include <atlbase.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ComTestSupport.h"
#include "MsXml.h"
#include "ServerLoadSupport.h"
#include "TarvockLib.h"

namespace {

using bench::Check;
using bench::Environment;
using testsupport::Omitted;
using testsupport::BesideProgram;

const double kTarget = 0.85;
const int kBatch = 40;  // sends of each kind between two restores of the limit (100)
const int kWarmUpSends = 10;
const wchar_t kRecipient[] = L"447700900301";
const wchar_t kBody[] = L"Throughput test message";

// The text of the first element named tag in an XML text.
std::wstring ElementText(const std::wstring& xml, const wchar_t* tag) {
    CComPtr<IXMLDOMDocument> document;
    Check(document.CoCreateInstance(msxml::kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER), "DOM document");
    VARIANT_BOOL loaded = VARIANT_FALSE;
    Check(document->loadXML(CComBSTR(xml.c_str()), &loaded), "loadXML");
    CComPtr<IXMLDOMNodeList> list;
    CComPtr<IXMLDOMNode> node;
    if (!loaded || FAILED(document->getElementsByTagName(CComBSTR(tag), &list)) || !list ||
        FAILED(list->get_item(0, &node)) || !node)
        throw std::runtime_error("no element in the stand-in's answer");
    CComBSTR text;
    Check(node->get_text(&text), "text");
    return text ? std::wstring(text, text.Length()) : std::wstring();
}

// One XMLHTTP exchange as the SDK's transport makes it: a new object, open, the two headers,
// send; gives the status and the response text.
class CXmlHttp {
public:
    CXmlHttp() { Check(::CLSIDFromProgID(L"Microsoft.XMLHTTP", &m_class), "CLSIDFromProgID"); }

    long Exchange(const wchar_t* verb, const std::wstring& address, const wchar_t* soapAction,
                  const std::wstring& body, std::wstring* response) const {
        CComPtr<IXMLHTTPRequest> request;
        Check(request.CoCreateInstance(m_class, nullptr, CLSCTX_INPROC_SERVER), "XMLHTTP");
        VARIANT async;
        ::VariantInit(&async);
        async.vt = VT_I2;
        async.iVal = 0;
        Check(request->open(CComBSTR(verb), CComBSTR(address.c_str()), async, Omitted(), Omitted()), "open");
        if (soapAction) {
            Check(request->setRequestHeader(CComBSTR(L"Content-Type"), CComBSTR(L"text/xml;charset=utf-8")), "header");
            Check(request->setRequestHeader(CComBSTR(L"SOAPAction"), CComBSTR(soapAction)), "header");
        }
        CComVariant content(body.c_str());
        Check(request->send(content), "send");
        long status = 0;
        Check(request->get_status(&status), "status");
        CComBSTR text;
        Check(request->get_responseText(&text), "responseText");
        if (response) *response = text ? std::wstring(text, text.Length()) : std::wstring();
        return status;
    }

private:
    CLSID m_class = {};
};

// The SDK server loaded from beside the program and its objects created from its class factory,
// so the benchmark needs no registration. The library stays loaded until the process ends.
class CSdkLibrary {
public:
    explicit CSdkLibrary(const std::wstring& path) : m_library(::LoadLibraryW(path.c_str())) {
        if (!m_library) throw std::runtime_error("TarvockSDK2.dll is not beside the program");
    }

    template <class T>
    CComPtr<T> Create(REFCLSID clsid) const {
        CComPtr<T> object;
        Check(testsupport::CreateFromServer(m_library, clsid, __uuidof(T), reinterpret_cast<void**>(&object)),
              "creating a TarvockSDK2.dll object");
        return object;
    }

private:
    HMODULE m_library;
};

// The sends of one kind: their count and the time spent in them.
class CThroughput {
public:
    CThroughput(const char* name, std::function<void()> send) : m_name(name), m_send(std::move(send)) {}

    void Send() {
        const double start = bench::Seconds();
        m_send();
        m_seconds.push_back(bench::Seconds() - start);
    }
    double TotalSeconds() const {
        double total = 0;
        for (double s : m_seconds) total += s;
        return total;
    }
    double MessagesPerSecond() const { return m_seconds.size() / TotalSeconds(); }
    double MedianMillis() const { return bench::Median(m_seconds) * 1000.0; }
    void Report() const {
        std::printf("  %-28s %4zu sends in %7.3f s  %8.1f messages/s  (median %.2f ms)\n", m_name, m_seconds.size(),
                    TotalSeconds(), MessagesPerSecond(), MedianMillis());
    }

private:
    const char* m_name;
    std::function<void()> m_send;
    std::vector<double> m_seconds;
};

int Run(int sends) {
    const std::wstring url = Environment(L"TARVOCK_STANDIN_URL");
    const std::wstring base = Environment(L"TARVOCK_STANDIN_BASE");
    if (url.empty() || base.empty()) {
        std::fprintf(stderr, "TARVOCK_STANDIN_URL is not set: run under scripts/with-standin\n");
        return 2;
    }
    CSdkLibrary sdk(BesideProgram(L"TarvockSDK2.dll"));
    auto test = sdk.Create<ITestService>(CLSID_TestService);
    Check(test->SetSoapEndPoints(CComBSTR(url.c_str()), CComBSTR(url.c_str())), "SetSoapEndPoints");
    auto sender = sdk.Create<ISendService2>(CLSID_SendService2);
    Check(sender->Initialise(CComBSTR(L"test"), CComBSTR(L"test"), CComBSTR(L"TEST01"), Omitted()), "Initialise");

    auto sdkSend = [&] {
        CComBSTR id;
        Check(sender->SendMessage(CComBSTR(kRecipient), CComBSTR(kBody), MESSAGE_TYPE_TEXT, &id), "SendMessage");
        if (id.Length() != 36) throw std::runtime_error("SendMessage gave no message identifier");
    };
    auto restoreLimit = [&] { Check(test->SetupSendTests(), "SetupSendTests"); };

    // The envelope the SDK sends, as the stand-in received it, is what the raw posts send.
    restoreLimit();
    sdkSend();
    const CXmlHttp http;
    std::wstring log;
    if (http.Exchange(L"GET", base + L"/standin/requests/last", nullptr, L"", &log) != 200)
        throw std::runtime_error("the stand-in's request log cannot be read");
    const std::wstring envelope = ElementText(log, L"body");
    const std::wstring address = url + L"SendService.asmx";
    const std::wstring action = L"http://com.tarvock/messenger/SendMessage";
    auto rawSend = [&] {
        std::wstring response;
        if (http.Exchange(L"POST", address, action.c_str(), envelope, &response) != 200)
            throw std::runtime_error("raw post: " + std::string(response.begin(), response.end()));
        if (response.find(L"<SendMessageResult>") == std::wstring::npos)
            throw std::runtime_error("raw post gave no message identifier");
    };

    CThroughput sdkSeries("SendService2.SendMessage", sdkSend);
    CThroughput rawSeries("raw XMLHTTP post", rawSend);
    restoreLimit();
    for (int i = 0; i < kWarmUpSends; ++i) {
        sdkSend();
        rawSend();
    }
    for (int i = 0; i < sends; ++i) {
        if (i % kBatch == 0) restoreLimit();
        // Alternating which goes first, so drift hits both alike.
        if (i % 2 == 0) {
            sdkSeries.Send();
            rawSeries.Send();
        } else {
            rawSeries.Send();
            sdkSeries.Send();
        }
    }

    std::printf("SendMessage to %ls, %d sends of each kind from one process (interleaved)\n", address.c_str(), sends);
    sdkSeries.Report();
    rawSeries.Report();
    const double ratio = sdkSeries.MessagesPerSecond() / rawSeries.MessagesPerSecond();
    std::printf("SDK/raw throughput ratio: %.3f (target >= %.2f) %s\n", ratio, kTarget,
                ratio >= kTarget ? "within target" : "BELOW TARGET");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return bench::Main(argc, argv, 200, "send_bench [SENDS]", "send bench failed", Run);
}
