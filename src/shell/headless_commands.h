#pragma once
// The command words of the headless tool: mouse settings run as the mouse page's changes, and the
// emulator's run-time actions of scripted scenarios. One command is a list of words, e.g.
// {"dpi", "2", "1600"} or {"plug", "mouse-receiver"}.

#include <ostream>
#include <string>
#include <vector>

namespace zevik {

class CEmulation;
class CHeadlessSession;
class COrbantixMouseDevice;

// "show", "dpi STAGE VALUE", "dpi-enable STAGE 0|1", "dpi-color STAGE RRGGBB", "rate N", "lod N",
// "motion-sync N", "calibration N", "sensor N", "deep-sleep N", "key-delay N", "anti-shake N",
// "dormancy N". Stages count from 1. False with a message for unknown words or bad numbers.
bool RunMouseWords(COrbantixMouseDevice& mouse, const std::vector<std::string>& words, std::ostream& out,
                   std::string& error);

// "plug D", "unplug D", "notify D CODE", "out-of-range D", "in-range D", "battery D PERCENT CHARGING".
bool RunEmulatorWords(CEmulation& emulation, const std::vector<std::string>& words, std::string& error);

// The mouse settings words the tool knows (for help texts).
const std::vector<std::string>& MouseWordNames();

}  // namespace zevik
