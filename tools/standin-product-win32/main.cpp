// The stand-in product for Windows, under the product's file name: says what
// it received. When VANTRELZ_STANDIN_REPORT names a file it writes there
// {"command_line": ..., "cwd": ..., "desktop": ...}: its command line exactly
// as the system gave it, its working directory and the desktop from its
// start-up information.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string Json(const std::wstring& text)
{
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t directory[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH, directory);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const std::string record = "{\"command_line\": " + Json(GetCommandLineW()) + ", \"cwd\": " + Json(directory) +
                               ", \"desktop\": " + Json(startup.lpDesktop ? startup.lpDesktop : L"") + "}\n";

    wchar_t reportPath[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"VANTRELZ_STANDIN_REPORT", reportPath, MAX_PATH);
    if (length == 0 || length > MAX_PATH)
        return 0;
    // Written aside and moved into place, so that a reader never sees half a record.
    const std::wstring partial = std::wstring(reportPath) + L".partial";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && MoveFileExW(partial.c_str(), reportPath, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
