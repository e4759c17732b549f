#include "platform/AppBase.h"

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

}  // namespace Platform
