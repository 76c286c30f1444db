#include "shell/audio_record_command.h"

#include <limits>

#include "shell/command_numbers.h"

namespace zevik {

namespace {

void AppendValue(std::vector<std::uint8_t>& bytes, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::optional<std::int32_t> Value(const std::string& text, std::string& error) {
    const std::optional<std::int32_t> value = WholeNumber<std::int32_t>(text);
    if (!value) {
        error = "audio values are signed 32-bit numbers (" +
                std::to_string(std::numeric_limits<std::int32_t>::min()) + " to " +
                std::to_string(std::numeric_limits<std::int32_t>::max()) + "), not \"" + text + "\"";
    }
    return value;
}

std::optional<AudioRecordCommand> ParseSamples(const std::vector<std::string>& words, std::string& error) {
    AudioRecordCommand c{1, {}};
    if (words.size() < 2) {
        error = "\"audio samples\" takes V[*COUNT] ..., at most " + std::to_string(kAudioSampleWordsMax) +
                " values";
        return std::nullopt;
    }
    std::size_t total = 0;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const std::size_t star = word.find('*');
        const std::optional<std::int32_t> value = Value(word.substr(0, star), error);
        if (!value) return std::nullopt;
        std::size_t count = 1;
        if (star != std::string::npos) {
            const std::optional<int> n =
                NumberInRange("a repeat count", word.substr(star + 1), 1, kAudioSampleWordsMax, error);
            if (!n) return std::nullopt;
            count = static_cast<std::size_t>(*n);
        }
        total += count;
        if (total > kAudioSampleWordsMax) {
            error = "\"audio samples\" takes at most " + std::to_string(kAudioSampleWordsMax) + " values";
            return std::nullopt;
        }
        for (std::size_t k = 0; k < count; ++k) AppendValue(c.bytes, *value);
    }
    return c;
}

std::optional<AudioRecordCommand> ParseColour(const std::vector<std::string>& words, std::string& error) {
    if (words.size() != 4 && words.size() != 7) {
        error = "\"audio colour\" takes 3 or 6 values (V0 V1 V2 [V3 V4 V5])";
        return std::nullopt;
    }
    AudioRecordCommand c{2, {}};
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::optional<std::int32_t> value = Value(words[i], error);
        if (!value) return std::nullopt;
        AppendValue(c.bytes, *value);
    }
    return c;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<AudioRecordCommand> ParseRecord(const std::vector<std::string>& words, std::string& error) {
    if (words.size() != 3) {
        error = "\"audio record\" takes KIND HEX|-";
        return std::nullopt;
    }
    const std::optional<std::uint32_t> kind = WholeNumber<std::uint32_t>(words[1]);
    if (!kind) {
        error = "\"audio record\" takes a kind of 0 to " +
                std::to_string(std::numeric_limits<std::uint32_t>::max()) + ", not \"" + words[1] + "\"";
        return std::nullopt;
    }
    AudioRecordCommand c{*kind, {}};
    const std::string& hex = words[2];
    if (hex == "-") return c;
    if (hex.size() % 2 != 0 || hex.size() / 2 > kAudioRecordBytesMax) {
        error = "\"audio record\" takes 1 to " + std::to_string(kAudioRecordBytesMax) +
                " bytes as pairs of hexadecimal digits, or -";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            error = "\"audio record\": \"" + hex.substr(i, 2) + "\" is not a hexadecimal byte";
            return std::nullopt;
        }
        c.bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return c;
}

}  // namespace

std::optional<AudioRecordCommand> ParseAudioRecordWords(const std::vector<std::string>& words,
                                                        std::string& error) {
    const std::string verb = words.empty() ? std::string() : words[0];
    if (verb == "samples") return ParseSamples(words, error);
    if (verb == "colour") return ParseColour(words, error);
    if (verb == "record") return ParseRecord(words, error);
    error = "audio takes samples, colour or record";
    return std::nullopt;
}

}  // namespace zevik
