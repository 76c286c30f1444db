#include "audio/mapped_volume.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zevik::mapped_volume {

namespace {
constexpr long kMaxLinearDbRange = 2400;

bool UsesDbScale(const std::optional<MixerRange>& dbRange) {
    return dbRange.has_value() && dbRange->min < dbRange->max;
}

// The first step in [lo, hi] whose key is not below target, for a key that grows with the step;
// then whichever of it and the step before lies nearer.
template <typename Key>
std::optional<long> NearestMonotonic(long lo, long hi, double target, Key key) {
    long first = lo;
    long last = hi;
    while (first < last) {
        const long mid = first + (last - first) / 2;
        const std::optional<double> k = key(mid);
        if (!k) return std::nullopt;
        if (*k < target)
            first = mid + 1;
        else
            last = mid;
    }
    if (first == lo) return first;
    const std::optional<double> above = key(first);
    const std::optional<double> below = key(first - 1);
    if (!above || !below) return std::nullopt;
    return std::abs(*above - target) < std::abs(target - *below) ? first : first - 1;
}
}  // namespace

double PositionOfDb(MixerRange dbRange, long db) {
    if (dbRange.min >= dbRange.max) return 0.0;
    if (dbRange.max - dbRange.min <= kMaxLinearDbRange) {
        return std::clamp(
            static_cast<double>(db - dbRange.min) / static_cast<double>(dbRange.max - dbRange.min), 0.0, 1.0);
    }
    double position = std::pow(10.0, static_cast<double>(db - dbRange.max) / 6000.0);
    if (dbRange.min != kMuteDb) {
        const double bottom = std::pow(10.0, static_cast<double>(dbRange.min - dbRange.max) / 6000.0);
        position = (position - bottom) / (1.0 - bottom);
    }
    return std::clamp(position, 0.0, 1.0);
}

double PositionOfRaw(MixerRange rawRange, long raw) {
    if (rawRange.min >= rawRange.max) return 0.0;
    return std::clamp(
        static_cast<double>(raw - rawRange.min) / static_cast<double>(rawRange.max - rawRange.min), 0.0, 1.0);
}

std::optional<double> PositionOfStep(const IMixerCard& card, const MixerControlId& id, long raw) {
    const std::optional<MixerRange> rawRange = card.RawRange(id);
    if (!rawRange) return std::nullopt;
    const std::optional<MixerRange> dbRange = card.DbRange(id);
    if (UsesDbScale(dbRange)) {
        if (const std::optional<long> db = card.DbOfRaw(id, raw)) return PositionOfDb(*dbRange, *db);
    }
    return PositionOfRaw(*rawRange, raw);
}

std::optional<double> Position(const IMixerCard& card, const MixerControlId& id, int channel) {
    const std::optional<long> raw = card.Raw(id, channel);
    if (!raw) return std::nullopt;
    return PositionOfStep(card, id, *raw);
}

std::optional<long> NearestStep(const IMixerCard& card, const MixerControlId& id, double position) {
    const std::optional<MixerRange> rawRange = card.RawRange(id);
    if (!rawRange || rawRange->min > rawRange->max) return std::nullopt;
    const double target = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    return NearestMonotonic(rawRange->min, rawRange->max, target,
                            [&](long raw) { return PositionOfStep(card, id, raw); });
}

std::optional<long> NearestStepOfDb(const IMixerCard& card, const MixerControlId& id, long db) {
    const std::optional<MixerRange> rawRange = card.RawRange(id);
    if (!rawRange || rawRange->min > rawRange->max || !UsesDbScale(card.DbRange(id))) return std::nullopt;
    return NearestMonotonic(rawRange->min, rawRange->max, static_cast<double>(db),
                            [&](long raw) -> std::optional<double> {
                                const std::optional<long> level = card.DbOfRaw(id, raw);
                                if (!level) return std::nullopt;
                                return static_cast<double>(*level);
                            });
}

}  // namespace zevik::mapped_volume
