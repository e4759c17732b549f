#pragma once
// The launcher's dialog templates.

#include <cstdint>

#include "platform/Gui.h"

inline constexpr std::uint16_t IDD_EXTENDED_MESSAGE_BOX = 8600;

namespace Resources {

// The template with this identifier, or null.
const Platform::DialogTemplate* FindDialogTemplate(std::uint16_t id);

}  // namespace Resources
