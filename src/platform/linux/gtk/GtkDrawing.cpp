#include "platform/linux/gtk/GtkDrawing.h"

#include <algorithm>

#include "base/Utf8.h"

namespace GtkBackend {

PangoFontDescription* ToPango(const Platform::FontDescription& description)
{
    PangoFontDescription* pango = pango_font_description_new();
    if (!description.faceName.empty())
        pango_font_description_set_family(pango, Utf8::FromWide(description.faceName).c_str());
    // A negative height is the em height, a positive one the cell height (of
    // which the em is about four fifths); 0 is the default dialog size.
    double pixels = description.height < 0 ? -description.height
                    : description.height > 0 ? description.height * 0.8
                                             : 11;
    pango_font_description_set_absolute_size(pango, pixels * PANGO_SCALE);
    const int weight = description.weight == 0 ? 400 : std::clamp(description.weight, 100, 1000);
    pango_font_description_set_weight(pango, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(pango, description.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return pango;
}

double FontResolution()
{
    GdkScreen* screen = gdk_screen_get_default();
    const double dpi = screen ? gdk_screen_get_resolution(screen) : -1;
    return dpi > 0 ? dpi : 96.0;
}

GdkMonitor* PrimaryMonitor()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display && gdk_display_get_n_monitors(display) > 0)
        monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

namespace {
int loadedIconPixels = 0;
}  // namespace

int LoadedIconPixels() { return loadedIconPixels; }

GtkFont::GtkFont(const Platform::FontDescription& description)
    : description(description), pango(ToPango(description))
{
}

GtkFont::~GtkFont() { pango_font_description_free(pango); }

GtkBitmap::GtkBitmap(GdkPixbuf* pixbuf, int scale)
    : pixbuf(pixbuf ? GDK_PIXBUF(g_object_ref(pixbuf)) : nullptr), scale(std::max(1, scale))
{
}

GtkBitmap::~GtkBitmap()
{
    if (pixbuf)
        g_object_unref(pixbuf);
}

std::int32_t GtkBitmap::Width() const { return pixbuf ? gdk_pixbuf_get_width(pixbuf) / scale : 0; }

std::int32_t GtkBitmap::Height() const { return pixbuf ? gdk_pixbuf_get_height(pixbuf) / scale : 0; }

GtkIcon::GtkIcon(GdkPixbuf* pixbuf, int scale) : pixbuf(pixbuf), scale(std::max(1, scale))
{
    if (pixbuf)
        loadedIconPixels = gdk_pixbuf_get_width(pixbuf);
}

GtkIcon::~GtkIcon()
{
    if (pixbuf)
        g_object_unref(pixbuf);
}

boost::shared_ptr<Platform::Bitmap> GtkIcon::ToBitmap() const
{
    return boost::shared_ptr<Platform::Bitmap>(new GtkBitmap(pixbuf, scale));
}

CairoContext::CairoContext(cairo_t* borrowed)
{
    if (borrowed) {
        cr = cairo_reference(borrowed);
    } else {
        ownSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cr = cairo_create(ownSurface);
    }
    layout = pango_cairo_create_layout(cr);
    pango_cairo_context_set_resolution(pango_layout_get_context(layout), resolution);
    pango_layout_context_changed(layout);
    // As the system's text output: a line break is a character, not a line.
    pango_layout_set_single_paragraph_mode(layout, TRUE);
}

CairoContext::~CairoContext()
{
    g_object_unref(layout);
    cairo_destroy(cr);
    if (ownSurface)
        cairo_surface_destroy(ownSurface);
}

void CairoContext::PrepareLayout(const std::wstring& text)
{
    static const Platform::FontDescription fallback;
    PangoFontDescription* description = selected ? nullptr : ToPango(fallback);
    pango_layout_set_font_description(layout, selected ? selected->Pango() : description);
    if (description)
        pango_font_description_free(description);
    PangoAttrList* attributes = pango_attr_list_new();
    if (selected && selected->Description().underline)
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (selected && selected->Description().strikeOut)
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    const std::string utf8 = Utf8::FromWide(text);
    pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));
}

// As the system's text measurement: the width of the string, and the font's
// line height whatever the string holds ("\n" or an emoji from another face
// included), so that every line of a message advances alike.
Platform::Size CairoContext::MeasureText(const std::wstring& text)
{
    PrepareLayout(text);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    const std::int32_t width = logical.width;
    pango_layout_set_text(layout, "", 0);
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return {width, logical.height};
}

void CairoContext::DrawText(Platform::Point at, const std::wstring& text)
{
    PrepareLayout(text);
    cairo_set_source_rgb(cr, (textColor & 0xFF) / 255.0, ((textColor >> 8) & 0xFF) / 255.0,
                         ((textColor >> 16) & 0xFF) / 255.0);
    cairo_move_to(cr, at.x, at.y);
    pango_cairo_show_layout(cr, layout);
}

bool CairoContext::GetCurrentFont(Platform::FontDescription& description)
{
    if (!selected)
        return false;
    description = selected->Description();
    return true;
}

std::unique_ptr<Platform::Font> CairoContext::CreateFont(const Platform::FontDescription& description)
{
    return std::make_unique<GtkFont>(description);
}

Platform::Font* CairoContext::SelectFont(Platform::Font* font)
{
    Platform::Font* previous = selected;
    selected = dynamic_cast<GtkFont*>(font);
    return previous;
}

void CairoContext::SaveState()
{
    cairo_save(cr);
    saved.push_back({selected, textColor});
}

void CairoContext::RestoreState()
{
    if (saved.empty())
        return;
    cairo_restore(cr);
    selected = saved.back().font;
    textColor = saved.back().color;
    saved.pop_back();
}

void CairoContext::Translate(std::int32_t dx, std::int32_t dy) { cairo_translate(cr, dx, dy); }

void CairoContext::DrawPixbuf(GdkPixbuf* pixbuf, const Platform::Rect& destination, const Platform::Rect& source)
{
    if (!pixbuf || source.Width() <= 0 || source.Height() <= 0)
        return;
    cairo_save(cr);
    cairo_rectangle(cr, destination.left, destination.top, destination.Width(), destination.Height());
    cairo_clip(cr);
    cairo_translate(cr, destination.left, destination.top);
    cairo_scale(cr, static_cast<double>(destination.Width()) / source.Width(),
                static_cast<double>(destination.Height()) / source.Height());
    gdk_cairo_set_source_pixbuf(cr, pixbuf, -source.left, -source.top);
    cairo_paint(cr);
    cairo_restore(cr);
}

void CairoContext::DrawIcon(const Platform::SystemIcon& icon, Platform::Point at)
{
    const auto& gtkIcon = static_cast<const GtkIcon&>(icon);
    GdkPixbuf* pixbuf = gtkIcon.Pixbuf();
    if (!pixbuf)
        return;
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    DrawPixbuf(pixbuf, {at.x, at.y, at.x + width / gtkIcon.Scale(), at.y + height / gtkIcon.Scale()},
               {0, 0, width, height});
}

void CairoContext::DrawIcon(const Platform::SystemIcon& icon, const Platform::Rect& destination)
{
    GdkPixbuf* pixbuf = static_cast<const GtkIcon&>(icon).Pixbuf();
    if (pixbuf)
        DrawPixbuf(pixbuf, destination, {0, 0, gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)});
}

void CairoContext::DrawBitmap(const Platform::Bitmap& bitmap, const Platform::Rect& destination,
                              const Platform::Rect& source)
{
    // The source is in logical pixels, the image in device pixels.
    const auto& gtkBitmap = static_cast<const GtkBitmap&>(bitmap);
    const int scale = gtkBitmap.Scale();
    DrawPixbuf(gtkBitmap.Pixbuf(), destination,
               {source.left * scale, source.top * scale, source.right * scale, source.bottom * scale});
}

}  // namespace GtkBackend
