#include "platform/AppBase.h"

#include <cstdio>
#include <exception>

namespace Platform {
namespace {
AppBase* current = nullptr;
}

AppBase::AppBase() { current = this; }

AppBase::~AppBase()
{
    if (current == this)
        current = nullptr;
}

AppBase* AppBase::Current() { return current; }

int AppBase::Run()
{
    try {
        InitInstance();
        return ExitInstance();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrelzip: %s\n", error.what());
        return 1;
    }
}

}  // namespace Platform
