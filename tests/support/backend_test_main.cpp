// Runs a test program inside the platform services that the launcher's run
// holds (COM on Windows, SIGPIPE ignored on Linux).

#include <gtest/gtest.h>

#include "platform/Platform.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Platform::ServiceScope services;
    return RUN_ALL_TESTS();
}
