// Arbitrary UTF-16 text as a message: split into elements and laid out at
// several widths. Nothing may crash or hang, and every drawn run must lie
// inside the extent that the dialog sizes itself by.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "message/Splitting.h"

namespace {

// Metrics that vary by character, so that estimates miss now and then.
class VaryingContext : public Platform::DrawingContext {
public:
    static constexpr std::int32_t lineHeight = 13;
    Platform::Size MeasureText(const std::wstring& text) override
    {
        std::int32_t width = 0;
        for (wchar_t c : text)
            width += 1 + static_cast<std::int32_t>(static_cast<std::uint32_t>(c) % 13);
        return {width, lineHeight};
    }
    void DrawText(Platform::Point at, const std::wstring& text) override
    {
        const std::int32_t right = at.x + MeasureText(text).cx;
        if (at.x < 0 || at.y < 0 || right > extent.cx || at.y + lineHeight > extent.cy)
            std::abort();
    }
    bool GetCurrentFont(Platform::FontDescription&) override { return false; }
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription&) override { return nullptr; }
    Platform::Font* SelectFont(Platform::Font*) override { return nullptr; }
    void SetTextColor(std::uint32_t) override {}
    void SaveState() override {}
    void RestoreState() override {}
    void Translate(std::int32_t, std::int32_t) override {}
    void DrawIcon(const Platform::SystemIcon&, Platform::Point) override {}
    void DrawIcon(const Platform::SystemIcon&, const Platform::Rect&) override {}
    void DrawBitmap(const Platform::Bitmap&, const Platform::Rect&, const Platform::Rect&) override {}

    Platform::Size extent;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size && text.size() < 512; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

    Message::Elements elements;
    Message::SplitAndAdd(elements, text);
    for (const std::int32_t maxWidth : {526, 482, 100, 13, 1, 0, -5}) {
        VaryingContext dc;
        Platform::Point pen;
        for (const auto& element : elements)
            element->Layout(dc, dc.extent, pen, maxWidth);
        for (const auto& element : elements) {
            element->Draw(dc);
            element->HitTest({1, 1});
        }
    }
    return 0;
}
