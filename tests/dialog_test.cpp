// The message dialog, the skin base and the icon holder against a window
// without a display: the geometry they apply, the fonts they keep, the
// pictures they draw.

#include <gtest/gtest.h>

#include "message/Dialog.h"
#include "platform/null/NullPlatform.h"
#include "skin/SmartBitmap.h"
#include "support/FakeWindow.h"

namespace {

using Platform::Point;
using Platform::Rect;
using TestSupport::FakeWindow;

class TestBitmap : public Platform::Bitmap {
public:
    TestBitmap(std::int32_t w, std::int32_t h) : w(w), h(h) {}
    std::int32_t Width() const override { return w; }
    std::int32_t Height() const override { return h; }
    std::int32_t w, h;
};

class TestIcon : public Platform::SystemIcon {
public:
    boost::shared_ptr<Platform::Bitmap> ToBitmap() const override
    {
        return boost::shared_ptr<Platform::Bitmap>(new TestBitmap(32, 32));
    }
};

// A dialog whose window events the test sends itself.
class OpenDialog : public Message::Dialog {
public:
    using Message::Dialog::Dialog;
    bool Init(FakeWindow& window) { return OnInitDialog(window); }
    void Paint(Platform::DrawingContext& dc) { OnPaint(dc); }
    void Command(std::int32_t id) { OnCommand(id); }
    void Move(Point p) { OnMouseMove(p); }
    void ActivateLink(const std::wstring& target) { OnLinkActivated(target); }
    const Platform::Font* NormalFont() const { return normalFont.get(); }
    const Platform::Font* BoldFont() const { return boldFont.get(); }
};

Message::Buttons DownloadOrNo() { return Message::Buttons().Append(L"Download", 6).Append(L"No", 7); }

TEST(MessageDialog, AppliesTheComputedGeometry)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"A new version is available.\nSecond line", Message::None, DownloadOrNo(), nullptr);
    ASSERT_TRUE(dialog.Init(window));
    EXPECT_EQ(window.title, L"");
    // 27 units of 6 px on the widest line, two lines of 13 px.
    const int width = 6 + 27 * 6 + 24;
    const int height = 25 + 24 + 26 + 23 + 12;
    EXPECT_EQ(window.window, (Rect{(1024 - width) / 2, (768 - height) / 2, (1024 - width) / 2 + width,
                                   (768 - height) / 2 + height}));
    ASSERT_EQ(window.buttons.size(), 2u);
    // Captions of 8 and 2 units: 62 and 26 px wide, padded to 85.
    const int client = width - 6;
    EXPECT_EQ(window.buttons[0]->bounds, (Rect{(client - 182) / 2, 12 + 26 + 12, (client - 182) / 2 + 85, 73}));
    EXPECT_EQ(window.buttons[1]->bounds.left, window.buttons[0]->bounds.right + 12);
    EXPECT_EQ(window.buttons[0]->id, 6);
    EXPECT_EQ(window.buttons[0]->caption, L"Download");
}

TEST(MessageDialog, GivesAssistiveTechnologyTheTextAsItIsRead)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"First line\n{hl}the notes{hl=http://example.invalid/} and more", Message::None,
                      DownloadOrNo(), nullptr);
    ASSERT_TRUE(dialog.Init(window));
    // Link labels without their markup, with their targets; line breaks as
    // they are; over the painted text. Without a title, the first line names
    // the box.
    std::wstring text;
    std::vector<std::wstring> targets;
    for (const auto& run : window.accessible.runs) {
        text += run.text;
        if (!run.target.empty())
            targets.push_back(run.text + L" -> " + run.target);
    }
    EXPECT_EQ(text, L"First line\nthe notes and more");
    EXPECT_EQ(targets, std::vector<std::wstring>{L"the notes -> http://example.invalid/"});
    EXPECT_EQ(window.accessible.name, L"First line");
    EXPECT_EQ(window.accessible.textArea.left, 12);
    EXPECT_EQ(window.accessible.textArea.top, 12);
    EXPECT_GT(window.accessible.textArea.Width(), 0);
    EXPECT_EQ(window.accessible.iconName, L"");

    FakeWindow titled;
    OpenDialog withTitle(L"Vantrel Zip", L"First line\nSecond", Message::None, DownloadOrNo(), nullptr);
    ASSERT_TRUE(withTitle.Init(titled));
    EXPECT_EQ(titled.accessible.name, L"Vantrel Zip");
}

TEST(MessageDialog, AnActivatedLinkOpensAsAClickDoesAndOnlyItsOwn)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"See {hl}the notes{hl=http://example.invalid/notes}", Message::None, DownloadOrNo(),
                      nullptr);
    ASSERT_TRUE(dialog.Init(window));
    NullPlatform::OpenedWithShell().clear();
    dialog.ActivateLink(L"http://elsewhere.invalid/");
    dialog.ActivateLink(L"");
    dialog.ActivateLink(L"http://example.invalid/notes");
    EXPECT_EQ(NullPlatform::OpenedWithShell(), std::vector<std::wstring>{L"http://example.invalid/notes"});
}

TEST(MessageDialog, WithoutAReferenceWindowGoesTo100By100)
{
    FakeWindow window;
    window.reference.reset();
    OpenDialog dialog(L"T", L"x", Message::None, {}, nullptr);
    ASSERT_TRUE(dialog.Init(window));
    EXPECT_EQ(window.window.left, 100);
    EXPECT_EQ(window.window.top, 100);
    EXPECT_EQ(window.title, L"T");
}

TEST(MessageDialog, GivesEveryControlTheTahomaFaceAndKeepsOnePairOfFonts)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"x", Message::None, DownloadOrNo(), nullptr);
    ASSERT_TRUE(dialog.Init(window));
    EXPECT_EQ(window.fontsAlive, 2);
    const Platform::FontDescription normal = dialog.NormalFont()->Description();
    EXPECT_EQ(normal, (Platform::FontDescription{-11, 0, 400, false, false, false, 1, L"Tahoma"}));
    Platform::FontDescription bold = normal;
    bold.weight = 700;
    EXPECT_EQ(dialog.BoldFont()->Description(), bold);
    EXPECT_EQ(window.windowFont, dialog.NormalFont());
    for (const auto& button : window.buttons)
        EXPECT_EQ(button->font, dialog.NormalFont());
    dialog.UpdateFont();
    EXPECT_EQ(window.fontsAlive, 2);
}

TEST(SkinDialog, AWindowWithoutAFontGetsTahomaAtTheDefaultSize)
{
    FakeWindow window;
    window.font.reset();
    OpenDialog dialog(L"", L"", Message::None, {}, nullptr);
    ASSERT_TRUE(dialog.Init(window));
    EXPECT_EQ(dialog.NormalFont()->Description(),
              (Platform::FontDescription{0, 0, 0, false, false, false, 0, L"Tahoma"}));
    EXPECT_EQ(dialog.BoldFont()->Description().weight, 700);
}

TEST(MessageDialog, ButtonsOneToElevenEndTheRunOthersDoNothing)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"x", Message::None, {}, nullptr);
    ASSERT_TRUE(dialog.Init(window));
    for (const std::int32_t id : {0, 12, -1, 100}) {
        dialog.Command(id);
        EXPECT_FALSE(window.result) << id;
    }
    for (const std::int32_t id : {1, 2, 11}) {
        dialog.Command(id);
        EXPECT_EQ(window.result, id);
    }
}

TEST(MessageDialog, PaintsTheIconAndTheTextAtTheirPlaces)
{
    FakeWindow window;
    OpenDialog dialog(L"", L"ab {hl}link{hl=file://x}", Message::None, {}, nullptr);
    ASSERT_TRUE(dialog.Init(window));
    TestSupport::MeasuringContext dc(6, 13);
    dialog.Paint(dc);
    ASSERT_EQ(dc.drawn.size(), 2u);
    EXPECT_EQ(dc.drawn[0].at, (Point{12, 12}));
    EXPECT_EQ(dc.drawn[1].text, L"link");
    EXPECT_EQ(dc.drawn[1].at, (Point{12 + 18, 12}));
    EXPECT_TRUE(dc.drawn[1].underlined);
    EXPECT_EQ(dc.color, 0x00362E2Eu);
    EXPECT_EQ(dc.origin, (Point{0, 0}));  // restored
    // The pointer turns into a hand over the link only.
    dialog.Move({12 + 18 + 1, 14});
    EXPECT_TRUE(window.pointerOverLink);
    dialog.Move({13, 14});
    EXPECT_FALSE(window.pointerOverLink);
    EXPECT_EQ(dialog.LinkTargetAt({12 + 18 + 1, 14}), L"file://x");
    EXPECT_EQ(dialog.LinkTargetAt({13, 14}), L"");
}

TEST(SmartBitmap, DrawsTheIconWhereItCanAndTheBitmapOtherwise)
{
    SmartBitmap holder;
    holder.icon = std::make_unique<TestIcon>();
    ASSERT_TRUE(holder.FromIcon());
    TestSupport::MeasuringContext dc(1, 1);
    holder.DrawAt(5, 6, &dc);
    holder.DrawStretched(1, 2, 16, 16, &dc);
    EXPECT_EQ(dc.icons, (std::vector<Rect>{{5, 6, -1, -1}, {1, 2, 17, 18}}));
    holder.DrawInRect({0, 0, 64, 64}, &dc);
    holder.DrawPart(3, 4, {8, 8, 24, 24}, &dc);
    Platform::Graphics graphics(dc);
    holder.DrawOnGraphics(graphics);
    ASSERT_EQ(dc.bitmaps.size(), 3u);
    EXPECT_EQ(dc.bitmaps[0].first, (Rect{0, 0, 64, 64}));
    EXPECT_EQ(dc.bitmaps[1], (std::pair<Rect, Rect>{{3, 4, 19, 20}, {8, 8, 24, 24}}));
    EXPECT_EQ(dc.bitmaps[2].first, (Rect{0, 0, 32, 32}));
}

TEST(SmartBitmap, WithNothingOrNoContextDrawsNothing)
{
    TestSupport::MeasuringContext dc(1, 1);
    SmartBitmap empty;
    empty.DrawAt(0, 0, &dc);
    empty.DrawStretched(0, 0, 8, 8, &dc);
    empty.DrawInRect({0, 0, 8, 8}, &dc);
    EXPECT_FALSE(empty.FromIcon());
    EXPECT_TRUE(dc.icons.empty() && dc.bitmaps.empty());

    // Without a context nothing is touched; with one the icon is drawn.
    SmartBitmap iconOnly;
    iconOnly.icon = std::make_unique<TestIcon>();
    iconOnly.DrawAt(0, 0, nullptr);
    iconOnly.DrawStretched(0, 0, 8, 8, nullptr);
    iconOnly.DrawAt(1, 2, &dc);
    ASSERT_EQ(dc.icons.size(), 1u);
    EXPECT_EQ(dc.icons[0], (Rect{1, 2, -1, -1}));
}

TEST(SmartBitmap, HoldsTheImagingLayerWhileItLivesAndSharesItsBitmap)
{
    const int before = NullPlatform::ImagingUsers();
    EXPECT_GE(before, 1);  // the process-wide holder
    boost::shared_ptr<Platform::Bitmap> kept;
    {
        SmartBitmap holder;
        EXPECT_EQ(NullPlatform::ImagingUsers(), before + 1);
        holder.icon = std::make_unique<TestIcon>();
        holder.FromIcon();
        kept = holder.bitmap;
        EXPECT_EQ(kept.use_count(), 2);
    }
    EXPECT_EQ(NullPlatform::ImagingUsers(), before);
    EXPECT_EQ(kept.use_count(), 1);
    EXPECT_EQ(kept->Width(), 32);
}

}  // namespace
