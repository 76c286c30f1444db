#pragma once
// The emulation list of --emulate: comma-separated device kinds, each optionally followed by how it
// is connected: "mouse" (by cable), "mouse@cable", "mouse@receiver" (through its receiver only),
// "mouse@both" (cable and receiver), "mouse@unplugged" (neither, until it is plugged). A kind may
// appear more than once (two identical devices).

#include <string>
#include <string_view>
#include <vector>

namespace zevik {

struct EmulatedDeviceRequest {
    std::string kind;
    bool cable = true;      // the cable connection is plugged at start
    bool receiver = false;  // the receiver is plugged at start
};

// False with a message naming the offending item (unknown kind, unknown connection, a receiver for a
// kind that has none, an empty item); requests is then empty.
bool ParseEmulationList(std::string_view list, std::vector<EmulatedDeviceRequest>& requests,
                        std::string& error);

}  // namespace zevik
