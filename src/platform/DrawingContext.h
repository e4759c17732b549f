#pragma once
// Geometry in device pixels, font descriptions, and the drawing context that
// the message box measures and paints with. A backend implements the context
// on its own graphics library; tests use a deterministic one.

#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

struct Size {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const Rect&) const = default;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    // left <= x < right and top <= y < bottom.
    bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
};

// A font as a logical description: a negative height is the character
// height in pixels, a positive one the cell height; 0 is the default.
struct FontDescription {
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t weight = 0;  // 0 default, 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 0;
    std::wstring faceName;  // at most 31 characters
    bool operator==(const FontDescription&) const = default;
};

inline constexpr std::size_t faceNameCapacity = 32;  // terminator included

// One font of the backend, deleted with the object.
class Font {
public:
    virtual ~Font() = default;
    virtual FontDescription Description() const = 0;
};

class SystemIcon;
class Bitmap;

class DrawingContext {
public:
    virtual ~DrawingContext() = default;

    // Width and height of the text in the selected font.
    virtual Size MeasureText(const std::wstring& text) = 0;
    // Draws the text with its top-left corner at the point, in the selected
    // font and text colour; the background is left as it is.
    virtual void DrawText(Point at, const std::wstring& text) = 0;

    // The selected font's description; false when none is selected.
    virtual bool GetCurrentFont(FontDescription& description) = 0;
    virtual std::unique_ptr<Font> CreateFont(const FontDescription& description) = 0;
    // Selects a font (null: the context's default) and returns the one that
    // was selected before.
    virtual Font* SelectFont(Font* font) = 0;

    // Text colour as 0x00BBGGRR.
    virtual void SetTextColor(std::uint32_t color) = 0;
    // Saves and restores the colour, the font and the origin.
    virtual void SaveState() = 0;
    virtual void RestoreState() = 0;
    // Moves the origin: later drawing at (x, y) lands at (x + dx, y + dy).
    virtual void Translate(std::int32_t dx, std::int32_t dy) = 0;

    // The system's icon drawing: at the icon's own size, or at the given one.
    virtual void DrawIcon(const SystemIcon& icon, Point at) = 0;
    virtual void DrawIcon(const SystemIcon& icon, const Rect& destination) = 0;
    // Draws a bitmap, or a part of it, into a rectangle of the context.
    virtual void DrawBitmap(const Bitmap& bitmap, const Rect& destination, const Rect& source) = 0;
};

}  // namespace Platform
