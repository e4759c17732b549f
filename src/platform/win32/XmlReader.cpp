// The XML reader on MSXML's SAX reader through COM, in namespace mode without
// namespace-prefix attributes, so that the handler sees what expat reports
// on Linux. MSXML pulls its input from a stream, so the reply's pieces are
// gathered (the HTTP client bounds them) and parsed when the document ends.

#include "platform/XmlReader.h"

#include <windows.h>
#include <msxml2.h>
#include <ole2.h>
#include <shlwapi.h>

namespace Platform {
namespace {

// The SAX interfaces of MSXML (mingw-w64 declares them without their IDs).
constexpr IID iidSaxXmlReader = {0xa4f96ed0, 0xf829, 0x476e, {0x81, 0xc0, 0xcd, 0xc7, 0xbd, 0x2a, 0x08, 0x02}};
constexpr IID iidSaxContentHandler = {0x1545cdfa, 0x9e4e, 0x4497, {0xa8, 0xa4, 0x2b, 0xf7, 0xd0, 0x11, 0x2c, 0x44}};
constexpr IID iidSaxLexicalHandler = {0x7f85d5f5, 0x47a8, 0x4497, {0xbd, 0xa5, 0x84, 0xba, 0x04, 0x81, 0x9e, 0xa6}};

std::wstring Text(const wchar_t* text, int length)
{
    return text && length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

template <class Interface>
class ComPointer {
public:
    ComPointer() = default;
    ~ComPointer()
    {
        if (pointer)
            pointer->Release();
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    Interface* operator->() const { return pointer; }
    Interface* Get() const { return pointer; }
    void** Out() { return reinterpret_cast<void**>(&pointer); }
    explicit operator bool() const { return pointer != nullptr; }

private:
    Interface* pointer = nullptr;
};

// Hands MSXML's events to the portable handler: content as it comes, and a
// refusal of any document type declaration.
class Events : public ISAXContentHandler, public ISAXLexicalHandler {
public:
    explicit Events(SaxContentHandler& handler) : handler(handler) {}

    // Owned by the reader's caller, which outlives the parse.
    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, iidSaxContentHandler))
            *object = static_cast<ISAXContentHandler*>(this);
        else if (IsEqualIID(iid, iidSaxLexicalHandler))
            *object = static_cast<ISAXLexicalHandler*>(this);
        else
            return *object = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }

    HRESULT WINAPI putDocumentLocator(ISAXLocator*) override { return S_OK; }
    HRESULT WINAPI startDocument() override { return S_OK; }
    HRESULT WINAPI endDocument() override { return S_OK; }
    HRESULT WINAPI startPrefixMapping(const wchar_t*, int, const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI endPrefixMapping(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI startElement(const wchar_t* uri, int uriLength, const wchar_t* localName, int localLength,
                                const wchar_t* qName, int qLength, ISAXAttributes* attributes) override
    {
        if (!FlushCharacters())
            return E_FAIL;
        std::vector<SaxAttribute> list;
        int count = 0;
        if (attributes)
            attributes->getLength(&count);
        for (int i = 0; i < count; ++i) {
            const wchar_t *aUri = nullptr, *aLocal = nullptr, *aQName = nullptr, *aValue = nullptr;
            int aUriLength = 0, aLocalLength = 0, aQLength = 0, aValueLength = 0;
            attributes->getName(i, &aUri, &aUriLength, &aLocal, &aLocalLength, &aQName, &aQLength);
            attributes->getValue(i, &aValue, &aValueLength);
            list.push_back({Text(aUri, aUriLength), Text(aLocal, aLocalLength), Text(aQName, aQLength),
                            Text(aValue, aValueLength)});
        }
        return handler.StartElement(Text(uri, uriLength), Text(localName, localLength), Text(qName, qLength), list)
                   ? S_OK
                   : E_FAIL;
    }
    HRESULT WINAPI endElement(const wchar_t* uri, int uriLength, const wchar_t* localName, int localLength,
                              const wchar_t* qName, int qLength) override
    {
        if (!FlushCharacters())
            return E_FAIL;
        return handler.EndElement(Text(uri, uriLength), Text(localName, localLength), Text(qName, qLength))
                   ? S_OK
                   : E_FAIL;
    }
    // Delivered in one piece per run of text, as on Linux.
    HRESULT WINAPI characters(const wchar_t* text, int length) override
    {
        pendingText.append(Text(text, length));
        return S_OK;
    }
    HRESULT WINAPI ignorableWhitespace(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI processingInstruction(const wchar_t*, int, const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI skippedEntity(const wchar_t*, int) override { return E_FAIL; }

    // A message carries no document type declaration; refusing it also
    // closes the door on entity expansion.
    HRESULT WINAPI startDTD(const wchar_t*, int, const wchar_t*, int, const wchar_t*, int) override { return E_FAIL; }
    HRESULT WINAPI endDTD() override { return S_OK; }
    HRESULT WINAPI startEntity(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI endEntity(const wchar_t*, int) override { return S_OK; }
    HRESULT WINAPI startCDATA() override { return S_OK; }
    HRESULT WINAPI endCDATA() override { return S_OK; }
    HRESULT WINAPI comment(const wchar_t*, int) override { return S_OK; }

private:
    bool FlushCharacters()
    {
        if (pendingText.empty())
            return true;
        const std::wstring text = std::move(pendingText);
        pendingText.clear();
        return handler.Characters(text);
    }

    SaxContentHandler& handler;
    std::wstring pendingText;
};

bool CreateReader(ComPointer<ISAXXMLReader>& reader)
{
    for (const wchar_t* progId : {L"Msxml2.SAXXMLReader.6.0", L"Msxml2.SAXXMLReader.3.0"}) {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)) &&
            SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iidSaxXmlReader, reader.Out())))
            return true;
    }
    return false;
}

}  // namespace

struct XmlReader::State {
    SaxContentHandler* handler = nullptr;
    std::string document;
};

XmlReader::XmlReader() : state(std::make_unique<State>()) {}

XmlReader::~XmlReader() = default;

void XmlReader::Begin(SaxContentHandler& handler)
{
    state->handler = &handler;
    state->document.clear();
}

bool XmlReader::Feed(const char* data, std::size_t size)
{
    if (!state->handler)
        return false;
    state->document.append(data, size);
    return true;
}

bool XmlReader::Finish()
{
    if (!state->handler)
        return false;
    ComPointer<ISAXXMLReader> reader;
    if (!CreateReader(reader))
        return false;
    Events events(*state->handler);
    reader->putFeature(L"http://xml.org/sax/features/namespaces", VARIANT_TRUE);
    reader->putFeature(L"http://xml.org/sax/features/namespace-prefixes", VARIANT_FALSE);
    reader->putFeature(L"prohibit-dtd", VARIANT_TRUE);
    if (FAILED(reader->putContentHandler(&events)))
        return false;
    VARIANT lexical;
    VariantInit(&lexical);
    lexical.vt = VT_UNKNOWN;
    lexical.punkVal = static_cast<ISAXLexicalHandler*>(&events);
    if (FAILED(reader->putProperty(L"http://xml.org/sax/properties/lexical-handler", lexical)))
        return false;

    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(state->document.data()),
                                        static_cast<UINT>(state->document.size()));
    if (!stream)
        return false;
    VARIANT input;
    VariantInit(&input);
    input.vt = VT_UNKNOWN;
    input.punkVal = stream;
    const HRESULT parsed = reader->parse(input);
    stream->Release();
    reader->putContentHandler(nullptr);
    VariantInit(&lexical);
    reader->putProperty(L"http://xml.org/sax/properties/lexical-handler", lexical);
    return parsed == S_OK;
}

}  // namespace Platform
