#include <gtest/gtest.h>

#include "update/DownloadAddress.h"

namespace {

TEST(WebAddress, OnlyHttpAndHttpsUrlsReachTheOpener)
{
    const std::pair<const wchar_t*, std::optional<std::wstring>> cases[] = {
        {L"http://vantrel.example/download/vz.exe", L"http://vantrel.example/download/vz.exe"},
        {L"https://vantrel.example/d?a=1&amp;b=2", L"https://vantrel.example/d?a=1&amp;b=2"},
        {L"  https://vantrel.example/  ", L"https://vantrel.example/"},
        {L"\tHTTP://Vantrel.example/x\n", L"HTTP://Vantrel.example/x"},
        {L"", std::nullopt},
        {L"   ", std::nullopt},
        {L"http://", std::nullopt},
        {L"file:///etc/passwd", std::nullopt},
        {L"/usr/bin/xterm", std::nullopt},
        {L"C:\\Windows\\system32\\calc.exe", std::nullopt},
        {L"javascript:alert(1)", std::nullopt},
        {L"ftp://vantrel.example/vz.exe", std::nullopt},
        {L"--help http://x", std::nullopt},
        {L"http:/x", std::nullopt},
        {L"xhttp://x", std::nullopt},
        {L"http://a b", std::nullopt},
        {L"http://a\x01" L"b", std::nullopt},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(WebAddress(address), expected) << std::string(address, address + std::wcslen(address));
}

}  // namespace
