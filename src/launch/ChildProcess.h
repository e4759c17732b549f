#pragma once
// The record of one process start.

#include "platform/Platform.h"

struct ChildProcess {
    Platform::NativeString applicationName;  // native form
    Platform::CommandLine commandLine;       // the application name first, then the arguments
    Platform::ProcessHandle processHandle = {};

    ChildProcess(Platform::NativeString applicationName, const Platform::ProductArguments& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the process in the application's own directory.
    void Start();
};

// Starts the product beside the launcher with the launcher's arguments and
// lets go of it. A product that cannot be started is not reported.
void LaunchProduct(const Platform::ProductArguments& arguments);
