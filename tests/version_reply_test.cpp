// The reply rules, fed by the real XML reader.

#include <gtest/gtest.h>

#include "platform/XmlReader.h"
#include "support/CaseName.h"
#include "update/VersionInfoReply.h"

namespace {

const std::string open =
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body>";
const std::string close = "</soap:Body></soap:Envelope>";
const std::string wrapperOpen = "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\">";
const std::string wrapperClose = "</GetVersionInfoResponse>";

std::string Response(const std::string& inner) { return open + wrapperOpen + inner + wrapperClose + close; }

// An envelope with a header holding these entries, and an empty body.
std::string WithHeader(const std::string& entries)
{
    return "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header>" + entries +
           "</soap:Header><soap:Body></soap:Body></soap:Envelope>";
}

// A response whose declaration names encoding, its result text the bytes of
// text in that encoding.
std::string Declared(const std::string& encoding, const std::string& text)
{
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>" +
           Response("<GetVersionInfoResult>" + text + "</GetVersionInfoResult>");
}

struct ReplyCase {
    const char* name;
    std::string document;
    bool accepted;
    std::optional<std::wstring> result;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class ReplyRules : public testing::TestWithParam<ReplyCase> {};

// Parses the document whole, and again one byte at a time.
TEST_P(ReplyRules, AcceptOrRefuse)
{
    const ReplyCase& c = GetParam();
    for (const std::size_t piece : {c.document.size(), std::size_t{1}}) {
        Platform::XmlReader reader;
        Service::VersionInfoReplyHandler handler;
        reader.Begin(handler);
        bool fed = true;
        for (std::size_t i = 0; fed && i < c.document.size(); i += piece)
            fed = reader.Feed(c.document.data() + i, std::min(piece, c.document.size() - i));
        const bool accepted = fed && reader.Finish() && handler.Accepted();
        EXPECT_EQ(accepted, c.accepted) << "piece " << piece;
        if (accepted && c.accepted) {
            EXPECT_EQ(handler.Result(), c.result) << "piece " << piece;
        }
    }
}

const std::string nestedMain = "<main>2</main>";

INSTANTIATE_TEST_SUITE_P(
    Table, ReplyRules,
    testing::Values(
        ReplyCase{"plain", Response("<GetVersionInfoResult>&lt;main&gt;2&lt;/main&gt;</GetVersionInfoResult>"), true,
                  L"<main>2</main>"},
        ReplyCase{"nested markup gives the same text",
                  Response("<GetVersionInfoResult>" + nestedMain + "</GetVersionInfoResult>"), true, L"<main>2</main>"},
        ReplyCase{"nested attributes and prefixes",
                  Response("<GetVersionInfoResult>a<p:x xmlns:p=\"urn:p\" p:k=\"v &amp; w\" j='1'>b</p:x>"
                           "<e/></GetVersionInfoResult>"),
                  true, L"a<p:x p:k=\"v & w\" j=\"1\">b</p:x><e></e>"},
        ReplyCase{"text kept verbatim", Response("<GetVersionInfoResult>  x &#65;&#x42;\n y </GetVersionInfoResult>"),
                  true, L"  x AB\n y "},
        ReplyCase{"CDATA", Response("<GetVersionInfoResult><![CDATA[<main>1]]></GetVersionInfoResult>"), true,
                  L"<main>1"},
        ReplyCase{"non-ASCII text", Response("<GetVersionInfoResult>S\xC3\xAD</GetVersionInfoResult>"), true,
                  L"S\u00ED"},
        ReplyCase{"empty result is an empty string", Response("<GetVersionInfoResult/>"), true, L""},
        ReplyCase{"empty wrapper is null", Response(""), true, std::nullopt},
        ReplyCase{"empty body is null", open + close, true, std::nullopt},
        ReplyCase{"nil is null", Response("<GetVersionInfoResult xsi:nil=\"true\">x</GetVersionInfoResult>"), true,
                  std::nullopt},
        ReplyCase{"nil false keeps the text", Response("<GetVersionInfoResult xsi:nil=\"false\">x</GetVersionInfoResult>"),
                  true, L"x"},
        ReplyCase{"other wrapper name",
                  open + "<Whatever xmlns=\"urn:other\"><GetVersionInfoResult>r</GetVersionInfoResult></Whatever>" +
                      close,
                  true, L"r"},
        ReplyCase{"result in another namespace",
                  Response("<q:GetVersionInfoResult xmlns:q=\"urn:q\">r</q:GetVersionInfoResult>"), true, L"r"},
        ReplyCase{"result after the wrapper",
                  open + wrapperOpen + wrapperClose + "<GetVersionInfoResult>r</GetVersionInfoResult>" + close, true,
                  L"r"},
        ReplyCase{"text in the wrapper and body ignored",
                  open + "x" + wrapperOpen + "y<GetVersionInfoResult>r</GetVersionInfoResult>z" + wrapperClose + close,
                  true, L"r"},
        ReplyCase{"second result refused",
                  Response("<GetVersionInfoResult>a</GetVersionInfoResult><GetVersionInfoResult>b</GetVersionInfoResult>"),
                  false, std::nullopt},
        ReplyCase{"other parameter refused", Response("<Other>a</Other>"), false, std::nullopt},
        ReplyCase{"header entries skipped",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header>"
                  "<h:a xmlns:h=\"urn:h\"><deep/></h:a><h:b xmlns:h=\"urn:h\" soap:mustUnderstand=\"0\"/>"
                  "<h:c xmlns:h=\"urn:h\" soap:mustUnderstand=\"false\"/></soap:Header><soap:Body>" +
                      wrapperOpen + "<GetVersionInfoResult>r</GetVersionInfoResult>" + wrapperClose + close,
                  true, L"r"},
        ReplyCase{"mustUnderstand 1 refused", WithHeader("<h:a xmlns:h=\"urn:h\" soap:mustUnderstand=\"1\"/>"), false,
                  std::nullopt},
        ReplyCase{"mustUnderstand true refused",
                  WithHeader("<h:a xmlns:h=\"urn:h\" soap:mustUnderstand=\"true\"/>"), false, std::nullopt},
        ReplyCase{"mustUnderstand not a boolean refused",
                  WithHeader("<h:a xmlns:h=\"urn:h\" soap:mustUnderstand=\"yes\"/>"), false, std::nullopt},
        ReplyCase{"unprefixed mustUnderstand is not the envelope's",
                  WithHeader("<h:a xmlns:h=\"urn:h\" mustUnderstand=\"1\"/>"), true, std::nullopt},
        ReplyCase{"header after body refused",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body></soap:Body>"
                  "<soap:Header></soap:Header></soap:Envelope>",
                  false, std::nullopt},
        ReplyCase{"foreign element after the body passed over",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body></soap:Body>"
                  "<x><GetVersionInfoResult/></x></soap:Envelope>",
                  true, std::nullopt},
        ReplyCase{"two headers refused",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header/>"
                  "<soap:Header/><soap:Body/></soap:Envelope>",
                  false, std::nullopt},
        ReplyCase{"SOAP 1.2 refused",
                  "<env:Envelope xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"><env:Body>" + wrapperOpen +
                      "<GetVersionInfoResult>r</GetVersionInfoResult>" + wrapperClose + "</env:Body></env:Envelope>",
                  false, std::nullopt},
        ReplyCase{"foreign element before the body refused",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><x/><soap:Body/>"
                  "</soap:Envelope>",
                  false, std::nullopt},
        ReplyCase{"other envelope names passed over",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Extra><x/>"
                  "</soap:Extra><soap:Body/></soap:Envelope>",
                  true, std::nullopt},
        ReplyCase{"no envelope", wrapperOpen + "<GetVersionInfoResult>r</GetVersionInfoResult>" + wrapperClose, false,
                  std::nullopt},
        ReplyCase{"envelope without body is null",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"/>", true, std::nullopt},
        ReplyCase{"envelope with only a header is null",
                  "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Header>"
                  "<h:a xmlns:h=\"urn:h\"/></soap:Header></soap:Envelope>",
                  true, std::nullopt},
        ReplyCase{"case matters", "<soap:envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                                  "<soap:Body/></soap:envelope>",
                  false, std::nullopt},
        ReplyCase{"HTML page", "<html><body><h1>404 Not Found</h1></body></html>", false, std::nullopt},
        ReplyCase{"malformed", open + wrapperOpen + "<GetVersionInfoResult>r</GetVersionInfoRes>" + close, false,
                  std::nullopt},
        ReplyCase{"truncated", Response("<GetVersionInfoResult>r</GetVersionInfoResult>").substr(0, 150), false,
                  std::nullopt},
        ReplyCase{"not XML", "Service Unavailable", false, std::nullopt},
        ReplyCase{"empty", "", false, std::nullopt},
        ReplyCase{"doctype refused",
                  "<!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>" +
                      Response("<GetVersionInfoResult>&b;</GetVersionInfoResult>"),
                  false, std::nullopt},
        ReplyCase{"undeclared entity", Response("<GetVersionInfoResult>&nbsp;</GetVersionInfoResult>"), false,
                  std::nullopt},
        ReplyCase{"UTF-16 with a byte order mark",
                  [] {
                      const std::string ascii = Response("<GetVersionInfoResult>u</GetVersionInfoResult>");
                      std::string utf16 = "\xFF\xFE";
                      for (char c : ascii) {
                          utf16 += c;
                          utf16 += '\0';
                      }
                      return utf16;
                  }(),
                  true, L"u"},
        // Single-byte code pages, as the declaration names them.
        ReplyCase{"windows-1252", Declared("windows-1252", "\x80 caf\xE9 \x93q\x94"), true, L"\u20AC caf\u00E9 \u201Cq\u201D"},
        ReplyCase{"Windows-1250 in another case", Declared("Windows-1250", "\x8A\xE8"), true, L"\u0160\u010D"},
        ReplyCase{"iso-8859-2", Declared("iso-8859-2", "\xA9\xE8"), true, L"\u0160\u010D"},
        ReplyCase{"iso-8859-1, expat's own", Declared("ISO-8859-1", "caf\xE9"), true, L"caf\u00E9"},
        ReplyCase{"unknown encoding", Declared("x-no-such-encoding", "a"), false, std::nullopt}),
    TestSupport::CaseName());

#ifndef _WIN32
// Windows' MSXML reads KOI8-R too; the MSXML that Wine brings does not.
INSTANTIATE_TEST_SUITE_P(
    Cyrillic, ReplyRules,
    testing::Values(ReplyCase{"koi8-r", Declared("koi8-r", "\xF7\xC5\xD2\xD3\xC9\xD1"), true,
                              L"\u0412\u0435\u0440\u0441\u0438\u044F"}),
    TestSupport::CaseName());
#endif

}  // namespace
