#include "Asmx.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <memory>
#include <vector>

namespace Asmx {
namespace {

constexpr char soap11[] = "http://schemas.xmlsoap.org/soap/envelope/";
constexpr char soap12[] = "http://www.w3.org/2003/05/soap-envelope";
constexpr char tempuri[] = "http://tempuri.org/";
constexpr char action[] = "http://tempuri.org/GetVersionInfo";

enum class Version { Soap11, Soap12 };

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Envelope(Version version, const std::string& body)
{
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"") +
           (version == Version::Soap11 ? soap11 : soap12) +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>" +
           body + "</soap:Body></soap:Envelope>";
}

std::string ContentType(Version version)
{
    return version == Version::Soap11 ? "text/xml; charset=utf-8" : "application/soap+xml; charset=utf-8";
}

// A fault blames the client: Client in SOAP 1.1, Sender in SOAP 1.2.
Answer Fault(Version version, const std::string& reason)
{
    const std::string fault =
        version == Version::Soap11
            ? "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>" + Escaped(reason) +
                  "</faultstring><detail /></soap:Fault>"
            : "<soap:Fault><soap:Code><soap:Value>soap:Sender</soap:Value></soap:Code><soap:Reason>"
              "<soap:Text xml:lang=\"en\">" +
                  Escaped(reason) + "</soap:Text></soap:Reason><soap:Detail /></soap:Fault>";
    return {500, ContentType(version), Envelope(version, fault)};
}

// What the request document holds, as far as dispatch needs it.
struct Call {
    std::string envelope;   // the document element's namespace, when it is "Envelope"
    std::string operation;  // the first element in the body, "namespace name"
    std::string productID;  // the text of the operation's productID
    bool hasProductID = false;
};

// Reads the request with expat in namespace mode; false when it is not
// well-formed XML. A DOCTYPE is refused, as ASP.NET refuses one.
bool ReadCall(const std::string& body, Call& call)
{
    struct State {
        Call& call;
        int depth = 0;
        int bodyDepth = 0;       // depth of the Body element, once open
        int operationDepth = 0;  // depth of the operation element, once open
        bool inProductID = false;
        XML_Parser parser = nullptr;
    } state{call};

    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreateNS(nullptr, ' '),
                                                                        XML_ParserFree);
    state.parser = parser.get();
    XML_SetUserData(parser.get(), &state);
    XML_SetStartDoctypeDeclHandler(parser.get(), [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
        XML_StopParser(static_cast<State*>(data)->parser, XML_FALSE);
    });
    XML_SetElementHandler(
        parser.get(),
        [](void* data, const XML_Char* name, const XML_Char**) {
            State& s = *static_cast<State*>(data);
            const std::string qualified = name;
            const auto space = qualified.find(' ');
            const std::string uri = space == std::string::npos ? "" : qualified.substr(0, space);
            const std::string local = space == std::string::npos ? qualified : qualified.substr(space + 1);
            ++s.depth;
            if (s.depth == 1 && local == "Envelope")
                s.call.envelope = uri;
            else if (s.depth == 2 && local == "Body" && uri == s.call.envelope && !s.bodyDepth)
                s.bodyDepth = s.depth;
            else if (s.bodyDepth && s.depth == s.bodyDepth + 1 && s.call.operation.empty()) {
                s.call.operation = uri + " " + local;
                s.operationDepth = s.depth;
            } else if (s.operationDepth && s.depth == s.operationDepth + 1 && uri == tempuri && local == "productID") {
                s.inProductID = true;
                s.call.hasProductID = true;
            }
        },
        [](void* data, const XML_Char*) {
            State& s = *static_cast<State*>(data);
            s.inProductID = false;
            --s.depth;
        });
    XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
        State& s = *static_cast<State*>(data);
        if (s.inProductID)
            s.call.productID.append(text, static_cast<std::size_t>(length));
    });
    return XML_Parse(parser.get(), body.data(), static_cast<int>(body.size()), XML_TRUE) == XML_STATUS_OK;
}

// xsd:int as XML Schema reads it: blanks around, an optional sign, digits.
std::optional<int> SchemaInt(std::string text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::nullopt;
    text = text.substr(first, last - first + 1);
    if (text.front() == '+')
        text.erase(0, 1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string Wsdl(const std::string& location)
{
    return R"(<?xml version="1.0" encoding="utf-8"?>
<wsdl:definitions xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:soap12="http://schemas.xmlsoap.org/wsdl/soap12/" xmlns:s="http://www.w3.org/2001/XMLSchema" xmlns:tns="http://tempuri.org/" xmlns:wsdl="http://schemas.xmlsoap.org/wsdl/" targetNamespace="http://tempuri.org/">
  <wsdl:types>
    <s:schema elementFormDefault="qualified" targetNamespace="http://tempuri.org/">
      <s:element name="GetVersionInfo">
        <s:complexType>
          <s:sequence>
            <s:element minOccurs="1" maxOccurs="1" name="productID" type="s:int" />
          </s:sequence>
        </s:complexType>
      </s:element>
      <s:element name="GetVersionInfoResponse">
        <s:complexType>
          <s:sequence>
            <s:element minOccurs="0" maxOccurs="1" name="GetVersionInfoResult" type="s:string" />
          </s:sequence>
        </s:complexType>
      </s:element>
    </s:schema>
  </wsdl:types>
  <wsdl:message name="GetVersionInfoSoapIn">
    <wsdl:part name="parameters" element="tns:GetVersionInfo" />
  </wsdl:message>
  <wsdl:message name="GetVersionInfoSoapOut">
    <wsdl:part name="parameters" element="tns:GetVersionInfoResponse" />
  </wsdl:message>
  <wsdl:portType name="ServiceSoap">
    <wsdl:operation name="GetVersionInfo">
      <wsdl:input message="tns:GetVersionInfoSoapIn" />
      <wsdl:output message="tns:GetVersionInfoSoapOut" />
    </wsdl:operation>
  </wsdl:portType>
  <wsdl:binding name="ServiceSoap" type="tns:ServiceSoap">
    <soap:binding transport="http://schemas.xmlsoap.org/soap/http" />
    <wsdl:operation name="GetVersionInfo">
      <soap:operation soapAction="http://tempuri.org/GetVersionInfo" style="document" />
      <wsdl:input><soap:body use="literal" /></wsdl:input>
      <wsdl:output><soap:body use="literal" /></wsdl:output>
    </wsdl:operation>
  </wsdl:binding>
  <wsdl:binding name="ServiceSoap12" type="tns:ServiceSoap">
    <soap12:binding transport="http://schemas.xmlsoap.org/soap/http" />
    <wsdl:operation name="GetVersionInfo">
      <soap12:operation soapAction="http://tempuri.org/GetVersionInfo" style="document" />
      <wsdl:input><soap12:body use="literal" /></wsdl:input>
      <wsdl:output><soap12:body use="literal" /></wsdl:output>
    </wsdl:operation>
  </wsdl:binding>
  <wsdl:service name="Service">
    <wsdl:port name="ServiceSoap" binding="tns:ServiceSoap">
      <soap:address location=")" + Escaped(location) + R"(" />
    </wsdl:port>
    <wsdl:port name="ServiceSoap12" binding="tns:ServiceSoap12">
      <soap12:address location=")" + Escaped(location) + R"(" />
    </wsdl:port>
  </wsdl:service>
</wsdl:definitions>
)";
}

Answer Operation(Version version, const Request& request, const Catalogue& catalogue)
{
    Call call;
    if (!ReadCall(request.body, call))
        return Fault(version, "Server was unable to read request. ---> There is an error in XML document.");
    if (call.envelope != (version == Version::Soap11 ? soap11 : soap12))
        return Fault(version, "Possible SOAP version mismatch: Envelope namespace " + call.envelope +
                                  " was unexpected. Expecting " + (version == Version::Soap11 ? soap11 : soap12) +
                                  ".");
    if (call.operation != std::string(tempuri) + " GetVersionInfo")
        return Fault(version, "Server did not recognize the value of the request element: " + call.operation + ".");
    const auto productID = call.hasProductID ? SchemaInt(call.productID) : std::optional<int>(0);
    if (!productID)
        return Fault(version, "Server was unable to read request. ---> productID is not an int.");
    const auto description = catalogue(*productID);
    const std::string response =
        description ? "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\"><GetVersionInfoResult>" +
                          Escaped(*description) + "</GetVersionInfoResult></GetVersionInfoResponse>"
                    : "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\" />";
    return {200, ContentType(version), Envelope(version, response)};
}

}  // namespace

std::optional<Answer> Respond(const Request& request, const std::string& scheme, const Catalogue& catalogue)
{
    const auto query = request.target.find('?');
    if (request.target.substr(0, query) != "/Service.asmx")
        return std::nullopt;
    if (request.method == "GET" && query != std::string::npos && Lower(request.target.substr(query)) == "?wsdl")
        return Answer{200, "text/xml; charset=utf-8", Wsdl(scheme + "://" + request.host + "/Service.asmx")};
    if (request.method != "POST")
        return Answer{405, "text/plain; charset=utf-8", "Only POST and GET ?WSDL are served here.\n"};

    // SOAP 1.1 comes as text/xml with a SOAPAction header; SOAP 1.2 as
    // application/soap+xml, its action (if any) a parameter of the type.
    const std::string type = Lower(request.contentType);
    const std::string mediaType = type.substr(0, type.find(';'));
    if (mediaType == "application/soap+xml") {
        const auto actionAt = request.contentType.find("action=");
        if (actionAt != std::string::npos) {
            std::string named = request.contentType.substr(actionAt + 7);
            named = named.substr(0, named.find(';'));
            if (named.size() >= 2 && named.front() == '"' && named.back() == '"')
                named = named.substr(1, named.size() - 2);
            if (named != action)
                return Fault(Version::Soap12, "Server did not recognize the value of HTTP Header SOAPAction: " +
                                                  named + ".");
        }
        return Operation(Version::Soap12, request, catalogue);
    }
    if (mediaType != "text/xml")
        return Answer{415, "text/plain; charset=utf-8", "Unsupported Media Type: " + request.contentType + "\n"};
    std::string named = request.soapAction;
    if (named.size() >= 2 && named.front() == '"' && named.back() == '"')
        named = named.substr(1, named.size() - 2);
    if (!request.hasSoapAction)
        return Fault(Version::Soap11, "Unable to handle request without a valid action parameter. Please supply a "
                                      "valid soap action.");
    if (named != action)
        return Fault(Version::Soap11, "Server did not recognize the value of HTTP Header SOAPAction: " + named + ".");
    return Operation(Version::Soap11, request, catalogue);
}

}  // namespace Asmx
