#pragma once
// A streaming, namespace-aware XML reader that reports what it reads to a
// content handler, as a SAX reader does. The text arrives in pieces as it is
// received and is parsed as it comes.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

struct SaxAttribute {
    std::wstring uri;
    std::wstring localName;
    std::wstring qName;
    std::wstring value;
};

class SaxContentHandler {
public:
    virtual ~SaxContentHandler() = default;
    // Each returns false to stop the parse: the document is not acceptable.
    virtual bool StartElement(const std::wstring& uri, const std::wstring& localName, const std::wstring& qName,
                              const std::vector<SaxAttribute>& attributes) = 0;
    virtual bool EndElement(const std::wstring& uri, const std::wstring& localName, const std::wstring& qName) = 0;
    // Character data with entity and character references resolved.
    virtual bool Characters(const std::wstring& text) = 0;
};

class XmlReader {
public:
    XmlReader();
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // Starts a new document for this handler.
    void Begin(SaxContentHandler& handler);
    // Parses the next piece; false once the document is malformed, carries a
    // document type declaration, or the handler refused it.
    bool Feed(const char* data, std::size_t size);
    // Ends the document; false unless it was whole and well-formed.
    bool Finish();

private:
    struct State;
    std::unique_ptr<State> state;
};

}  // namespace Platform
