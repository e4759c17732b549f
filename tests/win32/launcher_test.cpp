// The real launcher on Windows, started with exact command lines from another
// directory, with its copy and the stand-in product in a folder with blanks:
// what the product receives, byte for byte.

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "update/ServiceEndpoint.h"

namespace {

std::wstring Directory(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::wstring ModuleDirectory()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Directory(path);
}

std::wstring Utf16(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
    return out;
}

std::string ReadAll(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

// The string stored under key in the stand-in's one-line JSON record.
std::wstring JsonString(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos)
        return L"<none>";
    std::string value;
    for (std::size_t i = at + key.size() + 5; i < json.size() && json[i] != '"'; ++i) {
        if (json[i] == '\\' && i + 1 < json.size()) {
            ++i;
            if (json[i] == 'u') {
                value += static_cast<char>(std::stoi(json.substr(i + 1, 4), nullptr, 16));
                i += 4;
                continue;
            }
        }
        value += json[i];
    }
    return Utf16(value);
}

// The version service on the built-in endpoint, announcing the launcher's
// own release: up to date, so that no box waits for an answer.
class UpToDateService {
public:
    UpToDateService()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(ServiceEndpoint::port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0)
            return;
        thread = std::thread([this] {
            for (;;) {
                const SOCKET client = accept(listener, nullptr, nullptr);
                if (client == INVALID_SOCKET)
                    return;
                Answer(client);
                closesocket(client);
            }
        });
    }
    ~UpToDateService()
    {
        closesocket(listener);
        if (thread.joinable())
            thread.join();
        WSACleanup();
    }
    bool Listening() const { return thread.joinable(); }

private:
    static void Answer(SOCKET client)
    {
        // The whole request: its header, then the body its length announces.
        std::string request;
        char buffer[4096];
        for (;;) {
            const auto end = request.find("\r\n\r\n");
            const auto length = request.find("Content-Length: ");
            if (end != std::string::npos && length != std::string::npos &&
                request.size() >= end + 4 + std::stoul(request.substr(length + 16)))
                break;
            const int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const std::string body =
            "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
            "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\"><GetVersionInfoResult>&lt;main&gt;1&lt;/main&gt;"
            "&lt;minor&gt;1&lt;/minor&gt;&lt;build1&gt;1&lt;/build1&gt;&lt;build2&gt;0&lt;/build2&gt;"
            "</GetVersionInfoResult></GetVersionInfoResponse></soap:Body></soap:Envelope>";
        const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
                                  std::to_string(body.size()) + "\r\n\r\n" + body;
        send(client, reply.data(), static_cast<int>(reply.size()), 0);
    }

    SOCKET listener = INVALID_SOCKET;
    std::thread thread;
};

class LauncherOnWindows : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(ServiceEndpoint::host) != "127.0.0.1")
            GTEST_SKIP() << "the built-in endpoint " << ServiceEndpoint::url << " is not on this machine";
        ASSERT_TRUE(service.Listening()) << "port " << ServiceEndpoint::port << " is taken";
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"vantrelz launcher test " + std::to_wstring(GetCurrentProcessId()) + L"\\";
        folder = root + L"Program Files\\Vantrel Zip\\";
        elsewhere = root + L"elsewhere\\";
        for (const std::wstring& directory : {root, root + L"Program Files\\", folder, elsewhere})
            CreateDirectoryW(directory.c_str(), nullptr);
        launcher = folder + L"vantrelzip.exe";
        product = folder + L"vantrelz.bim";
        report = root + L"product.json";
        ASSERT_TRUE(CopyFileW((ModuleDirectory() + L"vantrelzip.exe").c_str(), launcher.c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((ModuleDirectory() + L"vantrelz.bim").c_str(), product.c_str(), FALSE));
        SetEnvironmentVariableW(L"VANTRELZ_STANDIN_REPORT", report.c_str());
    }

    void TearDown() override
    {
        SetEnvironmentVariableW(L"VANTRELZ_STANDIN_REPORT", nullptr);
        for (const std::wstring& file : {launcher, product, report})
            DeleteFileW(file.c_str());
        for (const std::wstring& directory : {folder, root + L"Program Files\\", elsewhere, root})
            RemoveDirectoryW(directory.c_str());
    }

    // Starts the launcher with exactly this command line from elsewhere and
    // returns its exit code.
    DWORD Run(std::wstring commandLine)
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(launcher.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            elsewhere.c_str(), &startup, &process))
            return 9999;
        CloseHandle(process.hThread);
        DWORD code = 9998;
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        return code;
    }

    // The product's record, once it has written it.
    std::string ProductRecord()
    {
        for (int i = 0; i < 600; ++i) {
            const std::string record = ReadAll(report);
            if (!record.empty())
                return record;
            Sleep(50);
        }
        return std::string();
    }

    UpToDateService service;
    std::wstring root, folder, elsewhere, launcher, product, report;
};

TEST_F(LauncherOnWindows, TheProductGetsItsQuotedPathOneBlankAndExactlyTheArgumentText)
{
    const struct {
        const wchar_t* name;
        std::wstring afterProgram;  // what follows the quoted program name
        std::wstring argumentText;
    } cases[] = {
        {L"no arguments", L"", L""},
        {L"two blanks, a switch and a quoted name", L"  --open \"Quarterly report.vz\"",
         L"--open \"Quarterly report.vz\""},
        {L"blanks and a tab", L" \t  -x  y\t", L"-x  y\t"},
        {L"a quote never closed", L" a \"b c", L"a \"b c"},
        {L"empty quotes", L" \"\" x \"\"", L"\"\" x \"\""},
        {L"text beyond ASCII", L" \u00D1and\u00FA \u65E5\u672C \U0001F600", L"\u00D1and\u00FA \u65E5\u672C \U0001F600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(c.name));
        DeleteFileW(report.c_str());
        EXPECT_EQ(Run(L"\"" + launcher + L"\"" + c.afterProgram), 0u);
        const std::string record = ProductRecord();
        ASSERT_FALSE(record.empty());
        EXPECT_EQ(JsonString(record, "command_line"), L"\"" + product + L"\" " + c.argumentText);
        EXPECT_EQ(JsonString(record, "desktop"), L"WinSta0\\Default");
        // The working directory is the product's folder (the system drops
        // the trailing backslash that the launcher passes).
        EXPECT_EQ(JsonString(record, "cwd") + L"\\", folder);
    }
}

TEST_F(LauncherOnWindows, AProgramNameWhoseQuoteNeverClosesLeavesNoArguments)
{
    EXPECT_EQ(Run(L"\"" + launcher + L" --open x"), 0u);
    const std::string record = ProductRecord();
    EXPECT_EQ(JsonString(record, "command_line"), L"\"" + product + L"\" ");
}

TEST_F(LauncherOnWindows, WithoutTheProductTheLauncherEndsQuietly)
{
    DeleteFileW(product.c_str());
    EXPECT_EQ(Run(L"\"" + launcher + L"\" x"), 0u);
    Sleep(500);
    EXPECT_TRUE(ReadAll(report).empty());
}

}  // namespace
