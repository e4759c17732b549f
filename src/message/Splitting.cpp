#include "message/Splitting.h"

#include <boost/bind/bind.hpp>
#include <boost/ref.hpp>
#include <boost/xpressive/xpressive_static.hpp>

namespace Message {
namespace {

namespace xp = boost::xpressive;
using namespace boost::placeholders;

// The link markup, composed once from its parts, by reference.
const xp::wsregex& LinkRegex()
{
    using xp::_d;
    using xp::_w;
    using xp::as_xpr;
    using xp::by_ref;
    using xp::s1;
    using xp::s2;
    using xp::set;
    static const xp::wsregex schemeRegex = (as_xpr(L"http") >> !as_xpr(L's')) | L"ftp" | L"gopher" | L"telnet" |
                                           L"file" | L"notes" | L"ms-help";
    static const xp::wsregex addressPrefixRegex = by_ref(schemeRegex) >> L':' >> +(as_xpr(L"//") | L"\\\\");
    static const xp::wsregex addressCharsRegex =
        *set[_w | _d | L':' | L'#' | L'@' | L'%' | L'/' | L';' | L'$' | L'(' | L')' | L'~' | L'_' | L'?' | L'+' |
             L'-' | L'=' | L'\\' | L'.' | L'&'];
    static const xp::wsregex addressRegex = by_ref(addressPrefixRegex) >> by_ref(addressCharsRegex);
    static const xp::wsregex linkRegex =
        as_xpr(L"{hl}") >> (s1 = -*xp::_) >> L"{hl=" >> (s2 = by_ref(addressRegex)) >> L'}';
    return linkRegex;
}

bool IsLineBreak(wchar_t c)
{
    return c == L'\r' || c == L'\n' || c == L'\f' || c == L'\x2028' || c == L'\x2029' || c == L'\x85';
}

struct BackInserter {
    using result_type = void;
    void operator()(Elements& elements, const std::wstring& line, bool notLast) const
    {
        elements.push_back(boost::shared_ptr<Text>(new PlainText(line)));
        if (notLast)
            elements.push_back(boost::shared_ptr<Text>(new LineSeparator));
    }
};

struct LinkBackInserter {
    using result_type = void;
    void operator()(Elements& elements, const std::wstring& line, bool notLast, const std::wstring& target) const
    {
        elements.push_back(boost::shared_ptr<Text>(new HyperLink(line, target)));
        if (notLast)
            elements.push_back(boost::shared_ptr<Text>(new LineSeparator));
    }
};

// A break that ends a segment still separates it from what follows.
void KeepTrailingBreak(Elements& elements, const std::wstring& segment)
{
    if (!segment.empty() && IsLineBreak(segment.back()))
        elements.push_back(boost::shared_ptr<Text>(new LineSeparator));
}

}  // namespace

void SplitLines(const std::wstring& text, const boost::function<void(const std::wstring&, bool)>& callback)
{
    const xp::wsregex lineBreakRegex =
        xp::as_xpr(L"\r\n") | (xp::set = L'\r', L'\n', L'\f', L'\x2028', L'\x2029', L'\x85');
    std::vector<std::wstring> lines;
    xp::wsregex_token_iterator it(text.begin(), text.end(), lineBreakRegex, -1);
    for (const xp::wsregex_token_iterator end; it != end; ++it)
        lines.push_back(it->str());
    for (std::size_t i = 0; i < lines.size(); ++i)
        callback(lines[i], i + 1 < lines.size());
}

void SplitAndAdd(Elements& elements, const std::wstring& label, const std::wstring& target)
{
    SplitLines(label, boost::bind(LinkBackInserter(), boost::ref(elements), _1, _2, target));
}

void SplitAndAdd(Elements& elements, const std::wstring& text)
{
    const boost::function<void(const std::wstring&, bool)> addPlain =
        boost::bind(BackInserter(), boost::ref(elements), _1, _2);
    auto restStart = text.begin();
    xp::wsregex_iterator it(text.begin(), text.end(), LinkRegex());
    for (const xp::wsregex_iterator end; it != end; ++it) {
        const xp::wsmatch& match = *it;
        const std::wstring before(restStart, match[0].first);
        const std::wstring label = match[1].str();
        if (!before.empty()) {
            SplitLines(before, addPlain);
            if (!label.empty() || match[0].second != text.end())
                KeepTrailingBreak(elements, before);
        }
        SplitAndAdd(elements, label, match[2].str());
        restStart = match[0].second;
        if (restStart != text.end())
            KeepTrailingBreak(elements, label);
    }
    const std::wstring rest(restStart, text.end());
    if (!rest.empty())
        SplitLines(rest, addPlain);
}

}  // namespace Message
