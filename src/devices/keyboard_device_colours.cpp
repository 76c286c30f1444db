// COrbantixKeyboardDevice: the per-key custom colours of mode 20. The keys' colours are the frame's;
// each slot keeps them in the keyboard (keyboard_colour_slots.h) and in the profile's colour group of
// the slot (one entry per logical key, in frame order).

#include "devices/keyboard_colour_slots.h"
#include "devices/keyboard_custom_colours.h"
#include "devices/keyboard_device.h"

namespace zevik {

namespace {
constexpr int kCustomColoursMode = 20;
}  // namespace

bool COrbantixKeyboardDevice::InCustomColourMode() const { return CurrentModeCode() == kCustomColoursMode; }

bool COrbantixKeyboardDevice::CustomSlotFits(int slot) const { return ColourSlotFits(slot, positionCount_); }

int COrbantixKeyboardDevice::ReadCustomColours() {
    const int slot = GetLighting().customGroup;
    if (!CustomSlotFits(slot) || !ChannelReady()) return kResultNoAnswer;
    KeyboardColourBuffer buffer{};
    const int read = ReadColourSlot(CommandChannel(), slot, positionCount_, buffer);
    // After a failed read the keys keep their colours: nothing half-read is stored or written back.
    if (read != kResultDone) return read;
    engine_.EditFrame([&](KeyLightFrame& frame) { TakeDeviceColours(buffer, keyMaps_.led, frame); });
    EnsureProfileLoaded();
    profile_.SetKeyColors(ProfileColours(engine_.Frame()), slot);
    return WriteCustomColours();
}

int COrbantixKeyboardDevice::WriteCustomColours() {
    if (!InCustomColourMode()) return kResultNoAnswer;
    const int slot = GetLighting().customGroup;
    if (!CustomSlotFits(slot) || !ChannelReady()) return kResultNoAnswer;
    return WriteColourSlot(CommandChannel(), slot, positionCount_, DeviceColours(engine_.Frame(), keyMaps_.led));
}

void COrbantixKeyboardDevice::StoreCustomColours() {
    EnsureProfileLoaded();
    profile_.SetKeyColors(ProfileColours(engine_.Frame()), GetLighting().customGroup);
    SaveDeviceProfile();
}

void COrbantixKeyboardDevice::SelectCustomSlot(int slot) {
    if (slot < 0 || slot > kColourSlotMax) return;
    LightInfoRecord record = GetLighting();
    record.customGroup = static_cast<std::uint8_t>(slot);
    // The effect goes on: the record changes without entering the mode again.
    COrbantixUSBDevice::SetLighting(record);
    EnsureProfileLoaded();
    profile_.SetLightInfo(record);
    profile_.SetKeyColorGroup(slot);
    SaveDeviceProfile();
}

int COrbantixKeyboardDevice::ShowCustomSlot(int slot) {
    if (slot < 0 || slot > kColourSlotMax) return kResultNoAnswer;
    EnsureProfileLoaded();
    const std::vector<KeyColorRecord> colours = profile_.GetKeyColors(slot, kKeyboardLogicalKeys);
    engine_.EditFrame([&](KeyLightFrame& frame) {
        // The brightness in force: mode 20's step keeps every key at it.
        const std::uint8_t intensity = frame.Size() > 0 ? lighting::EntryIntensity(frame.Get(0)) : 0;
        ShowProfileColours(colours, intensity, frame);
    });
    return WriteCustomColours();
}

int COrbantixKeyboardDevice::SetAllCustomKeys(bool lit) {
    if (!InCustomColourMode()) return kResultNoAnswer;
    const LightInfoRecord record = GetLighting();
    const lighting::Rgb colour = lit ? lighting::Rgb{record.red, record.green, record.blue} : lighting::Rgb{};
    engine_.EditFrame([&](KeyLightFrame& frame) { SetAllKeyColours(frame, colour); });
    const int written = WriteCustomColours();
    StoreCustomColours();
    return written;
}

int COrbantixKeyboardDevice::SetCustomKey(int key) {
    if (!InCustomColourMode() || key < 0 || key >= kKeyboardLogicalKeys) return kResultNoAnswer;
    const LightInfoRecord record = GetLighting();
    engine_.EditFrame(
        [&](KeyLightFrame& frame) { SetKeyColour(frame, key, lighting::Rgb{record.red, record.green, record.blue}); });
    StoreCustomColours();
    return WriteCustomColours();
}

}  // namespace zevik
