// The process entry point of the launcher on Windows: the argument text cut
// from the process command line, the error mode that the product inherits,
// then the application object's start-up.

#include <windows.h>

#include "base/CommandLine.h"
#include "platform/AppBase.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    Platform::AppBase* app = Platform::AppBase::Current();
    if (!app)
        return 1;
    app->arguments = WindowsCommandLine::ArgumentText(GetCommandLineW());
    return app->Run();
}
