#pragma once
// The keyboard's system settings: three 32-bit words of 16-bit halves, low half first:
// word 0 "Repeat" / "RepeatDelay", word 1 "Key6Flag" / "PollingRate", word 2 "WFlag" / "WinFlag".

#include <array>
#include <cstdint>

namespace zevik {

struct KeyboardSystemRecord {
    std::array<std::uint32_t, 3> words {};

    std::uint16_t Repeat() const { return Half(0, 0); }       // key repeat rate (slider value)
    std::uint16_t RepeatDelay() const { return Half(0, 1); }  // 0-3: 250 + 250 x value ms
    std::uint16_t Key6Flag() const { return Half(1, 0); }     // six-key rollover, 0 or 1
    std::uint16_t PollingRate() const { return Half(1, 1); }  // report-rate index 0-4
    std::uint16_t WFlag() const { return Half(2, 0); }        // 0 or 1
    std::uint16_t WinFlag() const { return Half(2, 1); }      // Windows-key lock, 0 or 1

    void SetRepeat(std::uint16_t v) { SetHalf(0, 0, v); }
    void SetRepeatDelay(std::uint16_t v) { SetHalf(0, 1, v); }
    void SetKey6Flag(std::uint16_t v) { SetHalf(1, 0, v); }
    void SetPollingRate(std::uint16_t v) { SetHalf(1, 1, v); }
    void SetWFlag(std::uint16_t v) { SetHalf(2, 0, v); }
    void SetWinFlag(std::uint16_t v) { SetHalf(2, 1, v); }

    friend bool operator==(const KeyboardSystemRecord&, const KeyboardSystemRecord&) = default;

private:
    std::uint16_t Half(std::size_t word, int high) const {
        return static_cast<std::uint16_t>(words[word] >> (high ? 16 : 0));
    }
    void SetHalf(std::size_t word, int high, std::uint16_t v) {
        const std::uint32_t mask = high ? 0x0000FFFFu : 0xFFFF0000u;
        words[word] = (words[word] & mask) | static_cast<std::uint32_t>(v) << (high ? 16 : 0);
    }
};
static_assert(sizeof(KeyboardSystemRecord) == 12);

}  // namespace zevik
