#pragma once
// CAudioBandLevels: the main window's side of the music modes. Each sample record (500 signed 32-bit
// values) is compared with the one before it, and the differences of four values of each group of
// five (values 0 to 124) feed 25 band levels, which decay by a quarter with each record. A connected
// keyboard row updates the levels once per record (a keyboard on the cable has two rows, so twice),
// and every third record the levels go to the first keyboard.
//
// Values come from another program, so every difference and sum is taken in 64 bits and saturated
// into the signed 32-bit range: INT32_MAX after INT32_MIN is the loudest change, never a wrap.
//
// UI thread only. Nothing is allocated per record beyond a local copy of the samples.

#include <array>
#include <cstdint>
#include <span>

namespace zevik {

class COrbantixUSBDevice;

class CAudioBandLevels {
public:
    static constexpr int kSamples = 500;
    static constexpr int kBands = 25;
    static constexpr int kBatchRecords = 3;  // the keyboard gets every third record's levels

    // One sample record, as bytes (little-endian; the buffer of the main window, 2000 bytes; fewer
    // bytes count as zeros). keyboardRows: the live interface list's connected keyboard rows (kinds
    // 1 and 9); keyboard: the first keyboard object, null when there is none.
    void ProcessSamples(std::span<const std::uint8_t> sampleBytes, int keyboardRows,
                        COrbantixUSBDevice* keyboard);

    const std::array<std::int32_t, kBands>& Levels() const { return levels_; }
    std::uint32_t BatchCounter() const { return batchCounter_; }

private:
    std::array<std::int32_t, kSamples> previous_{};
    std::array<std::int32_t, kBands> levels_{};
    std::uint32_t batchCounter_ = 0;
};

// The colour record (six signed 32-bit values, little-endian; fewer bytes count as zeros) to the
// first keyboard's colour input; nothing without a keyboard.
void ProcessAudioColour(std::span<const std::uint8_t> colourBytes, COrbantixUSBDevice* keyboard);

}  // namespace zevik
