#pragma once

#include <string>

#include "update/ReleaseDescription.h"

// Asks the version service and decides. On UpToDate and NewerAvailable the
// reply's download address (possibly empty) is stored; on ServiceError the
// address is left as it was.
UpdateStatus QueryLatestVersion(std::wstring& downloadAddress);
