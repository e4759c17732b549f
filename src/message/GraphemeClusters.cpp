#include "message/GraphemeClusters.h"

namespace Message {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point that starts at index, and where the next one starts.
char32_t CodePointAt(const std::wstring& text, std::size_t index, std::size_t* next = nullptr)
{
    const wchar_t c = text[index];
    if (IsHighSurrogate(c) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
        if (next)
            *next = index + 2;
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(text[index + 1]) - 0xDC00);
    }
    if (next)
        *next = index + 1;
    return static_cast<char32_t>(c);
}

// Where the code point that ends just before index starts.
std::size_t StartBefore(const std::wstring& text, std::size_t index)
{
    if (index >= 2 && IsLowSurrogate(text[index - 1]) && IsHighSurrogate(text[index - 2]))
        return index - 2;
    return index - 1;
}

constexpr char32_t zeroWidthJoiner = 0x200D;

// What attaches to the code point before it.
bool Extends(char32_t c)
{
    return (c >= 0x0300 && c <= 0x036F) ||    // combining diacritical marks
           (c >= 0x0483 && c <= 0x0489) ||    // Cyrillic combining marks
           (c >= 0x0591 && c <= 0x05BD) ||    // Hebrew points
           (c >= 0x064B && c <= 0x065F) ||    // Arabic marks
           (c >= 0x1AB0 && c <= 0x1AFF) ||    // combining marks extended
           (c >= 0x1DC0 && c <= 0x1DFF) ||    // combining marks supplement
           (c >= 0x20D0 && c <= 0x20FF) ||    // combining marks for symbols
           (c >= 0xFE00 && c <= 0xFE0F) ||    // variation selectors
           (c >= 0xFE20 && c <= 0xFE2F) ||    // combining half marks
           (c >= 0x1F3FB && c <= 0x1F3FF) ||  // skin-tone modifiers
           (c >= 0xE0020 && c <= 0xE007F) ||  // tags (subdivision flags)
           (c >= 0xE0100 && c <= 0xE01EF) ||  // variation selectors supplement
           c == zeroWidthJoiner;
}

bool IsRegionalIndicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

}  // namespace

bool IsClusterBoundary(const std::wstring& text, std::size_t index)
{
    if (index == 0 || index >= text.size())
        return true;
    if (IsHighSurrogate(text[index - 1]) && IsLowSurrogate(text[index]))
        return false;
    const char32_t next = CodePointAt(text, index);
    if (Extends(next))
        return false;
    const std::size_t previousStart = StartBefore(text, index);
    const char32_t previous = CodePointAt(text, previousStart);
    if (previous == zeroWidthJoiner)
        return false;
    if (IsRegionalIndicator(previous) && IsRegionalIndicator(next)) {
        // Indicators pair up from the start of their run: a cut after an odd
        // number of them would split a flag.
        std::size_t count = 0;
        for (std::size_t i = index; i > 0;) {
            const std::size_t start = StartBefore(text, i);
            if (!IsRegionalIndicator(CodePointAt(text, start)))
                break;
            ++count;
            i = start;
        }
        return count % 2 == 0;
    }
    return true;
}

}  // namespace Message
