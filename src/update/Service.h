#pragma once
// The client proxy of the version service: SOAP 1.1, document/literal, one
// operation GetVersionInfo(productID) -> string. The transport carries the
// request and streams the reply into the XML reader, which feeds the reply
// rules of VersionInfoReplyHandler.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/HttpClient.h"
#include "platform/XmlReader.h"
#include "update/ServiceEndpoint.h"
#include "update/VersionInfoReply.h"

namespace Service {

using Status = std::int32_t;
inline constexpr Status statusOk = 0;
inline constexpr Status statusInvalidPointer = static_cast<Status>(0x80004003);
inline constexpr Status statusFailed = static_cast<Status>(0x80004005);
inline constexpr Status statusSoapFault = static_cast<Status>(0x80040200);

inline constexpr char soapAction[] = "\"http://tempuri.org/GetVersionInfo\"";
inline constexpr char userAgent[] = "VCSoapClient";

// The request document, written without declaration, line breaks or blanks.
std::string VersionInfoRequestBody(std::int32_t productID);

template <class Transport = Platform::HttpClient>
class CServiceT : public Transport, public VersionInfoReplyHandler {
public:
    explicit CServiceT(Platform::HttpEndpoint endpoint = {ServiceEndpoint::host, ServiceEndpoint::port,
                                                          ServiceEndpoint::target, ServiceEndpoint::secure})
        : Transport(std::move(endpoint), userAgent)
    {
    }

    void SetTimeout(std::uint32_t milliseconds) { Transport::SetTimeout(milliseconds); }

    Status GetVersionInfo(std::int32_t productID, std::optional<std::wstring>* GetVersionInfoResult)
    {
        if (!GetVersionInfoResult)
            return statusInvalidPointer;
        GetVersionInfoResult->reset();

        Platform::HttpPost post;
        post.accept = "text/*";
        post.headers = {{"SOAPAction", soapAction}, {"Content-Type", "text/xml; charset=utf-8"}};
        post.body = VersionInfoRequestBody(productID);

        if (!reader)
            reader.emplace();
        VersionInfoReplyHandler::Reset();
        reader->Begin(*this);
        ReplySink sink(*reader);
        const bool received = Transport::Post(post, sink);
        if (sink.fault)
            return statusSoapFault;
        if (!received || !reader->Finish() || !Accepted())
            return statusFailed;
        *GetVersionInfoResult = Result();
        return statusOk;
    }

private:
    // Status 500 is a fault whatever the body says; any other body is the
    // response, parsed as it arrives.
    struct ReplySink : Platform::HttpReplySink {
        explicit ReplySink(Platform::XmlReader& reader) : reader(reader) {}
        bool OnStatus(int status) override { return !(fault = status == 500); }
        bool OnBody(const char* data, std::size_t size) override { return reader.Feed(data, size); }
        Platform::XmlReader& reader;
        bool fault = false;
    };

    std::optional<Platform::XmlReader> reader;
};

}  // namespace Service
