#pragma once
// The acceptance rules for a GetVersionInfo reply, as a content handler fed
// by a streaming XML reader.

#include <optional>
#include <string>

#include "platform/XmlReader.h"

namespace Service {

class VersionInfoReplyHandler : public Platform::SaxContentHandler {
public:
    void Reset();

    // After a well-formed parse: whether the document was a SOAP 1.1
    // envelope that the rules accept. The envelope needs no body: without
    // one the result is null.
    bool Accepted() const { return envelopeStarted; }
    // The result text; none when the result was absent or nil.
    const std::optional<std::wstring>& Result() const { return result; }

    bool StartElement(const std::wstring& uri, const std::wstring& localName, const std::wstring& qName,
                      const std::vector<Platform::SaxAttribute>& attributes) override;
    bool EndElement(const std::wstring& uri, const std::wstring& localName, const std::wstring& qName) override;
    bool Characters(const std::wstring& text) override;

private:
    bool MatchParameter(const std::wstring& localName, const std::vector<Platform::SaxAttribute>& attributes);

    int depth = 0;
    int skipDepth = 0;    // depth of an element passed over with its content
    int resultDepth = 0;  // depth of the result element being read
    bool envelopeStarted = false;
    bool headerSeen = false;
    bool inHeader = false;
    bool bodySeen = false;
    bool inBody = false;
    bool bodyEnded = false;
    bool wrapperSeen = false;
    bool resultSeen = false;
    bool resultNil = false;
    std::optional<std::wstring> result;
};

}  // namespace Service
