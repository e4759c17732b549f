#pragma once
// The application framework's side of the launcher: one global application
// object, whose InitInstance the platform's entry point runs once. When it
// returns false there is no message loop: ExitInstance gives the exit code.

#include "platform/Platform.h"

namespace Platform {

class AppBase {
public:
    AppBase();
    virtual ~AppBase();
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    // The framework's own per-instance initialisation.
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }

    // The arguments the process was started with, without the program name.
    ProductArguments arguments;

    // The one application object, or null before it is constructed.
    static AppBase* Current();

    // What the platform's entry point runs: InitInstance (no message loop
    // follows on either platform), then ExitInstance's exit code. An error
    // that escapes ends the run with one line on standard error and code 1.
    int Run();
};

}  // namespace Platform
