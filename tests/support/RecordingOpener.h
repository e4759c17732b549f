#pragma once
// A desktop opener (xdg-open) that only records what it was asked to open,
// one address a line, for a program started with Path() first on its PATH.

#include <cstdlib>
#include <string>

#include "support/Process.h"

namespace TestSupport {

class RecordingOpener {
public:
    RecordingOpener()
    {
        WriteFile(folder.path() + "/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + Record() + "'\n", true);
    }
    // The record's file; it exists once something was opened.
    std::string Record() const { return folder.path() + "/opened"; }
    // This process's PATH with the opener first.
    std::string Path() const
    {
        const char* path = std::getenv("PATH");
        return folder.path() + ":" + (path ? path : "/usr/bin:/bin");
    }

private:
    TempDir folder{"vantrelz-opener"};
};

}  // namespace TestSupport
