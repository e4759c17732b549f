// The XML reader on expat, in namespace mode with prefixes reported, so that
// qualified names reach the handler as written.

#include "platform/XmlReader.h"

#include <expat.h>

#include <algorithm>

#include "base/Utf8.h"
#include "platform/linux/SingleByteEncodings.h"

namespace Platform {
namespace {

constexpr XML_Char separator = '\x01';

// expat gives "uri SEP local SEP prefix", "uri SEP local" or "local".
void SplitName(const XML_Char* name, std::wstring& uri, std::wstring& localName, std::wstring& qName)
{
    const std::string whole = name;
    const auto first = whole.find(separator);
    if (first == std::string::npos) {
        uri.clear();
        localName = qName = Utf8::ToWide(whole);
        return;
    }
    const auto second = whole.find(separator, first + 1);
    uri = Utf8::ToWide(whole.substr(0, first));
    localName = Utf8::ToWide(whole.substr(first + 1, second == std::string::npos ? second : second - first - 1));
    qName = second == std::string::npos ? localName : Utf8::ToWide(whole.substr(second + 1)) + L":" + localName;
}

}  // namespace

struct XmlReader::State {
    XML_Parser parser = nullptr;
    SaxContentHandler* handler = nullptr;
    bool refused = false;
    std::string characters;  // pending character data, delivered in one piece

    ~State()
    {
        if (parser)
            XML_ParserFree(parser);
    }

    void Refuse()
    {
        refused = true;
        XML_StopParser(parser, XML_FALSE);
    }

    bool FlushCharacters()
    {
        if (characters.empty())
            return true;
        const std::wstring text = Utf8::ToWide(characters);
        characters.clear();
        return handler->Characters(text);
    }

    static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto* self = static_cast<State*>(data);
        if (!self->FlushCharacters())
            return self->Refuse();
        std::wstring uri, localName, qName;
        SplitName(name, uri, localName, qName);
        std::vector<SaxAttribute> list;
        for (const XML_Char** a = attributes; *a; a += 2) {
            SaxAttribute attribute;
            SplitName(a[0], attribute.uri, attribute.localName, attribute.qName);
            attribute.value = Utf8::ToWide(a[1]);
            list.push_back(std::move(attribute));
        }
        if (!self->handler->StartElement(uri, localName, qName, list))
            self->Refuse();
    }

    static void OnEnd(void* data, const XML_Char* name)
    {
        auto* self = static_cast<State*>(data);
        if (!self->FlushCharacters())
            return self->Refuse();
        std::wstring uri, localName, qName;
        SplitName(name, uri, localName, qName);
        if (!self->handler->EndElement(uri, localName, qName))
            self->Refuse();
    }

    static void OnCharacters(void* data, const XML_Char* text, int length)
    {
        static_cast<State*>(data)->characters.append(text, static_cast<std::size_t>(length));
    }

    // An encoding expat does not know by itself: a single-byte code page,
    // through its table; anything else is refused.
    static int OnUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info)
    {
        const auto& table = SingleByteTable(name);
        if (!table)
            return XML_STATUS_ERROR;
        std::copy(table->begin(), table->end(), info->map);
        info->data = nullptr;
        info->convert = nullptr;
        info->release = nullptr;
        return XML_STATUS_OK;
    }

    // A message carries no document type declaration; refusing it also
    // closes the door on entity expansion.
    static void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        static_cast<State*>(data)->Refuse();
    }
};

XmlReader::XmlReader() : state(std::make_unique<State>()) {}

XmlReader::~XmlReader() = default;

void XmlReader::Begin(SaxContentHandler& handler)
{
    if (state->parser)
        XML_ParserFree(state->parser);
    state->parser = XML_ParserCreateNS(nullptr, separator);
    state->handler = &handler;
    state->refused = state->parser == nullptr;
    state->characters.clear();
    if (!state->parser)
        return;
    XML_SetReturnNSTriplet(state->parser, 1);
    XML_SetUserData(state->parser, state.get());
    XML_SetElementHandler(state->parser, State::OnStart, State::OnEnd);
    XML_SetCharacterDataHandler(state->parser, State::OnCharacters);
    XML_SetStartDoctypeDeclHandler(state->parser, State::OnDoctype);
    XML_SetUnknownEncodingHandler(state->parser, State::OnUnknownEncoding, nullptr);
    XML_SetParamEntityParsing(state->parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

bool XmlReader::Feed(const char* data, std::size_t size)
{
    if (state->refused || !state->parser)
        return false;
    while (size > 0) {
        const int piece = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
        if (XML_Parse(state->parser, data, piece, XML_FALSE) != XML_STATUS_OK) {
            state->refused = true;
            return false;
        }
        data += piece;
        size -= static_cast<std::size_t>(piece);
    }
    return true;
}

bool XmlReader::Finish()
{
    if (state->refused || !state->parser)
        return false;
    if (XML_Parse(state->parser, nullptr, 0, XML_TRUE) != XML_STATUS_OK) {
        state->refused = true;
        return false;
    }
    return true;
}

}  // namespace Platform
