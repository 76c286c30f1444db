#pragma once
// The command words of the headless tool: mouse settings run as the mouse page's changes, and the
// emulator's run-time actions of scripted scenarios. One command is a list of words, e.g.
// {"dpi", "2", "1600"} or {"plug", "mouse-receiver"}.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/key_commands.h"
#include "shell/lighting_commands.h"
#include "shell/recoil_commands.h"

namespace zevik {

class CEmulation;
class CHeadlessSession;
class COrbantixMouseDevice;

// One mouse command, checked: the verb, the stage (0-5, counted from 1 in the words) and the value.
struct MouseCommand {
    std::string verb;
    int stage = -1;
    int value = 0;  // the option or item number, the DPI, 0/1, or 0xRRGGBB
    std::optional<LightingCommand> lighting;  // "lighting WORDS" (lighting_commands.h), run on the session
    std::optional<KeyCommand> key;            // "key WORDS" (key_commands.h), run on the session
    std::optional<RecoilCommand> recoil;      // "recoil WORDS" (recoil_commands.h), run on the session
};

// "show", "dpi STAGE VALUE", "dpi-enable STAGE 0|1", "dpi-color STAGE RRGGBB", "rate N", "lod N",
// "motion-sync N", "calibration N", "sensor N", "deep-sleep N", "key-delay N", "anti-shake N",
// "dormancy N", "lighting WORDS", "key WORDS", "recoil WORDS". Stages count from 1; every number must be one the mouse page can set. Nothing for
// unknown words or numbers out of range, with a message that names the allowed range. Needs no device,
// so the command line checks its words before it opens anything.
std::optional<MouseCommand> ParseMouseWords(const std::vector<std::string>& words, std::string& error);

// Runs a checked command as the page's change (saved in the profile, written to the mouse); "show"
// prints the settings and the device's state, as text or as one JSON document.
void RunMouseCommand(COrbantixMouseDevice& mouse, const MouseCommand& command, std::ostream& out, bool json);

// ParseMouseWords, then RunMouseCommand; false with the message when the words do not parse.
bool RunMouseWords(COrbantixMouseDevice& mouse, const std::vector<std::string>& words, std::ostream& out,
                   std::string& error, bool json = false);

// "plug D", "unplug D", "notify D CODE", "out-of-range D", "in-range D", "battery D PERCENT CHARGING",
// "phone D N", "firmware D VERSION".
bool RunEmulatorWords(CEmulation& emulation, const std::vector<std::string>& words, std::string& error);

// A firmware version: decimal or 0x-hex, 0 to 0xFFFF; nothing, with the allowed range, otherwise.
std::optional<uint16_t> ParseFirmwareVersion(const std::string& text, std::string& error);

// The mouse settings words the tool knows (for help texts).
const std::vector<std::string>& MouseWordNames();

}  // namespace zevik
