#pragma once
// The keyboard-only lighting words of the headless tool (after "keyboard lighting"):
//   zzcc N              the LED mode variant ("light_combo_ZZCCmodeSelect"), 0-255
//   custom-slot S       the custom-colour slot of mode 20 ("light_combo_custommodeSelect"), 0-255
//   custom-key K        key K (from 1) takes the lighting colour; mode 20 only
//   custom-all 1|0      every key takes the lighting colour (1) or black (0); mode 20 only
// Each is saved in the profile and reaches the keyboard as the page's change does.

#include <optional>
#include <string>
#include <vector>

namespace zevik {

class COrbantixKeyboardDevice;

struct KeyboardColourCommand {
    enum class Verb { Zzcc, CustomSlot, CustomKey, CustomAll };
    Verb verb = Verb::Zzcc;
    int value = 0;  // the variant, the slot, the logical key (from 0) or 1/0
};

// True for words this module takes (the words after "lighting").
bool IsKeyboardColourWords(const std::vector<std::string>& words);

// Checks the words; nothing, with a message naming the allowed values. Needs no device.
std::optional<KeyboardColourCommand> ParseKeyboardColourWords(const std::vector<std::string>& words,
                                                              std::string& error);

// Runs a checked command on the connected keyboard. 0 done; 1 refused (custom colours outside mode
// 20, a slot the keyboard's memory cannot address) or failed, with the reason in error.
int RunKeyboardColourCommand(COrbantixKeyboardDevice& keyboard, const KeyboardColourCommand& command,
                             std::string& error);

}  // namespace zevik
