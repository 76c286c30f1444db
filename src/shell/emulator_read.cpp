#include "shell/emulator_read.h"

#include <algorithm>
#include <span>

#include "emulator/emulation.h"
#include "emulator/firmware_model.h"
#include "platform/hex_text.h"
#include "shell/command_numbers.h"

namespace zevik {

namespace {

// The largest area of any model is far below this; it keeps ADDR + LEN from overflowing.
constexpr long kLargestArea = 1 << 20;

std::optional<long> AddressNumber(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return WholeNumber(hex ? text.substr(2) : text, hex ? 16 : 10);
}

std::string Join(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

std::optional<EmulatorRead> ParseEmulatorRead(const std::vector<std::string>& words, std::string& error) {
    if (words.size() != 4) {
        error = "\"emulator read\" takes D AREA ADDR LEN";
        return std::nullopt;
    }
    const auto address = AddressNumber(words[2]);
    const auto length = AddressNumber(words[3]);
    if (!address || *address < 0 || *address >= kLargestArea) {
        error = "ADDR must be a number from 0 to " + std::to_string(kLargestArea - 1) + ", not \"" + words[2] + "\"";
        return std::nullopt;
    }
    if (!length || *length < 1 || *length > kLargestArea) {
        error = "LEN must be a number from 1 to " + std::to_string(kLargestArea) + ", not \"" + words[3] + "\"";
        return std::nullopt;
    }
    return EmulatorRead{words[0], words[1], static_cast<std::size_t>(*address), static_cast<std::size_t>(*length)};
}

EmulatorReadResult RunEmulatorRead(const CEmulation& emulation, const EmulatorRead& read, std::ostream& out,
                                   std::string& error) {
    const CFirmwareModel* model = emulation.Model(read.device);
    if (model == nullptr) {
        error = "no emulated device \"" + read.device + "\"; there are: " + Join(emulation.Targets());
        return EmulatorReadResult::UnknownTarget;
    }
    const std::vector<std::string> areas = model->AreaNames();
    if (std::find(areas.begin(), areas.end(), read.area) == areas.end()) {
        error = "\"" + read.device + "\" has no area \"" + read.area + "\"; it has: " + Join(areas);
        return EmulatorReadResult::UnknownTarget;
    }
    const std::vector<std::uint8_t> bytes = model->ReadArea(read.area);
    if (read.address >= bytes.size() || read.length > bytes.size() - read.address) {
        error = "\"" + read.area + "\" holds " + std::to_string(bytes.size()) + " bytes: ADDR + LEN must be at most that";
        return EmulatorReadResult::OutOfRange;
    }
    out << FormatHexBytes(std::span(bytes).subspan(read.address, read.length), " ") << '\n';
    return EmulatorReadResult::Done;
}

}  // namespace zevik
