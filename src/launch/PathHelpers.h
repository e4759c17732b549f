#pragma once
// The launcher's own location and the product's path beside it.

#include <cstddef>
#include <functional>

#include "platform/Platform.h"

namespace PathHelpers {

using Path = Platform::NativeString;  // generic form

// Fills a buffer of 260 units, growing it by 260 while the result fills it.
// Throws std::runtime_error("PathHelpers::GetModuleFileName fail") when the
// reader reports no path.
Path ReadModuleFileName(const std::function<std::size_t(Platform::PathChar*, std::size_t)>& reader);

// The running executable's full path.
Path GetModuleFileName();

// GetModuleFileName without its file name; ends in a separator.
Path GetModuleDirectory();

}  // namespace PathHelpers

inline constexpr char productFileName[] = "vantrelz.bim";

// The directory joined with the product's file name.
PathHelpers::Path GetProductPath(const PathHelpers::Path& directory);
