// vantrelz-version-service: a stand-in for the version service on 127.0.0.1.
// It answers POST /Service.asmx with a SOAP 1.1 GetVersionInfoResponse whose
// release description it builds from --release and --url, or misbehaves on
// request, so that a launcher build can be tried against every kind of reply.

#include <sys/socket.h>

#include <boost/asio/ip/tcp.hpp>
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

namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;

const char usage[] =
    "usage: vantrelz-version-service [options]\n"
    "  --port N          listen on 127.0.0.1:N (default 8531; 0 picks a free port)\n"
    "  --release A.B.C.D the release the description announces (default 1.1.1.0)\n"
    "  --url U           the download address in the description\n"
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
        else if (option == "--help" || option == "-h") { std::cout << usage; std::exit(0); }
        else Fail("unknown option " + option);
    }
    if (!std::regex_match(options.release, std::regex("-?[0-9]+\\.-?[0-9]+\\.-?[0-9]+\\.-?[0-9]+")))
        Fail("--release needs the form A.B.C.D");
    if (options.status < 100)
        Fail("--status needs a status from 100 to 999");
    return options;
}

std::string EscapedText(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        default: out += c;
        }
    }
    return out;
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

std::string ResponseBody(const Options& options)
{
    if (!options.bodyFile.empty())
        return FileContent(options.bodyFile);
    std::vector<std::string> parts;
    std::stringstream release(options.release);
    for (std::string part; std::getline(release, part, '.');)
        parts.push_back(part);
    const std::string description = "<main>" + parts[0] + "</main><minor>" + parts[1] + "</minor><build1>" +
                                    parts[2] + "</build1><build2>" + parts[3] + "</build2><url>" + options.url +
                                    "</url>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
           "<soap:Body><GetVersionInfoResponse xmlns=\"http://tempuri.org/\"><GetVersionInfoResult>" +
           EscapedText(description) +
           "</GetVersionInfoResult></GetVersionInfoResponse></soap:Body></soap:Envelope>";
}

// Reads one request; prints it as it came when asked to.
bool ReadRequest(tcp::socket& socket, const Options& options, http::request<http::string_body>& request)
{
    boost::beast::flat_buffer buffer;
    boost::system::error_code ec;
    http::read(socket, buffer, request, ec);
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

}  // namespace

int main(int argc, char** argv)
{
    const Options options = Parse(argc, argv);
    const std::string body = ResponseBody(options);
    const std::string rawReply = options.replyFile.empty() ? std::string() : FileContent(options.replyFile);
    // The path of the announced address, served to a browser that follows it.
    const auto authority = options.url.find("://");
    const auto pathStart = authority == std::string::npos ? authority : options.url.find('/', authority + 3);
    const std::string downloadPath = pathStart == std::string::npos ? std::string() : options.url.substr(pathStart);

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
    std::cout << "vantrelz-version-service: listening on http://127.0.0.1:" << acceptor.local_endpoint().port()
              << "/Service.asmx" << std::endl;

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

    std::vector<tcp::socket> heldOpen;  // --silent: answered never, closed never
    for (;;) {
        tcp::socket socket(context);
        acceptor.accept(socket, ec);
        if (ec)
            continue;
        // A client that connects and sends nothing must not stall the service.
        const timeval receiveTimeout = {5, 0};
        setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout);

        http::request<http::string_body> request;
        if (!ReadRequest(socket, options, request))
            continue;
        if (options.silent) {
            heldOpen.push_back(std::move(socket));
            continue;
        }
        if (options.delayMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
        if (!rawReply.empty()) {
            asio::write(socket, asio::buffer(rawReply), ec);
            socket.shutdown(tcp::socket::shutdown_both, ec);
            continue;
        }

        http::response<http::string_body> response;
        response.version(11);
        response.keep_alive(false);
        if (request.method() == http::verb::post && request.target() == "/Service.asmx") {
            response.result(options.status);
            response.set(http::field::content_type, "text/xml; charset=utf-8");
            response.body() = body;
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
            response.body() = "Only POST /Service.asmx is served here.\n";
        }
        response.prepare_payload();
        http::write(socket, response, ec);
        socket.shutdown(tcp::socket::shutdown_both, ec);
    }
}
