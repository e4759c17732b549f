// The process entry point of the launcher on Windows: the argument text cut
// from the process command line, the error mode that the product inherits,
// then the application object's start-up.

#include <windows.h>

#include <cstdio>
#include <exception>

#include "base/CommandLine.h"
#include "platform/AppBase.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Platform::AppBase* app = Platform::AppBase::Current();
    if (!app)
        return 1;
    app->arguments = WindowsCommandLine::ArgumentText(GetCommandLineW());
    try {
        // No main window: InitInstance returns false and no message loop runs.
        app->InitInstance();
        return app->ExitInstance();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrelzip: %s\n", error.what());
        return 1;
    }
}
