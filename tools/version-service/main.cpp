// vantrelz-version-service: a stand-in for the version service on 127.0.0.1,
// over http or https. It behaves as the .asmx service does (Asmx.h): product
// 6's release description, built from --release and --url, for a right
// request, a SOAP fault for a wrong one, its WSDL for GET ?WSDL. On request it
// misbehaves, so that a launcher build can be tried against every kind of
// reply.

#include <sys/socket.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/stream.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Asmx.h"

namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

const char usage[] =
    "usage: vantrelz-version-service [options]\n"
    "  --port N          listen on 127.0.0.1:N (default 8531; 0 picks a free port)\n"
    "  --release A.B.C.D the release the description announces (default 1.1.1.0)\n"
    "  --url U           the download address in the description\n"
    "  --https           serve TLS with --cert and --key (PEM files)\n"
    "  --cert F --key F  the server's certificate (chain) and private key\n"
    "  --status N        answer with this HTTP status (the body stays the response)\n"
    "  --body-file F     answer with the bytes of F as the body instead\n"
    "  --reply-file F    answer with the bytes of F as the whole reply, status line\n"
    "                    and headers included, as a broken proxy might\n"
    "  --delay-ms N      wait N ms before answering\n"
    "  --silent          accept connections and read requests, but never answer\n"
    "  --unreachable     listen but never accept, with the backlog full: connects stall\n"
    "  --print-requests  print every request received, as received\n";

struct Options {
    unsigned short port = 8531;
    std::string release = "1.1.1.0";
    std::string url;
    unsigned status = 200;
    std::string bodyFile;
    std::string replyFile;
    unsigned delayMs = 0;
    bool silent = false;
    bool unreachable = false;
    bool printRequests = false;
    bool https = false;
    std::string certificate;
    std::string key;
};

[[noreturn]] void Fail(const std::string& message)
{
    std::cerr << "vantrelz-version-service: " << message << "\n" << usage;
    std::exit(2);
}

unsigned Number(const std::string& text, unsigned maximum, const char* option)
{
    if (!std::regex_match(text, std::regex("[0-9]{1,9}")) || std::stoul(text) > maximum)
        Fail(std::string(option) + " needs a number up to " + std::to_string(maximum));
    return static_cast<unsigned>(std::stoul(text));
}

Options Parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Fail(option + " needs a value");
            return argv[++i];
        };
        if (option == "--port") options.port = static_cast<unsigned short>(Number(value(), 65535, "--port"));
        else if (option == "--release") options.release = value();
        else if (option == "--url") options.url = value();
        else if (option == "--status") options.status = Number(value(), 999, "--status");
        else if (option == "--body-file") options.bodyFile = value();
        else if (option == "--reply-file") options.replyFile = value();
        else if (option == "--delay-ms") options.delayMs = Number(value(), 600000, "--delay-ms");
        else if (option == "--silent") options.silent = true;
        else if (option == "--unreachable") options.unreachable = true;
        else if (option == "--print-requests") options.printRequests = true;
        else if (option == "--https") options.https = true;
        else if (option == "--cert") options.certificate = value();
        else if (option == "--key") options.key = value();
        else if (option == "--help" || option == "-h") { std::cout << usage; std::exit(0); }
        else Fail("unknown option " + option);
    }
    if (!std::regex_match(options.release, std::regex("-?[0-9]+\\.-?[0-9]+\\.-?[0-9]+\\.-?[0-9]+")))
        Fail("--release needs the form A.B.C.D");
    if (options.status < 100)
        Fail("--status needs a status from 100 to 999");
    if (options.https && (options.certificate.empty() || options.key.empty()))
        Fail("--https needs --cert and --key");
    return options;
}

std::string FileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Product 6's release description.
std::string Description(const Options& options)
{
    std::vector<std::string> parts;
    std::stringstream release(options.release);
    for (std::string part; std::getline(release, part, '.');)
        parts.push_back(part);
    return "<main>" + parts[0] + "</main><minor>" + parts[1] + "</minor><build1>" + parts[2] + "</build1><build2>" +
           parts[3] + "</build2><url>" + options.url + "</url>";
}

// Reads one request; prints it as it came when asked to.
template <class Stream>
bool ReadRequest(Stream& stream, tcp::socket& socket, const Options& options,
                 http::request<http::string_body>& request)
{
    boost::beast::flat_buffer buffer;
    boost::system::error_code ec;
    http::read(stream, buffer, request, ec);
    if (ec)
        return false;
    if (options.printRequests) {
        std::ostringstream raw;
        raw << request;
        std::cout << "--- request from " << socket.remote_endpoint(ec) << "\n" << raw.str() << "\n--- end\n";
        std::cout.flush();
    }
    return true;
}

class Service {
public:
    explicit Service(Options given) : options(std::move(given)), description(Description(options))
    {
        rawReply = options.replyFile.empty() ? std::string() : FileContent(options.replyFile);
        bodyOverride = options.bodyFile.empty() ? std::string() : FileContent(options.bodyFile);
        // The path of the announced address, served to a browser that follows it.
        const auto authority = options.url.find("://");
        const auto pathStart = authority == std::string::npos ? authority : options.url.find('/', authority + 3);
        downloadPath = pathStart == std::string::npos ? std::string() : options.url.substr(pathStart);
    }

    // One connection: one request, one answer.
    template <class Stream>
    void Serve(Stream& stream, tcp::socket& socket)
    {
        boost::system::error_code ec;
        http::request<http::string_body> request;
        if (!ReadRequest(stream, socket, options, request))
            return;
        if (options.silent) {
            heldOpen.push_back(std::move(socket));
            return;
        }
        if (options.delayMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
        if (!rawReply.empty()) {
            asio::write(stream, asio::buffer(rawReply), ec);
            return;
        }
        http::response<http::string_body> response = Answer(request);
        response.prepare_payload();
        http::write(stream, response, ec);
    }

private:
    http::response<http::string_body> Answer(const http::request<http::string_body>& request)
    {
        http::response<http::string_body> response;
        response.version(11);
        response.keep_alive(false);

        Asmx::Request asked;
        asked.method = std::string(request.method_string());
        asked.target = std::string(request.target());
        asked.host = std::string(request[http::field::host]);
        asked.contentType = std::string(request[http::field::content_type]);
        asked.hasSoapAction = request.find("SOAPAction") != request.end();
        asked.soapAction = std::string(request["SOAPAction"]);
        asked.body = request.body();
        const auto answer = Asmx::Respond(asked, options.https ? "https" : "http",
                                          [&](int productID) -> std::optional<std::string> {
                                              if (productID == 6)
                                                  return description;
                                              return std::nullopt;
                                          });
        if (answer) {
            response.result(answer->status);
            response.set(http::field::content_type, answer->contentType);
            response.body() = answer->body;
            // The misbehaviours asked for apply to the operation's answer.
            if (request.method() == http::verb::post) {
                if (options.status != 200)
                    response.result(options.status);
                if (!options.bodyFile.empty())
                    response.body() = bodyOverride;
            }
        } else if (request.method() == http::verb::get && !downloadPath.empty() &&
                   request.target() == downloadPath) {
            // What a browser sees when the demo's Download is pressed.
            response.result(http::status::ok);
            response.set(http::field::content_type, "text/plain; charset=utf-8");
            response.body() = "vantrelz-version-service: here the download of Vantrel Zip " + options.release +
                              " would begin.\n";
        } else {
            response.result(http::status::not_found);
            response.set(http::field::content_type, "text/plain");
            response.body() = "Only /Service.asmx is served here.\n";
        }
        return response;
    }

    Options options;
    std::string description;  // product 6's
    std::string rawReply;
    std::string bodyOverride;
    std::string downloadPath;
    std::vector<tcp::socket> heldOpen;  // --silent: answered never, closed never
};

}  // namespace

int main(int argc, char** argv)
{
    const Options options = Parse(argc, argv);
    Service service(options);

    asio::ssl::context tls(asio::ssl::context::tls_server);
    if (options.https) {
        boost::system::error_code ec;
        tls.use_certificate_chain_file(options.certificate, ec);
        if (!ec)
            tls.use_private_key_file(options.key, asio::ssl::context::pem, ec);
        if (ec)
            Fail("cannot use " + options.certificate + " and " + options.key + ": " + ec.message());
    }

    asio::io_context context;
    tcp::acceptor acceptor(context);
    boost::system::error_code ec;
    const tcp::endpoint local(asio::ip::make_address("127.0.0.1"), options.port);
    acceptor.open(local.protocol(), ec);
    if (!ec) acceptor.set_option(tcp::acceptor::reuse_address(true), ec);
    if (!ec) acceptor.bind(local, ec);
    if (!ec) acceptor.listen(options.unreachable ? 0 : asio::socket_base::max_listen_connections, ec);
    if (ec) {
        std::cerr << "vantrelz-version-service: cannot listen on 127.0.0.1:" << options.port << ": " << ec.message()
                  << "\n";
        return 1;
    }
    std::cout << "vantrelz-version-service: listening on " << (options.https ? "https" : "http")
              << "://127.0.0.1:" << acceptor.local_endpoint().port() << "/Service.asmx" << std::endl;

    if (options.unreachable) {
        // Connections of its own fill the backlog; the kernel then drops
        // every further handshake, as on a host that does not answer.
        std::vector<tcp::socket> fillers;
        for (int i = 0; i < 4; ++i) {
            fillers.emplace_back(context);
            fillers.back().open(tcp::v4(), ec);
            fillers.back().non_blocking(true, ec);
            fillers.back().connect(acceptor.local_endpoint(), ec);
        }
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }

    for (;;) {
        tcp::socket socket(context);
        acceptor.accept(socket, ec);
        if (ec)
            continue;
        // A client that connects and sends nothing must not stall the service.
        const timeval receiveTimeout = {5, 0};
        setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout);
        if (!options.https) {
            service.Serve(socket, socket);
        } else {
            asio::ssl::stream<tcp::socket&> stream(socket, tls);
            stream.handshake(asio::ssl::stream_base::server, ec);
            if (ec) {
                // A client that refused the certificate sent nothing.
                if (options.printRequests)
                    std::cout << "--- handshake failed: " << ec.message() << std::endl;
                continue;
            }
            service.Serve(stream, socket);
        }
        socket.shutdown(tcp::socket::shutdown_both, ec);
    }
}
