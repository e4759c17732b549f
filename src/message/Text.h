#pragma once
// The elements of a message's text: runs of plain text, links and line
// breaks. Each lays itself out word by word within a width, paints itself and
// says whether a point lies on a link. Coordinates are text-block pixels.

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DrawingContext.h"

namespace Message {

using Platform::DrawingContext;
using Platform::Point;
using Platform::Rect;
using Platform::Size;

class Text : boost::noncopyable {
public:
    virtual ~Text() = default;
    // Places the element at pen, moving pen and growing extent; maxWidth is
    // the widest a line may be.
    virtual void Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth) = 0;
    // The link address under the point, or an empty string.
    virtual std::wstring TargetAt(Point point) const;
    // Whether the point lies on a clickable run of this element.
    virtual bool HitTest(Point point) const;
    virtual void Draw(DrawingContext& dc) const = 0;
    // The text a reader of the box sees: a link's label, a line break.
    virtual std::wstring VisibleText() const = 0;
    // Where the element links to; empty for all but links.
    virtual std::wstring LinkTarget() const { return std::wstring(); }
};

class PlainText : public Text {
public:
    class Word {
    public:
        class WordPart {
        public:
            std::wstring text;
            Rect rect;  // left, top: where text is drawn; right, bottom: plus its measured size
            void Draw(DrawingContext& dc) const;
        };

        explicit Word(std::wstring text) : text(std::move(text)) {}
        void Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth);
        void Draw(DrawingContext& dc) const;

        std::vector<boost::shared_ptr<WordPart>> parts;
        std::wstring text;

    private:
        void BreakIntoParts(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth);
        void AddPart(std::wstring piece, Point at, Size size);
    };

    explicit PlainText(const std::wstring& text) : text(text) {}
    std::wstring VisibleText() const override { return text; }
    void Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth) override;
    void Draw(DrawingContext& dc) const override;

    // Cuts text into words: a run of non-blanks with the blanks after it, or
    // the blanks at the very start of the text.
    static std::vector<std::wstring> BuildWords(const std::wstring& text);

    std::vector<boost::shared_ptr<Word>> words;
    const std::wstring text;
};

class HyperLink : public PlainText {
public:
    HyperLink(const std::wstring& label, const std::wstring& target) : PlainText(label), target(target) {}
    std::wstring TargetAt(Point point) const override;
    bool HitTest(Point point) const override;
    std::wstring LinkTarget() const override { return target; }
    // Underlined, in the colour of the surrounding text.
    void Draw(DrawingContext& dc) const override;

    const std::wstring target;
};

class LineSeparator : public Text {
public:
    void Layout(DrawingContext& dc, Size& extent, Point& pen, std::int32_t maxWidth) override;
    void Draw(DrawingContext&) const override {}
    std::wstring VisibleText() const override { return L"\n"; }
};

// Where a word that is wider than the space left is cut: how many code units
// of [cursor, end) fit into available pixels, estimated from the rest's
// average character width. Never cuts a character a reader sees as one
// (GraphemeClusters.h); at the start of a line (atLineStart) at least one
// such character goes into the piece.
std::size_t EstimateFit(DrawingContext& dc, std::int32_t available, const std::wstring& text, std::size_t cursor,
                        bool atLineStart);

}  // namespace Message
