#pragma once
// IKeyboardCustomColours: what the lighting page asks of a keyboard for its per-key custom colours
// (the custom colours effect). The keyboard answers GetInterface(kInterfaceName); the main window's
// handlers reach it without knowing the keyboard's class. Results are command results (1 done).

namespace zevik {

class IKeyboardCustomColours {
public:
    static constexpr const char* kInterfaceName = "KeyboardCustomColours";

    virtual ~IKeyboardCustomColours() = default;
    // Whether the keyboard shows its custom colours now: only then do the key and colour edits apply.
    virtual bool InCustomColourMode() const = 0;
    // The lighting page, the profile and the settings block take the slot; the profile is saved.
    virtual void SelectCustomSlot(int slot) = 0;
    // The slot's colours kept in the profile become the keys' colours and are written to the keyboard.
    virtual int ShowCustomSlot(int slot) = 0;
    // Every key takes the lighting colour (lit) or turns black; written, stored in the slot and saved.
    virtual int SetAllCustomKeys(bool lit) = 0;
    // One key (a logical key) takes the lighting colour; stored in the slot, saved and written.
    virtual int SetCustomKey(int key) = 0;
};

}  // namespace zevik
