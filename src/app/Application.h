#pragma once
// The launcher's application object: checks for an update, starts the
// product, and ends without a message loop.

#include "platform/AppBase.h"

class Application : public Platform::AppBase {
public:
    // Holds the platform services for the run, runs the launcher and returns
    // false, so that no message loop follows.
    bool InitInstance() override;

    // The update check, then the start of the product, each exactly once.
    void RunLauncher();
};
