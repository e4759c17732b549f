#include "launch/ChildProcess.h"

#include <utility>

#include "launch/PathHelpers.h"

ChildProcess::ChildProcess(Platform::NativeString applicationName, const Platform::ProductArguments& arguments)
    : applicationName(std::move(applicationName)),
      commandLine(Platform::MakeCommandLine(this->applicationName, arguments))
{
}

ChildProcess::~ChildProcess()
{
    if (processHandle)
        Platform::CloseProcess(processHandle);
}

void ChildProcess::Start()
{
    processHandle = Platform::StartProcess(applicationName, commandLine,
                                           PathRules::DirectoryOf(applicationName, Platform::pathStyle));
}

void LaunchProduct(const Platform::ProductArguments& arguments)
{
    const auto productPath = GetProductPath(PathHelpers::GetModuleDirectory());
    ChildProcess product(PathRules::NativeForm(productPath, Platform::pathStyle), arguments);
    product.Start();
}
