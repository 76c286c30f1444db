#pragma once
// CKeyboardCustomColourEditor: the keyboard's custom colours as the lighting page edits them. The key
// frame holds the colours shown; each edit keeps them in the profile's colour group of the current
// slot and writes them to the keyboard's slot (command 0x0B, N x 3 bytes at slot x 512), only while
// the keyboard shows its custom colours.
//
// Runs on the UI thread. The frame is changed under the engine's lock.

#include "devices/keyboard_custom_colour_control.h"
#include "devices/lighting_tables.h"

namespace zevik {

class COrbantixKeyboardDevice;

class CKeyboardCustomColourEditor final : public IKeyboardCustomColours {
public:
    static constexpr int kCustomColourMode = 20;
    static constexpr int kSlotSize = 512;
    static constexpr int kAddressSpace = 0x10000;  // slot addresses are 16-bit

    explicit CKeyboardCustomColourEditor(COrbantixKeyboardDevice& keyboard) : m_keyboard(keyboard) {}

    bool InCustomColourMode() const override;
    void SelectCustomSlot(int slot) override;
    int ShowCustomSlot(int slot) override;
    int SetAllCustomKeys(bool lit) override;
    int SetCustomKey(int key) override;

    // Whether the slot's N x 3 bytes lie within the keyboard's 16-bit addresses (past them the
    // transfer would wrap onto slot 0).
    static bool SlotFits(int slot, int positions);

private:
    lighting::Rgb LightingColour() const;
    int Slot() const;
    // The frame's colours into the profile's group of the slot; the profile is saved.
    void StoreSlot(int slot);
    // The frame's colours to the keyboard's slot. 1 written; 0 not in the custom colours, the
    // keyboard not reachable or a slot that does not fit (nothing sent); else the command's result.
    int WriteSlot(int slot);

    COrbantixKeyboardDevice& m_keyboard;
};

}  // namespace zevik
