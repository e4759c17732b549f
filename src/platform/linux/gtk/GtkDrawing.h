#pragma once
// Fonts, icons, bitmaps and the drawing context on Pango and cairo.

#include <gtk/gtk.h>

#include <vector>

#include "platform/DrawingContext.h"
#include "platform/Imaging.h"

namespace GtkBackend {

// Pixels per inch of the dialog geometry: fixed, as it is unscaled.
inline constexpr double resolution = 96.0;

class GtkFont : public Platform::Font {
public:
    explicit GtkFont(const Platform::FontDescription& description);
    ~GtkFont() override;
    GtkFont(const GtkFont&) = delete;
    GtkFont& operator=(const GtkFont&) = delete;

    Platform::FontDescription Description() const override { return description; }
    const PangoFontDescription* Pango() const { return pango; }

private:
    Platform::FontDescription description;
    PangoFontDescription* pango;
};

class GtkBitmap : public Platform::Bitmap {
public:
    explicit GtkBitmap(GdkPixbuf* pixbuf);  // takes a reference of its own; null: no image
    ~GtkBitmap() override;
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    GdkPixbuf* Pixbuf() const { return pixbuf; }

private:
    GdkPixbuf* pixbuf;
};

class GtkIcon : public Platform::SystemIcon {
public:
    explicit GtkIcon(GdkPixbuf* pixbuf);  // adopts the reference
    ~GtkIcon() override;
    boost::shared_ptr<Platform::Bitmap> ToBitmap() const override;
    GdkPixbuf* Pixbuf() const { return pixbuf; }

private:
    GdkPixbuf* pixbuf;
};

// A drawing context on a cairo context: the one of a paint, or one of its
// own for measuring.
class CairoContext : public Platform::DrawingContext {
public:
    // Borrows cr when given; otherwise measures on a surface of its own.
    explicit CairoContext(cairo_t* cr = nullptr);
    ~CairoContext() override;
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

    Platform::Size MeasureText(const std::wstring& text) override;
    void DrawText(Platform::Point at, const std::wstring& text) override;
    bool GetCurrentFont(Platform::FontDescription& description) override;
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription& description) override;
    Platform::Font* SelectFont(Platform::Font* font) override;
    void SetTextColor(std::uint32_t color) override { textColor = color; }
    void SaveState() override;
    void RestoreState() override;
    void Translate(std::int32_t dx, std::int32_t dy) override;
    void DrawIcon(const Platform::SystemIcon& icon, Platform::Point at) override;
    void DrawIcon(const Platform::SystemIcon& icon, const Platform::Rect& destination) override;
    void DrawBitmap(const Platform::Bitmap& bitmap, const Platform::Rect& destination,
                    const Platform::Rect& source) override;

private:
    void PrepareLayout(const std::wstring& text);
    void DrawPixbuf(GdkPixbuf* pixbuf, const Platform::Rect& destination, const Platform::Rect& source);

    cairo_surface_t* ownSurface = nullptr;
    cairo_t* cr;
    PangoLayout* layout;
    GtkFont* selected = nullptr;
    std::uint32_t textColor = 0;
    struct State {
        GtkFont* font;
        std::uint32_t color;
    };
    std::vector<State> saved;
};

// The font of a description in Pango's terms.
PangoFontDescription* ToPango(const Platform::FontDescription& description);

}  // namespace GtkBackend
