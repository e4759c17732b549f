#include "skin/SmartBitmap.h"

SmartBitmap processImageHolder;

SmartBitmap::SmartBitmap() { Platform::ImagingStartup(token); }

SmartBitmap::~SmartBitmap()
{
    Reset();
    Platform::ImagingShutdown(token);
    icon.reset();
}

bool SmartBitmap::FromIcon()
{
    bitmap = icon ? icon->ToBitmap() : boost::shared_ptr<Platform::Bitmap>();
    return bitmap != nullptr;
}

void SmartBitmap::Reset() { bitmap.reset(); }

void SmartBitmap::DrawBitmap(const Platform::Rect& destination, const Platform::Rect* source,
                             Platform::DrawingContext* dc)
{
    if (!bitmap || !dc)
        return;
    Platform::Graphics graphics(*dc);
    if (source)
        graphics.DrawImage(*bitmap, destination, *source);
    else
        graphics.DrawImage(*bitmap, destination);
}

void SmartBitmap::DrawInRect(const Platform::Rect& rect, Platform::DrawingContext* dc) { DrawBitmap(rect, nullptr, dc); }

void SmartBitmap::DrawPart(const std::int32_t& x, const std::int32_t& y, const Platform::Rect& source,
                           Platform::DrawingContext* dc)
{
    DrawBitmap({x, y, x + source.Width(), y + source.Height()}, &source, dc);
}

void SmartBitmap::DrawStretched(const std::int32_t& x, const std::int32_t& y, const std::int32_t& width,
                                const std::int32_t& height, Platform::DrawingContext* dc)
{
    if (icon && dc)
        dc->DrawIcon(*icon, Platform::Rect{x, y, x + width, y + height});
    else
        DrawBitmap({x, y, x + width, y + height}, nullptr, dc);
}

void SmartBitmap::DrawAt(const std::int32_t& x, const std::int32_t& y, Platform::DrawingContext* dc)
{
    if (icon && dc)
        dc->DrawIcon(*icon, Platform::Point{x, y});
    else if (bitmap)
        DrawBitmap({x, y, x + bitmap->Width(), y + bitmap->Height()}, nullptr, dc);
}

void SmartBitmap::DrawOnGraphics(Platform::Graphics& graphics)
{
    if (bitmap)
        graphics.DrawImage(*bitmap, {0, 0, bitmap->Width(), bitmap->Height()});
}

std::int32_t SmartBitmap::Startup() { return Platform::ImagingStartup(token); }

void SmartBitmap::Shutdown() { Platform::ImagingShutdown(token); }
