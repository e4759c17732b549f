#pragma once
// Half of a pixel distance, rounded toward minus infinity, as centring wants
// it: an odd remainder goes to the far side.

#include <cstdint>

constexpr std::int32_t FloorHalf(std::int32_t value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }
