#include "launch/PathHelpers.h"

#include <memory>
#include <stdexcept>

namespace PathHelpers {

Path ReadModuleFileName(const std::function<std::size_t(Platform::PathChar*, std::size_t)>& reader)
{
    constexpr std::size_t step = 260;
    std::size_t size = step;
    auto buffer = std::make_unique<Platform::PathChar[]>(size);
    std::size_t length = reader(buffer.get(), size);
    while (length == size) {
        size += step;
        buffer = std::make_unique<Platform::PathChar[]>(size);
        length = reader(buffer.get(), size);
    }
    if (length == 0)
        throw std::runtime_error("PathHelpers::GetModuleFileName fail");
    return PathRules::GenericForm(Path(buffer.get(), length), Platform::pathStyle);
}

Path GetModuleFileName()
{
    return ReadModuleFileName(Platform::ReadModuleFileName);
}

Path GetModuleDirectory()
{
    return PathRules::RemoveFileName(GetModuleFileName(), Platform::pathStyle);
}

}  // namespace PathHelpers

PathHelpers::Path GetProductPath(const PathHelpers::Path& directory)
{
    const std::string name = productFileName;
    return PathRules::Join(directory, PathHelpers::Path(name.begin(), name.end()), Platform::pathStyle);
}
