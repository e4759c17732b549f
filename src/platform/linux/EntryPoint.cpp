// The process entry point of the launcher on Linux: hands the arguments to the
// application object and runs its start-up.

#include <cstdio>
#include <exception>

#include "platform/AppBase.h"

int main(int argc, char** argv)
{
    Platform::AppBase* app = Platform::AppBase::Current();
    if (!app || argc < 1)
        return 1;
    app->arguments.assign(argv + 1, argv + argc);
    try {
        // No main window and no message loop on this platform either way.
        app->InitInstance();
        return app->ExitInstance();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrelzip: %s\n", error.what());
        return 1;
    }
}
