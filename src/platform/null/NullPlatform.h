#pragma once
// What the null backend lets a test see of itself.

namespace NullPlatform {

// How many imaging start-ups are not yet shut down.
int ImagingUsers();

}  // namespace NullPlatform
