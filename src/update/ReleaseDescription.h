#pragma once
// What the version service's release description means to this build.

#include <cstdint>
#include <string>

#include "update/BuiltInVersion.h"

enum UpdateStatus {
    UpToDate = 0,        // nothing to offer
    NewerAvailable = 1,  // a newer build of this release line
    ServiceError = 2,    // the service call failed
};

// The text after the first occurrence of tag, up to the next "<" or the end
// of the text; empty when the tag does not occur.
std::wstring TagText(const std::wstring& description, const std::wstring& tag);

// A decimal integer as strtol reads one: leading white space, an optional
// sign, then digits; 0 without digits; saturated at the 32-bit limits.
std::int32_t DecimalValue(const std::wstring& text);

struct ReleaseDecision {
    UpdateStatus status;
    std::wstring downloadAddress;  // the <url> text, verbatim
};

// UpToDate or NewerAvailable: only the same main, minor and build1 as the
// built-in version with a greater build2 is newer.
ReleaseDecision DecideRelease(const std::wstring& description);
