#include "platform/win32/Win32Drawing.h"

#include <gdiplus.h>

#include <algorithm>
#include <cwchar>

namespace Win32Backend {

using namespace Gdiplus;

Platform::FontDescription FromLogFont(const LOGFONTW& font)
{
    Platform::FontDescription description;
    description.height = font.lfHeight;
    description.width = font.lfWidth;
    description.weight = font.lfWeight;
    description.italic = font.lfItalic;
    description.underline = font.lfUnderline;
    description.strikeOut = font.lfStrikeOut;
    description.charSet = font.lfCharSet;
    description.faceName = font.lfFaceName;
    return description;
}

LOGFONTW ToLogFont(const Platform::FontDescription& description)
{
    LOGFONTW font = {};
    font.lfHeight = description.height;
    font.lfWidth = description.width;
    font.lfWeight = description.weight;
    font.lfItalic = description.italic;
    font.lfUnderline = description.underline;
    font.lfStrikeOut = description.strikeOut;
    font.lfCharSet = description.charSet;
    description.faceName.copy(font.lfFaceName, LF_FACESIZE - 1);
    return font;
}

Win32Font::Win32Font(const Platform::FontDescription& description)
    : description(description), handle([&] {
          const LOGFONTW font = ToLogFont(description);
          return CreateFontIndirectW(&font);
      }())
{
}

Win32Font::~Win32Font()
{
    if (handle)
        DeleteObject(handle);
}

Win32Bitmap::Win32Bitmap(void* gdiplusBitmap) : image(gdiplusBitmap) {}

Win32Bitmap::~Win32Bitmap()
{
    if (image)
        DllExports::GdipDisposeImage(static_cast<GpImage*>(image));
}

std::int32_t Win32Bitmap::Width() const
{
    UINT width = 0;
    if (image)
        DllExports::GdipGetImageWidth(static_cast<GpImage*>(image), &width);
    return static_cast<std::int32_t>(width);
}

std::int32_t Win32Bitmap::Height() const
{
    UINT height = 0;
    if (image)
        DllExports::GdipGetImageHeight(static_cast<GpImage*>(image), &height);
    return static_cast<std::int32_t>(height);
}

boost::shared_ptr<Platform::Bitmap> Win32Icon::ToBitmap() const
{
    GpBitmap* bitmap = nullptr;
    if (DllExports::GdipCreateBitmapFromHICON(icon, &bitmap) != Ok)
        bitmap = nullptr;
    return boost::shared_ptr<Platform::Bitmap>(new Win32Bitmap(bitmap));
}

HdcContext::HdcContext(HDC hdc, HWND releaseTo)
    : hdc(hdc), releaseTo(releaseTo), originalFont(static_cast<HFONT>(GetCurrentObject(hdc, OBJ_FONT)))
{
    SetBkMode(hdc, TRANSPARENT);
    SetGraphicsMode(hdc, GM_ADVANCED);
}

HdcContext::~HdcContext()
{
    SelectObject(hdc, originalFont);
    if (releaseTo)
        ReleaseDC(releaseTo, hdc);
}

Platform::Size HdcContext::MeasureText(const std::wstring& text)
{
    SIZE size = {};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    return {size.cx, size.cy};
}

void HdcContext::DrawText(Platform::Point at, const std::wstring& text)
{
    TextOutW(hdc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

bool HdcContext::GetCurrentFont(Platform::FontDescription& description)
{
    LOGFONTW font = {};
    const HGDIOBJ current = GetCurrentObject(hdc, OBJ_FONT);
    if (!current || !GetObjectW(current, sizeof font, &font))
        return false;
    description = FromLogFont(font);
    return true;
}

std::unique_ptr<Platform::Font> HdcContext::CreateFont(const Platform::FontDescription& description)
{
    return std::make_unique<Win32Font>(description);
}

Platform::Font* HdcContext::SelectFont(Platform::Font* font)
{
    Platform::Font* previous = selected;
    const auto* win32Font = dynamic_cast<Win32Font*>(font);
    SelectObject(hdc, win32Font && win32Font->Handle() ? win32Font->Handle() : originalFont);
    selected = font;
    return previous;
}

void HdcContext::SetTextColor(std::uint32_t color) { ::SetTextColor(hdc, color); }

void HdcContext::SaveState()
{
    SaveDC(hdc);
    savedFonts.push_back(selected);
}

void HdcContext::RestoreState()
{
    RestoreDC(hdc, -1);
    if (!savedFonts.empty()) {
        selected = savedFonts.back();
        savedFonts.pop_back();
    }
}

void HdcContext::Translate(std::int32_t dx, std::int32_t dy)
{
    const XFORM translation = {1, 0, 0, 1, static_cast<FLOAT>(dx), static_cast<FLOAT>(dy)};
    ModifyWorldTransform(hdc, &translation, MWT_LEFTMULTIPLY);
}

void HdcContext::DrawIcon(const Platform::SystemIcon& icon, Platform::Point at)
{
    if (const auto* win32Icon = dynamic_cast<const Win32Icon*>(&icon))
        ::DrawIcon(hdc, at.x, at.y, win32Icon->Handle());
}

void HdcContext::DrawIcon(const Platform::SystemIcon& icon, const Platform::Rect& destination)
{
    if (const auto* win32Icon = dynamic_cast<const Win32Icon*>(&icon))
        DrawIconEx(hdc, destination.left, destination.top, win32Icon->Handle(), destination.Width(),
                   destination.Height(), 0, nullptr, DI_NORMAL);
}

void HdcContext::DrawBitmap(const Platform::Bitmap& bitmap, const Platform::Rect& destination,
                            const Platform::Rect& source)
{
    const auto* win32Bitmap = dynamic_cast<const Win32Bitmap*>(&bitmap);
    GpGraphics* graphics = nullptr;
    if (!win32Bitmap || !win32Bitmap->Image() || DllExports::GdipCreateFromHDC(hdc, &graphics) != Ok)
        return;
    DllExports::GdipDrawImageRectRectI(graphics, static_cast<GpImage*>(win32Bitmap->Image()), destination.left,
                                       destination.top, destination.Width(), destination.Height(), source.left,
                                       source.top, source.Width(), source.Height(), UnitPixel, nullptr, nullptr,
                                       nullptr);
    DllExports::GdipDeleteGraphics(graphics);
}

}  // namespace Win32Backend
