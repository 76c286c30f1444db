// The keyboard-only lighting words: running them on the connected keyboard.

#include "shell/keyboard_colour_commands.h"

#include "devices/keyboard_device.h"
#include "shell/lighting_handlers.h"
#include "transport/command_set.h"

namespace zevik {

namespace {

int Result(int result, const char* what, std::string& error) {
    if (result == kResultDone) return 0;
    error = std::string(what) + ": " + CommandResultText(result);
    return 1;
}

}  // namespace

int RunKeyboardColourCommand(COrbantixKeyboardDevice& keyboard, const KeyboardColourCommand& command,
                             std::string& error) {
    using Verb = KeyboardColourCommand::Verb;
    if ((command.verb == Verb::CustomKey || command.verb == Verb::CustomAll) && !keyboard.InCustomColourMode()) {
        error = "custom colours are set in lighting mode 20 only";
        return 1;
    }
    switch (command.verb) {
        case Verb::Zzcc: {
            LightInfoRecord record = keyboard.GetLighting();
            record.zzccLedMode = static_cast<std::uint8_t>(command.value);
            CommitLighting(keyboard, record);
            return 0;
        }
        case Verb::CustomSlot: {
            if (!keyboard.CustomSlotFits(command.value)) {
                error = "slot " + std::to_string(command.value) + " lies beyond the colour memory the keyboard can address "
                        "for its " + std::to_string(keyboard.PositionCount()) + " keys";
                return 1;
            }
            // As the page's slot choice does: the slot is selected, committed and shown.
            keyboard.SelectCustomSlot(command.value);
            LightInfoRecord record = keyboard.GetLighting();
            keyboard.SetLighting(record);
            keyboard.SaveDeviceProfile();
            const int written = keyboard.WriteSettingsBlock(0, 0);
            if (written != kResultDone) return Result(written, "the settings block was not written", error);
            if (!keyboard.InCustomColourMode()) return 0;  // shown once mode 20 is chosen
            return Result(keyboard.ShowCustomSlot(command.value), "the custom colours were not written", error);
        }
        case Verb::CustomKey:
            return Result(keyboard.SetCustomKey(command.value), "the key colour was not written", error);
        case Verb::CustomAll:
            return Result(keyboard.SetAllCustomKeys(command.value == 1), "the custom colours were not written", error);
    }
    return 1;
}

}  // namespace zevik
