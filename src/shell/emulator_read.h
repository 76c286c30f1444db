#pragma once
// "emulator read D AREA ADDR LEN": the bytes of an emulated device's memory area, read directly from
// the model (no command is sent), printed as hex pairs like "raw read". Lets scripts and tests see
// what a write left in areas no command reads back (the key table, macros, recoil patterns).

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CEmulation;

struct EmulatorRead {
    std::string device;
    std::string area;
    std::size_t address = 0;
    std::size_t length = 0;
};

// Checks the words after "read" (D AREA ADDR LEN; ADDR and LEN decimal or 0x-hex, LEN at least 1).
// Needs no device.
std::optional<EmulatorRead> ParseEmulatorRead(const std::vector<std::string>& words, std::string& error);

enum class EmulatorReadResult { Done, UnknownTarget, OutOfRange };

// Prints the bytes; for an unknown device or area, or a range past the area's end, a message that
// names what exists.
EmulatorReadResult RunEmulatorRead(const CEmulation& emulation, const EmulatorRead& read, std::ostream& out,
                                   std::string& error);

}  // namespace zevik
