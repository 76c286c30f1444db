#include "devices/keyboard_audio_steps.h"

#include <array>

#include "devices/audio_beat_total.h"
#include "devices/audio_heights.h"
#include "devices/keyboard_light_layout.h"
#include "devices/keyboard_light_masks.h"

namespace zevik {
namespace {

using audio::Height;
using audio::HeightOrOverflow;
using audio::Saturate;
using lighting::CounterStep;
using lighting::kMatrixColumns;
using lighting::kMatrixRows;
using lighting::kNoKey;
using lighting::kWheelCycle;
using lighting::MatrixKey;
using lighting::PackLightEntry;
using lighting::Rgb;
using lighting::Scale256;
using lighting::Wheel;

using Levels = std::array<std::int32_t, KeyboardAudioState::kBands>;

constexpr int kDecayGroup = 29;     // how the styles' keys fade
constexpr int kRingDecayGroup = 0;  // how the rings fade
constexpr int kLitBelow = 10;       // a key at a lower level shows the background
constexpr int kHoldLevel = 10;      // an outer neighbour at this level keeps a bar's key from fading
constexpr int kDrainHoldLevel = 5;  // the same for the draining columns
constexpr int kLastRow = kMatrixRows - 1;

// What every style but the rings paints with.
struct AudioPaint {
    KeyboardLightState& state;
    KeyLightFrame& frame;
    std::uint8_t bright;
    Rgb foreground;
    Rgb background;
    bool wheelColours;  // "7ColorFlags": lit and fading keys take the wheel's colour

    Rgb Colour(int x) const { return wheelColours ? Wheel(x) : foreground; }

    // Whether the cell holds a key at level at least threshold; a cell outside the matrix does not.
    bool Holds(int column, int row, int threshold) const {
        const std::uint8_t key = MatrixKey(column, row);
        return key != kNoKey && state.level[key] >= threshold;
    }

    void Decay(std::uint8_t key) { state.level[key] = lighting::DecayStep(state.level[key], kDecayGroup); }

    // The key fades unless its outer neighbour (the next cell away from the bar's origin) still holds
    // a lit key.
    void DecayUnlessHeld(std::uint8_t key, int outerColumn, int outerRow, bool alwaysDecays = false) {
        if (alwaysDecays || !Holds(outerColumn, outerRow, kHoldLevel)) Decay(key);
    }

    // A lit key at full level, a fading key in colour, a dark key in the background colour.
    void Draw(std::uint8_t key, bool lit, Rgb colour) {
        if (lit) state.level[key] = 255;
        frame.Set(key, Entry(key, colour));
    }
    std::uint32_t Entry(std::uint8_t key, Rgb colour) const {
        const std::uint8_t level = state.level[key];
        return level >= kLitBelow ? PackLightEntry(colour, Scale256(bright, level))
                                  : PackLightEntry(background, bright);
    }
};

AudioPaint PaintOf(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame) {
    const AudioLightInfoRecord& r = state.audio.lighting;
    return AudioPaint{state,
                      frame,
                      lighting::Brightness(light.light),
                      Rgb{r.fgColorR, r.fgColorG, r.fgColorB},
                      Rgb{r.bkColorR, r.bkColorG, r.bkColorB},
                      r.sevenColorFlags != 0};
}

// Rows lit from height h down: h = (y + 100) x 6 / 600 (no overflow substitute).
std::int32_t ColumnHeight(std::int32_t level) {
    return Saturate((std::int64_t{Height(level)} + 100) * kMatrixRows / audio::kSilentHeight);
}

std::uint8_t Advance(int x, int step) {
    return static_cast<std::uint8_t>((x + step) % kWheelCycle);
}

// Style 0: one column per band (bands 23 and 24 unseen), lit from the bottom up to the band's height.
void StepColumns(const LightInfoRecord& light, AudioPaint& p, const Levels& in) {
    KeyboardLightState& s = p.state;
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, 1);
    int x = s.counter;
    for (int j = 0; j < kMatrixColumns; ++j) {
        x = Advance(x, 10);
        const std::int32_t h = ColumnHeight(in[static_cast<size_t>(j)]);
        for (int r = 0; r < kMatrixRows; ++r) {
            const std::uint8_t key = MatrixKey(j, r);
            if (key == kNoKey) continue;
            p.DecayUnlessHeld(key, j, r - 1);
            p.Draw(key, r >= h, p.Colour(x));
        }
    }
}

// Bar length of the mirrored bars: (12 y+ + 1200) / 600.
std::int32_t MirrorHeight(std::int32_t level) {
    return Saturate((12 * std::int64_t{HeightOrOverflow(level)} + 1200) / audio::kSilentHeight);
}

// Style 1: every row two bars growing outward from columns 8 and 9, the left one from a band that
// moves with c2, the right one from bands 11 to 16.
void StepMirroredBars(const LightInfoRecord& light, AudioPaint& p, const Levels& in) {
    constexpr int kBands = KeyboardAudioState::kBands;
    KeyboardLightState& s = p.state;
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, 1);
    s.counter2 = CounterStep(light.fx, kBands, s.counter2, 1);
    int t = s.counter2;
    for (int r = 0; r < kMatrixRows; ++r) {
        t = (t + 3) % kBands;
        const std::int32_t left = MirrorHeight(in[static_cast<size_t>(t)]);
        const std::int32_t right = MirrorHeight(in[static_cast<size_t>(11 + r)]);
        int x = s.counter;
        for (int j = 0; j < kMatrixColumns; ++j) {
            x = Advance(x, 7);
            const std::uint8_t key = MatrixKey(j, r);
            if (key == kNoKey) continue;
            if (j <= 8) {
                p.DecayUnlessHeld(key, j - 1, r);
                p.Draw(key, j >= left, p.Colour(x));
            } else {
                p.DecayUnlessHeld(key, j + 1, r, j >= 21);
                p.Draw(key, j <= 21 - right, p.Colour(x));
            }
        }
    }
}

// Style 2: every beat of TakeAudioLevels sends a ripple out from key 51; the keys turn through the
// wheel while they fade.
void StepBeatRipple(const LightInfoRecord& light, AudioPaint& p, std::mt19937& random) {
    KeyboardLightState& s = p.state;
    LightMaskedKeys(s, light.multiColor != 0, random);
    PropagateMasks(s);
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) {
        const auto key = static_cast<std::uint8_t>(k);
        p.Decay(key);
        s.hue[key] = CounterStep(1, kWheelCycle, s.hue[key], 9);
        p.frame.Set(key, p.Entry(key, p.wheelColours ? Wheel(s.hue[key]) : p.foreground));
    }
}

// Keys of the rings that the sweep order lists (the others are not lit by the rings).
const std::array<bool, lighting::kLogicalKeyCount>& SweptKeys() {
    static const std::array<bool, lighting::kLogicalKeyCount> swept = [] {
        std::array<bool, lighting::kLogicalKeyCount> keys{};
        for (std::uint8_t key : keyboard_layout::SweepOrder())
            if (key < keys.size()) keys[key] = true;
        return keys;
    }();
    return swept;
}

// Style 3: rings around the centre key, as many lit as the mean loudness allows; the louder, the
// slower the hue turns. Wheel colours only.
void StepRings(const LightInfoRecord& light, KeyboardLightState& s, KeyLightFrame& frame, const Levels& in) {
    constexpr int kRingSpan = 20;
    const std::int32_t mean = audio::MeanHeightOrOverflow(in);
    const std::int32_t step = Saturate(std::int64_t{mean} * kRingSpan / audio::kSilentHeight);
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, static_cast<std::uint8_t>(step));
    const std::uint8_t bright = lighting::Brightness(light.light);
    const auto& swept = SweptKeys();
    int x = s.counter;
    for (int p = 0; p < keyboard_layout::kRingCount; ++p) {
        x = Advance(x, 9);
        const bool lit = p < kRingSpan - step;
        for (std::uint8_t key : keyboard_layout::Rings()[static_cast<size_t>(p)]) {
            if (key >= swept.size() || !swept[key]) continue;
            Rgb colour = lighting::EntryColour(frame.Get(key));
            if (lit) {
                s.level[key] = 255;
                colour = Wheel(x);
            } else {
                s.level[key] = lighting::DecayStep(s.level[key], kRingDecayGroup);
            }
            frame.Set(key, PackLightEntry(colour, Scale256(bright, s.level[key])));
        }
    }
}

// Style 4: each column fills from its band's height to the bottom in one step, drains from the top,
// and fills again only once its bottom key has faded.
void StepDrainingColumns(const LightInfoRecord& light, AudioPaint& p, const Levels& in) {
    constexpr int kBands = KeyboardAudioState::kBands;
    KeyboardLightState& s = p.state;
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, 1);
    int t = s.counter2;
    for (int j = 0; j < kMatrixColumns; ++j) {
        t = (t + 1) % kBands;
        const std::int32_t h = ColumnHeight(in[static_cast<size_t>(t)]);
        std::int32_t& filled = s.audio.columnFlags[static_cast<size_t>(j)];
        const std::uint8_t bottom = MatrixKey(j, kLastRow);
        for (int r = 0; r < kMatrixRows; ++r) {
            if (filled != 0 && (bottom == kNoKey || s.level[bottom] < kLitBelow)) filled = 0;
            const std::uint8_t key = MatrixKey(j, r);
            if (key == kNoKey) continue;
            if (!(r > 0 && p.Holds(j, r - 1, kDrainHoldLevel))) p.Decay(key);
            // The entry is chosen before the key lights: a newly lit key shows from the next step.
            const std::uint32_t entry = p.Entry(key, p.wheelColours ? Wheel(s.hue[key]) : p.foreground);
            if (r >= h && filled == 0) {
                s.level[key] = 255;
                filled = 1;
            }
            p.frame.Set(key, entry);
        }
    }
}

// Bars of six band groups, the group's level being its sum / 3.
struct BandGroup {
    int first;
    int last;
};
using BandGroups = std::array<BandGroup, kMatrixRows>;

// Style 5: one bar per row from the left edge, the bottom row showing the lowest bands.
void StepBarsFromLeft(const LightInfoRecord& light, AudioPaint& p, const Levels& in) {
    static constexpr BandGroups kGroups = {{{0, 1}, {2, 4}, {5, 7}, {8, 11}, {12, 16}, {17, 23}}};
    KeyboardLightState& s = p.state;
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, 1);
    for (int r = 0; r < kMatrixRows; ++r) {
        const BandGroup g = kGroups[static_cast<size_t>(kLastRow - r)];
        const std::int32_t y = HeightOrOverflow(audio::GroupLevel(in, g.first, g.last));
        const std::int32_t w =
            Saturate(kMatrixColumns - (std::int64_t{y} + 100) * kMatrixColumns / audio::kSilentHeight);
        int x = s.counter;
        for (int j = 0; j < kMatrixColumns; ++j) {
            x = Advance(x, 3);
            const std::uint8_t key = MatrixKey(j, r);
            if (key == kNoKey) continue;
            p.DecayUnlessHeld(key, j + 1, r, j >= 21);
            p.Draw(key, j <= w, p.Colour(x));
        }
    }
}

// Style 6: odd rows grow from the left edge, even rows from the right edge; the top row shows the
// lowest bands. With wheel colours the hue moves only where a colour is taken.
void StepAlternatingBars(const LightInfoRecord& light, AudioPaint& p, const Levels& in) {
    static constexpr BandGroups kGroups = {{{0, 1}, {2, 3}, {4, 6}, {7, 10}, {11, 15}, {16, 20}}};
    KeyboardLightState& s = p.state;
    s.counter = CounterStep(light.fx, kWheelCycle, s.counter, 1);
    s.counter2 = CounterStep(light.fx, KeyboardAudioState::kBands, s.counter2, 1);
    for (int r = 0; r < kMatrixRows; ++r) {
        const BandGroup g = kGroups[static_cast<size_t>(r)];
        const std::int32_t w =
            Saturate(std::int64_t{HeightOrOverflow(audio::GroupLevel(in, g.first, g.last))} * kMatrixColumns /
                     audio::kSilentHeight);
        const bool fromLeft = r % 2 == 1;
        int x = s.counter;
        for (int j = 0; j < kMatrixColumns; ++j) {
            const std::uint8_t key = MatrixKey(j, r);
            if (key == kNoKey) continue;
            bool lit = false;
            if (fromLeft) {
                p.DecayUnlessHeld(key, j + 1, r, j >= 21);
                lit = j <= kMatrixColumns - w;
            } else {
                p.DecayUnlessHeld(key, j - 1, r, j <= 1);
                lit = j >= w;
            }
            if (lit) s.level[key] = 255;
            Rgb colour = p.foreground;
            if (p.wheelColours && s.level[key] >= kLitBelow) {
                x = Advance(x, 2);
                colour = Wheel(x);
            }
            p.frame.Set(key, p.Entry(key, colour));
        }
    }
}

}  // namespace

void StepAudio(const LightInfoRecord& light, KeyboardLightState& state, KeyLightFrame& frame,
               std::mt19937& random) {
    // The batch is taken whole: until the next one arrives the steps see silence and only fade.
    const Levels in = state.audio.levels;
    state.audio.levels.fill(0);
    AudioPaint paint = PaintOf(light, state, frame);
    switch (state.audio.lighting.audioMode) {
        case 0:
            StepColumns(light, paint, in);
            break;
        case 1:
            StepMirroredBars(light, paint, in);
            break;
        case kBeatStyle:
            StepBeatRipple(light, paint, random);
            break;
        case 3:
            StepRings(light, state, frame, in);
            break;
        case 4:
            StepDrainingColumns(light, paint, in);
            break;
        case 5:
            StepBarsFromLeft(light, paint, in);
            break;
        case 6:
            StepAlternatingBars(light, paint, in);
            break;
        default:
            break;  // a style this keyboard does not know draws nothing
    }
}

void StepColourInput(const LightInfoRecord& light, const KeyboardLightState& state, KeyLightFrame& frame) {
    const auto& v = state.audio.colour;
    const std::uint32_t entry =
        PackLightEntry(static_cast<std::uint8_t>(v[0] & 0xFF), static_cast<std::uint8_t>(v[1] & 0xFF),
                       static_cast<std::uint8_t>(v[2] & 0xFF), lighting::Brightness(light.light));
    for (int k = 0; k < lighting::kLogicalKeyCount; ++k) frame.Set(k, entry);
}

void TakeAudioLevels(int mode, KeyboardLightState& state, std::span<const std::int32_t> levels) {
    state.audio.TakeLevels(levels);
    if (mode != kAudioMode || state.audio.lighting.audioMode != kBeatStyle) return;
    const Levels batch = state.audio.levels;
    state.audio.levels.fill(0);
    const std::int64_t mean = audio::MeanHeightOrOverflow(batch);
    const std::int32_t step =
        Saturate(KeyboardAudioState::kBands - mean * KeyboardAudioState::kBands / audio::kSilentHeight);
    if (!audio::AddBeat(step)) return;
    int column = 0, row = 0;
    if (keyboard_layout::FindKey(kBeatKey, column, row)) SetMaskBit(state, column, row);
}

}  // namespace zevik
