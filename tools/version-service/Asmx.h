#pragma once
// What an ASP.NET .asmx service with the one operation GetVersionInfo answers:
// the operation over SOAP 1.1 and SOAP 1.2, SOAP faults with status 500 for
// requests it cannot take, and its WSDL for GET ?WSDL.

#include <functional>
#include <optional>
#include <string>

namespace Asmx {

struct Request {
    std::string method;       // "POST", "GET"
    std::string target;       // path and query
    std::string host;         // the Host header, for the WSDL's addresses
    std::string contentType;  // the Content-Type header
    std::string soapAction;   // the SOAPAction header, as sent (SOAP 1.1)
    bool hasSoapAction = false;
    std::string body;
};

struct Answer {
    unsigned status = 200;
    std::string contentType;
    std::string body;
};

// The release description for a product, or none for a product the service
// does not know (answered as a null result).
using Catalogue = std::function<std::optional<std::string>(int productID)>;

// scheme is "http" or "https", for the WSDL's addresses. None when the
// request is not for /Service.asmx.
std::optional<Answer> Respond(const Request& request, const std::string& scheme, const Catalogue& catalogue);

}  // namespace Asmx
