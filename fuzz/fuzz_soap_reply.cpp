// Arbitrary bytes as a version service reply, parsed in pieces as they would
// arrive: the reader and the reply rules must never crash or misbehave.

#include <cstddef>
#include <cstdint>

#include "platform/XmlReader.h"
#include "update/VersionInfoReply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the piece size.
    const std::size_t piece = 1 + data[0] % 64;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;

    Platform::XmlReader reader;
    Service::VersionInfoReplyHandler handler;
    reader.Begin(handler);
    bool fed = true;
    for (std::size_t i = 0; fed && i < length; i += piece)
        fed = reader.Feed(text + i, std::min(piece, length - i));
    if (fed && reader.Finish() && handler.Accepted() && handler.Result())
        static_cast<void>(handler.Result()->size());
    return 0;
}
