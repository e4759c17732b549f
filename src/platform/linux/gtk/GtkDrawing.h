#pragma once
// Fonts, icons, bitmaps and the drawing context on Pango and cairo.

#include <gtk/gtk.h>

#include <vector>

#include "platform/DrawingContext.h"
#include "platform/Imaging.h"

namespace GtkBackend {

// Pixels per inch of the drawing context: fonts are given in pixels, so
// this only fixes how Pango reads them.
inline constexpr double resolution = 96.0;

// The desktop's font resolution as GTK reports it for the screen (it follows
// Xft.dpi, GDK_DPI_SCALE and the desktop's text scaling); 96 without one.
double FontResolution();

// The desktop's primary monitor, else its first; none without a display.
GdkMonitor* PrimaryMonitor();

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

// Icons and bitmaps have a size in logical pixels; their image holds scale
// device pixels for each, so that they are sharp on a scaled screen.
class GtkBitmap : public Platform::Bitmap {
public:
    // Takes a reference of its own; null: no image.
    explicit GtkBitmap(GdkPixbuf* pixbuf, int scale = 1);
    ~GtkBitmap() override;
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    GdkPixbuf* Pixbuf() const { return pixbuf; }
    int Scale() const { return scale; }

private:
    GdkPixbuf* pixbuf;
    int scale;
};

class GtkIcon : public Platform::SystemIcon {
public:
    GtkIcon(GdkPixbuf* pixbuf, int scale);  // adopts the reference
    ~GtkIcon() override;
    boost::shared_ptr<Platform::Bitmap> ToBitmap() const override;
    GdkPixbuf* Pixbuf() const { return pixbuf; }
    int Scale() const { return scale; }

private:
    GdkPixbuf* pixbuf;
    int scale;
};

// The width in device pixels of the image of the last icon made, for the
// box report; 0 before any.
int LoadedIconPixels();

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
