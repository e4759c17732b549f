#pragma once
// A dialog window without a display: it records what the dialog does to it
// and measures with fixed metrics.

#include <boost/make_shared.hpp>

#include "platform/Gui.h"
#include "support/MeasuringContext.h"

namespace TestSupport {

class FakeButton : public Platform::ChildWindow {
public:
    FakeButton(std::wstring caption, Platform::Rect bounds, std::int32_t id)
        : caption(std::move(caption)), bounds(bounds), id(id)
    {
    }
    std::int32_t Id() const override { return id; }
    Platform::Rect Bounds() const override { return bounds; }
    void Place(const Platform::Rect& b) override { bounds = b; }
    void SetFont(Platform::Font* f) override { font = f; }

    std::wstring caption;
    Platform::Rect bounds;
    std::int32_t id;
    Platform::Font* font = nullptr;
};

// Counts the fonts alive, to catch a leak or a premature delete.
class CountedFont : public TestFont {
public:
    CountedFont(const Platform::FontDescription& d, int& alive) : TestFont(d), alive(alive) { ++alive; }
    ~CountedFont() override { --alive; }
    int& alive;
};

class FakeWindow : public Platform::DialogWindow {
public:
    void SetTitle(const std::wstring& t) override { title = t; }
    bool GetFont(Platform::FontDescription& d) override
    {
        if (!font)
            return false;
        d = *font;
        return true;
    }
    void SetFont(Platform::Font* f) override
    {
        windowFont = f;
        if (f)
            font = f->Description();
        else
            font.reset();
    }
    std::vector<Platform::ChildWindow*> Children() override
    {
        std::vector<Platform::ChildWindow*> children;
        for (auto it = buttons.rbegin(); it != buttons.rend(); ++it)
            children.push_back(it->get());
        return children;
    }
    Platform::Rect ClientRect() override { return {0, 0, window.Width() - frame.cx, window.Height() - frame.cy}; }
    Platform::Rect WindowRect() override { return window; }
    std::unique_ptr<Platform::DrawingContext> GetDrawingContext() override
    {
        return std::make_unique<MeasuringContext>(unitWidth, lineHeight);
    }
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription& d) override
    {
        return std::make_unique<CountedFont>(d, fontsAlive);
    }
    boost::shared_ptr<Platform::ChildWindow> CreatePushButton(const std::wstring& caption, const Platform::Rect& b,
                                                              std::int32_t id) override
    {
        buttons.push_back(boost::make_shared<FakeButton>(caption, b, id));
        return buttons.back();
    }
    std::optional<Platform::Rect> ReferenceRect() override { return reference; }
    void Move(const Platform::Rect& r) override { window = r; }
    std::uint32_t WindowTextColor() override { return 0x00362E2E; }
    void SetLinkPointer(bool overLink) override { pointerOverLink = overLink; }
    void SetAccessibleMessage(const Platform::AccessibleMessage& message) override { accessible = message; }
    void EndDialog(std::int32_t r) override { result = r; }

    int unitWidth = 6;
    int lineHeight = 13;
    std::optional<Platform::FontDescription> font =
        Platform::FontDescription{-11, 0, 400, false, false, false, 1, L"MS Shell Dlg"};
    Platform::Font* windowFont = nullptr;
    std::wstring title = L"(template)";
    Platform::Size frame = {6, 25};
    Platform::Rect window = {0, 0, 285, 171};
    std::optional<Platform::Rect> reference = Platform::Rect{0, 0, 1024, 768};
    std::vector<boost::shared_ptr<FakeButton>> buttons;
    int fontsAlive = 0;
    bool pointerOverLink = false;
    Platform::AccessibleMessage accessible;
    std::optional<std::int32_t> result;
};

}  // namespace TestSupport
