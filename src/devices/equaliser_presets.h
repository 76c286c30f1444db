#pragma once
// The headset's twelve equaliser presets: ten band values each (band 1 first), in the unit of the
// driver's equaliser band properties. Preset 13 is the user's custom equaliser and has no table.

#include <array>
#include <optional>

namespace zevik {

using EqualiserBands = std::array<int, 10>;

// Preset 1-12; nullopt for any other number.
std::optional<EqualiserBands> EqualiserPreset(int preset);

}  // namespace zevik
