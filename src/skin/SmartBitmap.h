#pragma once
// Holds one picture for a dialog, an icon, a bitmap made from it, or both,
// and draws it: through the system's icon drawing when there is an icon and
// a context, through the bitmap otherwise. Every holder keeps the imaging
// layer started while it exists.

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <memory>

#include "platform/Imaging.h"

class SmartBitmap {
public:
    SmartBitmap();
    // Releases the bitmap, then its start-up, then the icon.
    ~SmartBitmap();
    SmartBitmap(const SmartBitmap&) = delete;
    SmartBitmap& operator=(const SmartBitmap&) = delete;

    // Makes the bitmap from the icon; true when a bitmap object exists then.
    bool FromIcon();
    void Reset();

    // Bitmap only: stretched into the rectangle.
    virtual void DrawInRect(const Platform::Rect& rect, Platform::DrawingContext* dc);
    // Bitmap only: the source part, unscaled, with its top-left at (x, y).
    virtual void DrawPart(const std::int32_t& x, const std::int32_t& y, const Platform::Rect& source,
                          Platform::DrawingContext* dc);
    // The icon at (x, y) with this size, or else the bitmap stretched to it.
    virtual void DrawStretched(const std::int32_t& x, const std::int32_t& y, const std::int32_t& width,
                               const std::int32_t& height, Platform::DrawingContext* dc);
    // The icon at (x, y) at its own size, or else the bitmap at its own.
    virtual void DrawAt(const std::int32_t& x, const std::int32_t& y, Platform::DrawingContext* dc);
    // Bitmap only: at (0, 0) at its own size.
    virtual void DrawOnGraphics(Platform::Graphics& graphics);
    virtual std::int32_t Startup();
    virtual void Shutdown();

    Platform::ImagingToken token = 0;
    boost::shared_ptr<Platform::Bitmap> bitmap;
    std::unique_ptr<Platform::SystemIcon> icon;

private:
    void DrawBitmap(const Platform::Rect& destination, const Platform::Rect* source, Platform::DrawingContext* dc);
};

// Keeps the imaging layer started for the whole life of the process.
extern SmartBitmap processImageHolder;
