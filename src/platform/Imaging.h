#pragma once
// Icons and the bitmaps made from them. Both come from the windowing backend;
// the imaging layer's start-up is counted so that bitmaps are always released
// while it is up.

#include <cstdint>
#include <boost/shared_ptr.hpp>
#include <memory>

#include "platform/DrawingContext.h"

namespace Platform {

class Bitmap {
public:
    virtual ~Bitmap() = default;
    // 0 when the bitmap holds no image.
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
};

class SystemIcon {
public:
    virtual ~SystemIcon() = default;
    // A bitmap of the icon's picture; one that holds no image when the
    // picture cannot be converted.
    virtual boost::shared_ptr<Bitmap> ToBitmap() const = 0;
};

// What draws bitmaps on a drawing context, whole or in part.
class Graphics {
public:
    explicit Graphics(DrawingContext& dc) : dc(dc) {}
    void DrawImage(const Bitmap& bitmap, const Rect& destination)
    {
        dc.DrawBitmap(bitmap, destination, {0, 0, bitmap.Width(), bitmap.Height()});
    }
    void DrawImage(const Bitmap& bitmap, const Rect& destination, const Rect& source)
    {
        dc.DrawBitmap(bitmap, destination, source);
    }

private:
    DrawingContext& dc;
};

// Start-up and shut-down of the imaging layer, per token.
using ImagingToken = std::uintptr_t;
// Returns 0 and a new token on success.
std::int32_t ImagingStartup(ImagingToken& token);
void ImagingShutdown(ImagingToken token);

}  // namespace Platform
