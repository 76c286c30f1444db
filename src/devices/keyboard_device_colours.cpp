// COrbantixKeyboardDevice: the per-key custom colours of mode 20. Each slot keeps them in the
// keyboard (keyboard_colour_slots.h) and in the profile's colour group of the slot (one entry per
// logical key, in frame order). The object holds the slot's colours apart from the light frame: the
// per-key effect layers paint over the frame every turn, and what they paint must never be taken for
// a custom colour. The frame shows the custom colours.

#include "devices/keyboard_colour_slots.h"
#include "devices/keyboard_custom_colours.h"
#include "devices/keyboard_device.h"

namespace zevik {

namespace {
constexpr int kCustomColoursMode = 20;
}  // namespace

bool COrbantixKeyboardDevice::InCustomColourMode() const { return CurrentModeCode() == kCustomColoursMode; }

bool COrbantixKeyboardDevice::CustomSlotFits(int slot) const { return ColourSlotFits(slot, positionCount_); }

void COrbantixKeyboardDevice::ShowCustomColours() {
    engine_.EditFrame([this](KeyLightFrame& frame) {
        for (int k = 0; k < frame.Size(); ++k) {
            frame.Set(k, lighting::PackLightEntry(lighting::EntryColour(customColours_.Get(k)),
                                                  lighting::EntryIntensity(frame.Get(k))));
        }
    });
}

int COrbantixKeyboardDevice::ReadCustomColours() {
    const int slot = GetLighting().customGroup;
    if (!CustomSlotFits(slot) || !ChannelReady()) return kResultNoAnswer;
    KeyboardColourBuffer buffer{};
    const int read = ReadColourSlot(CommandChannel(), slot, positionCount_, buffer);
    // After a failed read the keys keep their colours: nothing half-read is stored or written back.
    if (read != kResultDone) return read;
    TakeDeviceColours(buffer, keyMaps_.led, customColours_);
    EnsureProfileLoaded();
    profile_.SetKeyColors(ProfileColours(customColours_), slot);
    ShowCustomColours();
    return WriteCustomColours();
}

int COrbantixKeyboardDevice::WriteCustomColours() {
    if (!InCustomColourMode()) return kResultNoAnswer;
    const int slot = GetLighting().customGroup;
    if (!CustomSlotFits(slot) || !ChannelReady()) return kResultNoAnswer;
    return WriteColourSlot(CommandChannel(), slot, positionCount_, DeviceColours(customColours_, keyMaps_.led));
}

void COrbantixKeyboardDevice::StoreCustomColours() {
    EnsureProfileLoaded();
    profile_.SetKeyColors(ProfileColours(customColours_), GetLighting().customGroup);
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
    ShowProfileColours(profile_.GetKeyColors(slot, kKeyboardLogicalKeys), 0, customColours_);
    ShowCustomColours();
    return WriteCustomColours();
}

int COrbantixKeyboardDevice::SetAllCustomKeys(bool lit) {
    if (!InCustomColourMode()) return kResultNoAnswer;
    const LightInfoRecord record = GetLighting();
    SetAllKeyColours(customColours_, lit ? lighting::Rgb{record.red, record.green, record.blue} : lighting::Rgb{});
    ShowCustomColours();
    const int written = WriteCustomColours();
    StoreCustomColours();
    return written;
}

int COrbantixKeyboardDevice::SetCustomKey(int key) {
    if (!InCustomColourMode() || key < 0 || key >= kKeyboardLogicalKeys) return kResultNoAnswer;
    const LightInfoRecord record = GetLighting();
    SetKeyColour(customColours_, key, lighting::Rgb{record.red, record.green, record.blue});
    ShowCustomColours();
    StoreCustomColours();
    return WriteCustomColours();
}

}  // namespace zevik
