#pragma once
// A drawing context with fixed metrics, for layout tests: every code unit is
// unitWidth pixels wide and every line lineHeight high. It records what is
// drawn, where (after translation) and whether the font was underlined.

#include <string>
#include <vector>

#include "platform/DrawingContext.h"
#include "platform/Imaging.h"

namespace TestSupport {

class TestFont : public Platform::Font {
public:
    explicit TestFont(Platform::FontDescription description) : description(std::move(description)) {}
    Platform::FontDescription Description() const override { return description; }
    Platform::FontDescription description;
};

struct DrawnText {
    Platform::Point at;
    std::wstring text;
    bool underlined;
};

class MeasuringContext : public Platform::DrawingContext {
public:
    MeasuringContext(int unitWidth, int lineHeight) : unitWidth(unitWidth), lineHeight(lineHeight) {}

    Platform::Size MeasureText(const std::wstring& text) override
    {
        ++measurements;
        return {static_cast<std::int32_t>(text.size()) * unitWidth, lineHeight};
    }
    void DrawText(Platform::Point at, const std::wstring& text) override
    {
        drawn.push_back({{at.x + origin.x, at.y + origin.y}, text, selected && selected->Description().underline});
    }
    bool GetCurrentFont(Platform::FontDescription& description) override
    {
        if (!selected)
            return false;
        description = selected->Description();
        return true;
    }
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription& description) override
    {
        ++fontsCreated;
        return std::make_unique<TestFont>(description);
    }
    Platform::Font* SelectFont(Platform::Font* font) override
    {
        Platform::Font* previous = selected;
        selected = font;
        return previous;
    }
    void SetTextColor(std::uint32_t value) override { color = value; }
    void SaveState() override { saved.push_back({origin, selected, color}); }
    void RestoreState() override
    {
        origin = saved.back().origin;
        selected = saved.back().font;
        color = saved.back().color;
        saved.pop_back();
    }
    void Translate(std::int32_t dx, std::int32_t dy) override
    {
        origin.x += dx;
        origin.y += dy;
    }
    void DrawIcon(const Platform::SystemIcon&, Platform::Point at) override { icons.push_back({at.x, at.y, -1, -1}); }
    void DrawIcon(const Platform::SystemIcon&, const Platform::Rect& destination) override { icons.push_back(destination); }
    void DrawBitmap(const Platform::Bitmap&, const Platform::Rect& destination, const Platform::Rect& source) override
    {
        bitmaps.push_back({destination, source});
    }

    int unitWidth;
    int lineHeight;
    int measurements = 0;
    int fontsCreated = 0;
    Platform::Font* selected = nullptr;
    std::uint32_t color = 0;
    Platform::Point origin;
    std::vector<DrawnText> drawn;
    std::vector<Platform::Rect> icons;  // right, bottom -1: drawn at the icon's own size
    std::vector<std::pair<Platform::Rect, Platform::Rect>> bitmaps;

private:
    struct State {
        Platform::Point origin;
        Platform::Font* font;
        std::uint32_t color;
    };
    std::vector<State> saved;
};

}  // namespace TestSupport
