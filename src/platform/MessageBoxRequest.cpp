#include "platform/MessageBoxHost.h"

// A request is a sequence of fields, each its length in decimal, a colon and
// its UTF-8 bytes: caption, text, icon, then caption and result of each
// button. Lengths make any text safe to carry, line breaks and colons too.

#include <charconv>

#include "base/Utf8.h"

namespace Platform {
namespace {

void AppendField(std::string& out, std::string_view field)
{
    out += std::to_string(field.size());
    out += ':';
    out += field;
}

std::optional<std::string_view> TakeField(std::string_view& bytes)
{
    const auto colon = bytes.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + colon, length);
    if (error != std::errc() || end != bytes.data() + colon || length > bytes.size() - colon - 1)
        return std::nullopt;
    const std::string_view field = bytes.substr(colon + 1, length);
    bytes.remove_prefix(colon + 1 + length);
    return field;
}

std::optional<std::int32_t> ToInteger(std::string_view text)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

}  // namespace

std::string EncodeMessageBoxRequest(const MessageBoxRequest& request)
{
    std::string out;
    AppendField(out, Utf8::FromWide(request.caption));
    AppendField(out, Utf8::FromWide(request.text));
    AppendField(out, std::to_string(request.icon));
    for (const MessageBoxButton& button : request.buttons) {
        AppendField(out, Utf8::FromWide(button.caption));
        AppendField(out, std::to_string(button.result));
    }
    return out;
}

std::optional<MessageBoxRequest> DecodeMessageBoxRequest(std::string_view bytes)
{
    const auto caption = TakeField(bytes);
    const auto text = caption ? TakeField(bytes) : std::nullopt;
    const auto iconField = text ? TakeField(bytes) : std::nullopt;
    const auto icon = iconField ? ToInteger(*iconField) : std::nullopt;
    if (!icon)
        return std::nullopt;
    MessageBoxRequest request{Utf8::ToWide(*caption), Utf8::ToWide(*text), *icon, {}};
    while (!bytes.empty()) {
        const auto buttonCaption = TakeField(bytes);
        const auto resultField = buttonCaption ? TakeField(bytes) : std::nullopt;
        const auto result = resultField ? ToInteger(*resultField) : std::nullopt;
        if (!result)
            return std::nullopt;
        request.buttons.push_back({Utf8::ToWide(*buttonCaption), *result});
    }
    return request;
}

std::string MessageBoxResultLine(std::int32_t result) { return "result " + std::to_string(result); }

std::optional<std::int32_t> ParseMessageBoxResult(std::string_view line)
{
    constexpr std::string_view prefix = "result ";
    if (line.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    return ToInteger(line.substr(prefix.size()));
}

}  // namespace Platform
