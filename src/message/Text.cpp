#include "message/Text.h"

#include <boost/xpressive/xpressive_static.hpp>
#include <cmath>

#include "message/GraphemeClusters.h"

namespace Message {
namespace {

namespace xp = boost::xpressive;

const xp::wsregex& WordRegex()
{
    static const xp::wsregex wordRegex =
        (*~xp::as_xpr(L' ') >> +xp::as_xpr(L' ')) | (+~xp::as_xpr(L' ') >> *xp::as_xpr(L' '));
    return wordRegex;
}

// Grows the extent to cover a run of this size at x; the first run also
// counts the first line.
void Grow(Size& extent, std::int32_t x, Size run)
{
    if (x + run.cx > extent.cx)
        extent.cx = x + run.cx;
    if (extent.cy == 0)
        extent.cy = run.cy;
}

}  // namespace

std::wstring Text::TargetAt(Point) const { return std::wstring(); }

bool Text::HitTest(Point) const { return false; }

std::vector<std::wstring> PlainText::BuildWords(const std::wstring& text)
{
    std::vector<std::wstring> result;
    xp::wsregex_iterator it(text.begin(), text.end(), WordRegex());
    for (const xp::wsregex_iterator end; it != end; ++it)
        result.push_back(it->str());
    return result;
}

void PlainText::Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth)
{
    words.clear();
    for (std::wstring& word : BuildWords(text))
        words.push_back(boost::shared_ptr<Word>(new Word(std::move(word))));
    for (const auto& word : words)
        word->Layout(dc, extent, pen, maxWidth);
}

void PlainText::Draw(DrawingContext& dc) const
{
    for (const auto& word : words)
        word->Draw(dc);
}

void PlainText::Word::AddPart(std::wstring piece, Point at, Size size)
{
    boost::shared_ptr<WordPart> part(new WordPart);
    part->text = std::move(piece);
    part->rect = {at.x, at.y, at.x + size.cx, at.y + size.cy};
    parts.push_back(part);
}

void PlainText::Word::Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth)
{
    parts.clear();
    const Size size = dc.MeasureText(text);
    if (pen.x + size.cx > maxWidth) {
        if (size.cx > maxWidth) {
            BreakIntoParts(dc, extent, pen, maxWidth);
            return;
        }
        pen.y += size.cy;
        pen.x = 0;
        extent.cy += size.cy;
    }
    AddPart(text, pen, size);
    Grow(extent, pen.x, size);
    pen.x += size.cx;
}

void PlainText::Word::BreakIntoParts(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth)
{
    std::size_t cursor = 0;
    std::int32_t available = maxWidth - pen.x;
    while (cursor < text.size()) {
        const std::size_t split = cursor + EstimateFit(dc, available, text, cursor, pen.x == 0);
        std::wstring piece = text.substr(cursor, split - cursor);
        const Size size = dc.MeasureText(piece);
        AddPart(std::move(piece), pen, size);
        Grow(extent, pen.x, size);
        pen.x += size.cx;

        pen.y += size.cy;
        pen.x = 0;
        extent.cy += size.cy;
        cursor = split;
        available = maxWidth;
    }
}

void PlainText::Word::Draw(DrawingContext& dc) const
{
    for (const auto& part : parts)
        part->Draw(dc);
}

void PlainText::Word::WordPart::Draw(DrawingContext& dc) const { dc.DrawText({rect.left, rect.top}, text); }

std::size_t EstimateFit(DrawingContext& dc, std::int32_t available, const std::wstring& text, std::size_t cursor,
                        bool atLineStart)
{
    const std::size_t n = text.size() - cursor;
    const std::int32_t restWidth = dc.MeasureText(text.substr(cursor)).cx;
    std::size_t k = n;
    if (restWidth > 0) {
        const float ratio = static_cast<float>(static_cast<double>(n) / static_cast<double>(restWidth));
        const float estimate = static_cast<float>(available) * ratio;
        const float rounded = estimate >= 0 ? std::floor(estimate + 0.5f) : std::ceil(estimate - 0.5f);
        // A negative estimate (no room at all) fits nothing.
        k = rounded <= 0 ? 0 : rounded >= static_cast<float>(n) ? n : static_cast<std::size_t>(rounded);
    }
    // The cut comes before the cluster it would split; at the start of a
    // line the first cluster goes in whole.
    std::size_t split = cursor + k;
    while (split > cursor && !IsClusterBoundary(text, split))
        --split;
    if (split == cursor && atLineStart && n > 0) {
        split = cursor + 1;
        while (!IsClusterBoundary(text, split))
            ++split;
    }
    return split - cursor;
}

std::wstring HyperLink::TargetAt(Point point) const { return HitTest(point) ? target : std::wstring(); }

bool HyperLink::HitTest(Point point) const
{
    for (const auto& word : words) {
        for (const auto& part : word->parts) {
            if (part->rect.Contains(point))
                return true;
        }
    }
    return false;
}

void HyperLink::Draw(DrawingContext& dc) const
{
    Platform::FontDescription description;
    dc.GetCurrentFont(description);
    description.underline = true;
    const std::unique_ptr<Platform::Font> underlined = dc.CreateFont(description);
    Platform::Font* previous = dc.SelectFont(underlined.get());
    PlainText::Draw(dc);
    dc.SelectFont(previous);
}

void LineSeparator::Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t)
{
    const std::int32_t height = dc.MeasureText(L"\n").cy;
    // A break before anything else leaves an empty first line: count it.
    if (extent.cy == 0)
        extent.cy = height;
    pen.y += height;
    pen.x = 0;
    extent.cy += height;
}

}  // namespace Message
