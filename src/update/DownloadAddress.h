#pragma once

#include <optional>
#include <string>

// The download address arrives over plain HTTP: only a web address is handed
// to the desktop's opener, never a local program or file. Returns the
// address without its surrounding blanks when it is an http:// or https://
// URL with something after the scheme and no blank or control character
// inside; otherwise none.
std::optional<std::wstring> WebAddress(const std::wstring& address);
