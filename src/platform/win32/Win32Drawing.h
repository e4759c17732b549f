#pragma once
// Fonts, icons, bitmaps and the drawing context on GDI and GDI+.

#include <windows.h>

#include <boost/shared_ptr.hpp>
#include <vector>

#include "platform/DrawingContext.h"
#include "platform/Imaging.h"

namespace Win32Backend {

Platform::FontDescription FromLogFont(const LOGFONTW& font);
LOGFONTW ToLogFont(const Platform::FontDescription& description);

class Win32Font : public Platform::Font {
public:
    explicit Win32Font(const Platform::FontDescription& description);
    ~Win32Font() override;
    Win32Font(const Win32Font&) = delete;
    Win32Font& operator=(const Win32Font&) = delete;

    Platform::FontDescription Description() const override { return description; }
    HFONT Handle() const { return handle; }

private:
    Platform::FontDescription description;
    HFONT handle;
};

// A GDI+ bitmap; one without an image when it could not be made.
class Win32Bitmap : public Platform::Bitmap {
public:
    explicit Win32Bitmap(void* gdiplusBitmap);  // adopts it
    ~Win32Bitmap() override;
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    void* Image() const { return image; }

private:
    void* image;
};

// A shared system icon: not destroyed.
class Win32Icon : public Platform::SystemIcon {
public:
    explicit Win32Icon(HICON icon) : icon(icon) {}
    boost::shared_ptr<Platform::Bitmap> ToBitmap() const override;
    HICON Handle() const { return icon; }

private:
    HICON icon;
};

// A drawing context on a device context: a paint's, or a window's own that
// it releases.
class HdcContext : public Platform::DrawingContext {
public:
    explicit HdcContext(HDC hdc, HWND releaseTo = nullptr);
    ~HdcContext() override;
    HdcContext(const HdcContext&) = delete;
    HdcContext& operator=(const HdcContext&) = delete;

    Platform::Size MeasureText(const std::wstring& text) override;
    void DrawText(Platform::Point at, const std::wstring& text) override;
    bool GetCurrentFont(Platform::FontDescription& description) override;
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription& description) override;
    Platform::Font* SelectFont(Platform::Font* font) override;
    void SetTextColor(std::uint32_t color) override;
    void SaveState() override;
    void RestoreState() override;
    void Translate(std::int32_t dx, std::int32_t dy) override;
    void DrawIcon(const Platform::SystemIcon& icon, Platform::Point at) override;
    void DrawIcon(const Platform::SystemIcon& icon, const Platform::Rect& destination) override;
    void DrawBitmap(const Platform::Bitmap& bitmap, const Platform::Rect& destination,
                    const Platform::Rect& source) override;

private:
    HDC hdc;
    HWND releaseTo;
    HFONT originalFont;
    Platform::Font* selected = nullptr;
    std::vector<Platform::Font*> savedFonts;
};

}  // namespace Win32Backend
