#include "update/VersionInfoReply.h"

#include "base/TrimBlanks.h"

namespace Service {
namespace {

const std::wstring soapEnvelope = L"http://schemas.xmlsoap.org/soap/envelope/";
const std::wstring schemaInstance = L"http://www.w3.org/2001/XMLSchema-instance";

enum class Boolean { True, False, NotABoolean };

Boolean XsdBoolean(const std::wstring& value)
{
    const std::wstring v = TrimBlanks(value);
    if (v == L"true" || v == L"1")
        return Boolean::True;
    if (v == L"false" || v == L"0")
        return Boolean::False;
    return Boolean::NotABoolean;
}

const Platform::SaxAttribute* Find(const std::vector<Platform::SaxAttribute>& attributes, const std::wstring& uri,
                                   const wchar_t* localName)
{
    for (const auto& attribute : attributes) {
        if (attribute.uri == uri && attribute.localName == localName)
            return &attribute;
    }
    return nullptr;
}

}  // namespace

void VersionInfoReplyHandler::Reset() { *this = VersionInfoReplyHandler(); }

bool VersionInfoReplyHandler::StartElement(const std::wstring& uri, const std::wstring& localName,
                                           const std::wstring& qName,
                                           const std::vector<Platform::SaxAttribute>& attributes)
{
    ++depth;
    if (skipDepth != 0)
        return true;
    if (resultDepth != 0) {
        // Markup inside the result is turned back into text.
        if (!resultNil) {
            *result += L"<" + qName;
            for (const auto& attribute : attributes)
                *result += L" " + attribute.qName + L"=\"" + attribute.value + L"\"";
            *result += L">";
        }
        return true;
    }

    if (depth <= 2) {
        if (uri != soapEnvelope) {
            // Up to the body, every envelope element is SOAP 1.1's.
            if (!bodyEnded)
                return false;
            skipDepth = depth;
            return true;
        }
        if (localName == L"Envelope") {
            if (depth != 1 || envelopeStarted)
                return false;
            return envelopeStarted = true;
        }
        if (localName == L"Header") {
            if (depth != 2 || headerSeen || bodySeen)
                return false;
            return headerSeen = inHeader = true;
        }
        if (localName == L"Body") {
            if (depth != 2 || bodySeen)
                return false;
            return bodySeen = inBody = true;
        }
        skipDepth = depth;
        return true;
    }
    if (inHeader) {
        const auto* mustUnderstand = Find(attributes, soapEnvelope, L"mustUnderstand");
        if (mustUnderstand && XsdBoolean(mustUnderstand->value) != Boolean::False)
            return false;
        skipDepth = depth;
        return true;
    }
    if (inBody) {
        if (depth == 3 && !wrapperSeen) {
            wrapperSeen = true;
            return true;
        }
        // Children of the wrapper, and elements after it, name parameters.
        return MatchParameter(localName, attributes);
    }
    return true;  // unreachable: every element below the body was handled
}

bool VersionInfoReplyHandler::MatchParameter(const std::wstring& localName,
                                             const std::vector<Platform::SaxAttribute>& attributes)
{
    if (localName != L"GetVersionInfoResult" || resultSeen)
        return false;
    resultSeen = true;
    resultDepth = depth;
    const auto* nil = Find(attributes, schemaInstance, L"nil");
    resultNil = nil && XsdBoolean(nil->value) == Boolean::True;
    if (resultNil)
        result.reset();
    else
        result.emplace();
    return true;
}

bool VersionInfoReplyHandler::EndElement(const std::wstring&, const std::wstring&, const std::wstring& qName)
{
    if (skipDepth != 0) {
        if (skipDepth == depth)
            skipDepth = 0;
    } else if (resultDepth != 0 && depth > resultDepth) {
        if (!resultNil)
            *result += L"</" + qName + L">";
    } else if (resultDepth == depth) {
        resultDepth = 0;
    } else if (depth == 2 && inHeader) {
        inHeader = false;
    } else if (depth == 2 && inBody) {
        inBody = false;
        bodyEnded = true;
    }
    --depth;
    return true;
}

bool VersionInfoReplyHandler::Characters(const std::wstring& text)
{
    if (resultDepth != 0 && skipDepth == 0 && !resultNil)
        *result += text;
    return true;
}

}  // namespace Service
