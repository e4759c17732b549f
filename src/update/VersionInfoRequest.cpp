#include <string>

#include "update/Service.h"

namespace Service {

std::string VersionInfoRequestBody(std::int32_t productID)
{
    return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\">"
           "<soap:Body>"
           "<GetVersionInfo xmlns=\"http://tempuri.org/\">"
           "<productID>" +
           std::to_string(productID) +
           "</productID>"
           "</GetVersionInfo>"
           "</soap:Body>"
           "</soap:Envelope>";
}

}  // namespace Service
