#include "app/Application.h"

#include "launch/ChildProcess.h"
#include "update/CheckForUpdate.h"

Application theApplication;

bool Application::InitInstance()
{
    Platform::InitializeControls();
    AppBase::InitInstance();
    const Platform::ServiceScope services;
    RunLauncher();
    return false;
}

void Application::RunLauncher()
{
    // The update check never keeps the product from starting.
    try {
        CheckForUpdate();
    } catch (...) {
    }
    LaunchProduct(arguments);
}
