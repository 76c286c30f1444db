#pragma once
// The mapped volume of a mixer control: the position 0-1 that alsamixer shows for a level. Controls
// whose dB range is wider than 24 dB are mapped on a cubic curve of the amplitude (what the ear takes
// for an even slider); narrower dB ranges, and controls without a dB scale, map linearly.

#include <optional>

#include "audio/mixer_card.h"

namespace zevik::mapped_volume {

// The dB value ALSA reports for "muted at the bottom of the range", in hundredths of a dB.
inline constexpr long kMuteDb = -9999999;

// Position of a level db (hundredths of a dB) inside range, 0-1.
double PositionOfDb(MixerRange dbRange, long db);
// Position of raw step raw inside range, linearly; 0 for an empty range.
double PositionOfRaw(MixerRange rawRange, long raw);

// Position of channel channel of the control's volume; nullopt when it has no such volume.
std::optional<double> Position(const IMixerCard& card, const MixerControlId& id, int channel);
// Position of raw step raw of the control.
std::optional<double> PositionOfStep(const IMixerCard& card, const MixerControlId& id, long raw);
// The raw step whose position is nearest position (clamped to 0-1); nullopt without a volume.
std::optional<long> NearestStep(const IMixerCard& card, const MixerControlId& id, double position);
// The raw step whose level is nearest db (hundredths of a dB); nullopt without a dB scale.
std::optional<long> NearestStepOfDb(const IMixerCard& card, const MixerControlId& id, long db);

}  // namespace zevik::mapped_volume
