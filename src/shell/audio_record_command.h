#pragma once
// Records of the audio capture side typed as words, for the batch scripts of the command line:
//
//   samples V[*COUNT] ...      a sample record (kind 1): signed 32-bit values, little-endian, each V
//                              COUNT times (1 when omitted), at most 1024 values in all
//   colour V0 V1 V2 [V3 V4 V5] a colour record (kind 2) of 12 or 24 bytes
//   record KIND HEX|-          any kind (0 to 4294967295) with up to 4096 bytes given in hexadecimal
//                              ("-": no bytes)
//
// Numbers are read without the locale. The bytes are what the capture program would send; the main
// window decides what to take (HandleAudioRecord).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zevik {

struct AudioRecordCommand {
    std::uint32_t kind = 0;
    std::vector<std::uint8_t> bytes;
};

inline constexpr std::size_t kAudioSampleWordsMax = 1024;  // values of one "samples" record
inline constexpr std::size_t kAudioRecordBytesMax = 4096;  // bytes of one "record"

// Nothing, with a message naming the allowed values, for an unknown word, a wrong count or a value
// out of range. words[0] is "samples", "colour" or "record".
std::optional<AudioRecordCommand> ParseAudioRecordWords(const std::vector<std::string>& words,
                                                        std::string& error);

}  // namespace zevik
