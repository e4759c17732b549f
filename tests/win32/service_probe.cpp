// One GetVersionInfo call through WinINet and MSXML against a service on
// this machine, for the tests that drive it from Linux:
//   service_probe PORT               http://127.0.0.1:PORT/Service.asmx
//   service_probe PORT --https HOST  https://HOST:PORT/Service.asmx
// prints "status 0xXXXXXXXX", "elapsed MS" and "result TEXT" (UTF-8, only
// when the call succeeded), one a line.

#include <chrono>
#include <cstdio>
#include <string>

#include "base/Utf8.h"
#include "platform/Platform.h"
#include "update/Service.h"

int main(int argc, char** argv)
{
    const bool secure = argc == 4 && std::string(argv[2]) == "--https";
    if (argc != 2 && !secure)
        return 2;
    Platform::ServiceScope services;
    Service::CServiceT<> service(
        {secure ? argv[3] : "127.0.0.1", static_cast<unsigned short>(std::stoi(argv[1])), "/Service.asmx", secure});
    service.SetTimeout(2000);
    std::optional<std::wstring> result;
    const auto start = std::chrono::steady_clock::now();
    const Service::Status status = service.GetVersionInfo(6, &result);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("status 0x%08x\nelapsed %lld\n", static_cast<unsigned>(status), static_cast<long long>(elapsed.count()));
    if (result)
        std::printf("result %s\n", Utf8::FromWide(*result).c_str());
    return 0;
}
