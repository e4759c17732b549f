// The launcher's own path from the real platform.

#include <gtest/gtest.h>

#include "launch/PathHelpers.h"

namespace {

TEST(PathHelpers, ModuleDirectoryEndsInASeparatorAndHoldsTheProduct)
{
    const auto directory = PathHelpers::GetModuleDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    const std::string name = productFileName;
    EXPECT_EQ(GetProductPath(directory), directory + Platform::NativeString(name.begin(), name.end()));
    EXPECT_EQ(PathHelpers::GetModuleFileName().rfind(directory, 0), 0u);
}

}  // namespace
