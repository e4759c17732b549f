// The process entry point of the launcher on Linux: hands the arguments to the
// application object and runs its start-up.

#include "platform/AppBase.h"

int main(int argc, char** argv)
{
    Platform::AppBase* app = Platform::AppBase::Current();
    if (!app || argc < 1)
        return 1;
    app->arguments.assign(argv + 1, argv + argc);
    return app->Run();
}
