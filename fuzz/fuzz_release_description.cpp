// Arbitrary text as a release description: the decision must be one of the
// two outcomes of a successful call, and the address must come from the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Utf8.h"
#include "update/ReleaseDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring description = Utf8::ToWide(std::string(reinterpret_cast<const char*>(data), size));
    const ReleaseDecision decision = DecideRelease(description);
    if (decision.status != UpToDate && decision.status != NewerAvailable)
        std::abort();
    if (!decision.downloadAddress.empty() && description.find(decision.downloadAddress) == std::wstring::npos)
        std::abort();
    if (decision.downloadAddress.find(L'<') != std::wstring::npos)
        std::abort();
    return 0;
}
