#include "update/ReleaseDescription.h"

#include <array>
#include <limits>

std::wstring TagText(const std::wstring& description, const std::wstring& tag)
{
    const auto found = description.find(tag);
    if (found == std::wstring::npos)
        return std::wstring();
    const auto start = found + tag.size();
    const auto end = description.find(L'<', start);
    return description.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

std::int32_t DecimalValue(const std::wstring& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        magnitude = std::min(limit, magnitude * 10 + (text[i] - L'0'));
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, limit - 1);
    return static_cast<std::int32_t>(value);
}

ReleaseDecision DecideRelease(const std::wstring& description)
{
    const std::array<const wchar_t*, 4> tags = {L"<main>", L"<minor>", L"<build1>", L"<build2>"};
    std::array<std::int32_t, 4> builtIn = {};
    const std::wstring version = builtInVersion;
    std::size_t start = 0;
    for (std::int32_t& component : builtIn) {
        const auto dot = version.find(L'.', start);
        component = DecimalValue(version.substr(start, dot == std::wstring::npos ? dot : dot - start));
        start = dot == std::wstring::npos ? version.size() : dot + 1;
    }

    ReleaseDecision decision{UpToDate, TagText(description, L"<url>")};
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::int32_t value = DecimalValue(TagText(description, tags[i]));
        if (i < 3) {
            if (value != builtIn[i])
                break;
        } else if (value > builtIn[i]) {
            decision.status = NewerAvailable;
        }
    }
    return decision;
}
