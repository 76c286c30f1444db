#include "devices/keyboard_custom_colour_editor.h"

#include <span>

#include "devices/keyboard_custom_colours.h"
#include "devices/keyboard_device.h"
#include "transport/command_set.h"

namespace zevik {

bool CKeyboardCustomColourEditor::InCustomColourMode() const {
    return m_keyboard.CurrentModeCode() == kCustomColourMode;
}

bool CKeyboardCustomColourEditor::SlotFits(int slot, int positions) {
    return slot >= 0 && slot <= 255 && positions >= 0 && positions * 3 <= kSlotSize &&
           slot * kSlotSize + positions * 3 <= kAddressSpace;
}

lighting::Rgb CKeyboardCustomColourEditor::LightingColour() const {
    const LightInfoRecord light = m_keyboard.GetLighting();
    return {light.red, light.green, light.blue};
}

int CKeyboardCustomColourEditor::Slot() const {
    return m_keyboard.GetLighting().customGroup;
}

void CKeyboardCustomColourEditor::SelectCustomSlot(int slot) {
    m_keyboard.EnsureProfileLoaded();
    m_keyboard.Profile().SetKeyColorGroup(slot);
    m_keyboard.SaveDeviceProfile();
}

void CKeyboardCustomColourEditor::StoreSlot(int slot) {
    m_keyboard.EnsureProfileLoaded();
    std::vector<KeyColorRecord> colours;
    m_keyboard.Engine().EditFrame([&colours](KeyLightFrame& frame) { colours = ProfileColours(frame); });
    m_keyboard.Profile().SetKeyColors(colours, slot);
    m_keyboard.SaveDeviceProfile();
}

int CKeyboardCustomColourEditor::WriteSlot(int slot) {
    const int positions = m_keyboard.PositionCount();
    if (!InCustomColourMode() || !SlotFits(slot, positions) || !m_keyboard.ChannelReady()) return 0;
    KeyboardColourBuffer buffer{};
    m_keyboard.Engine().EditFrame(
        [&](KeyLightFrame& frame) { buffer = DeviceColours(frame, m_keyboard.KeyMaps().led); });
    return WriteKeyColors(m_keyboard.CommandChannel(),
                          std::span<const std::uint8_t>(buffer.data(), static_cast<size_t>(positions) * 3),
                          static_cast<std::uint32_t>(slot), kSlotSize);
}

int CKeyboardCustomColourEditor::ShowCustomSlot(int slot) {
    m_keyboard.EnsureProfileLoaded();
    const std::vector<KeyColorRecord> colours = m_keyboard.Profile().GetKeyColors(slot, lighting::kLogicalKeyCount);
    const std::uint8_t bright = lighting::Brightness(m_keyboard.GetLighting().light);
    m_keyboard.Engine().EditFrame([&](KeyLightFrame& frame) { ShowProfileColours(colours, bright, frame); });
    return WriteSlot(slot);
}

int CKeyboardCustomColourEditor::SetAllCustomKeys(bool lit) {
    if (!InCustomColourMode()) return 0;
    const lighting::Rgb colour = lit ? LightingColour() : lighting::Rgb{};
    m_keyboard.Engine().EditFrame([&colour](KeyLightFrame& frame) { SetAllKeyColours(frame, colour); });
    const int slot = Slot();
    const int written = WriteSlot(slot);
    StoreSlot(slot);
    return written;
}

int CKeyboardCustomColourEditor::SetCustomKey(int key) {
    if (!InCustomColourMode() || key < 0 || key >= lighting::kLogicalKeyCount) return 0;
    const lighting::Rgb colour = LightingColour();
    m_keyboard.Engine().EditFrame([&](KeyLightFrame& frame) { SetKeyColour(frame, key, colour); });
    const int slot = Slot();
    StoreSlot(slot);
    return WriteSlot(slot);
}

}  // namespace zevik
