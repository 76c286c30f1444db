#pragma once
// The mousepad's command words: "show" (connection, active slot, the phone on the charger, read at
// once) and "lighting WORDS" (the lighting words of the mouse, on the pad's page; modes 0-8).
// Checked without a device, so the command line refuses a wrong word or number before it opens
// anything.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/lighting_commands.h"

namespace zevik {

class CHeadlessSession;
class COrbantixMousePadDevice;

struct PadCommand {
    std::string verb;                         // "show" or "lighting"
    std::optional<LightingCommand> lighting;  // "lighting" (lighting_commands.h)
};

// How long a pad command waits for the pad to be connected.
inline constexpr std::chrono::seconds kPadWait{3};

// Nothing for unknown words or numbers out of range, with a message that names the allowed range.
std::optional<PadCommand> ParsePadWords(const std::vector<std::string>& words, std::string& error);

// The phone word of a status byte: none, iphone, samsung, other (anything else: none).
const char* PhoneWord(int phone);

// Waits for the pad (kPadWait), then runs the command. "show" prints one JSON document with json.
// 0 done; 1 with error set when no pad came or the pad failed.
int RunPadCommand(CHeadlessSession& session, const PadCommand& command, std::ostream& out, bool json,
                  std::string& error);

}  // namespace zevik
