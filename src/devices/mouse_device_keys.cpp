// COrbantixMouseDevice: the key page. The key list lives in the profile document; the page's key
// assignment control edits one key at a time, and "save to mouse" writes the whole list with the
// macros it uses.

#include "devices/mouse_device.h"
#include "devices/mouse_macro_image.h"

namespace zevik {

namespace {

constexpr AssignmentCode kLeftButton{0x10, 0x01, 0x00};

}  // namespace

void COrbantixMouseDevice::ShowKeyAssignments() {
    if (keySetControl_ == nullptr) return;
    keySetControl_->SetMacroNames(MouseMacroNames(KindFolder()));
    LabelKeyButtons();
}

void COrbantixMouseDevice::LabelKeyButtons() {
    EnsureProfileLoaded();
    if (keySetControl_ == nullptr) return;
    const std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
    const std::vector<CControlUI*>& buttons = KeyButtons();
    for (size_t n = 0; n < buttons.size() && n < keys.size(); ++n) {
        if (buttons[n] == nullptr) continue;
        const std::string label = keySetControl_->LabelOf(keys[n].assignment);
        buttons[n]->SetText(label);
        buttons[n]->SetToolTip(label);
    }
}

bool COrbantixMouseDevice::IsLastLeftButton(int index) {
    EnsureProfileLoaded();
    const std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
    if (index < 0 || static_cast<size_t>(index) >= keys.size()) return false;
    if (keys[static_cast<size_t>(index)].assignment != kLeftButton) return false;
    int lefts = 0;
    for (const KeyAssignRecord& key : keys) lefts += key.assignment == kLeftButton ? 1 : 0;
    return lefts == 1;
}

void COrbantixMouseDevice::StoreKeyAssignment(const KeyAssignRecord& record) {
    EnsureProfileLoaded();
    std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
    for (KeyAssignRecord& key : keys) {
        if (key.keyIndex == record.keyIndex) key.assignment = record.assignment;
    }
    profile_.SetKeyList(keys);
    LabelKeyButtons();  // the macro list is unchanged: no need to read it again
}

int COrbantixMouseDevice::WriteKeysAndMacros() {
    EnsureProfileLoaded();
    if (!ChannelReady()) return kResultWriteFailed;
    const std::vector<int> used = GetUsedMacros();
    // Nothing is sent when the macros cannot all be stored: a key list naming macros the mouse
    // lacks would play whatever its memory holds.
    const size_t capacity = MacroCapacity();
    MouseMacroImage macros = BuildMouseMacroImage(KindFolder(), used, capacity);
    if (macros.status == MouseMacroImage::Status::TooLarge) return macros.excessUnits;
    const int keysWritten = WriteCurrentKeyLayer1(0);
    if (keysWritten != kResultDone) {
        return keysWritten == kResultNoAnswer ? kResultWriteFailed : keysWritten;
    }
    if (macros.status == MouseMacroImage::Status::Ready) {
        RefreshDeviceInfo();
        if (MacroCapacity() != capacity) {  // the mouse now reports another memory size
            macros = BuildMouseMacroImage(KindFolder(), used, MacroCapacity());
            if (macros.status == MouseMacroImage::Status::TooLarge) return macros.excessUnits;
        }
        const int macrosWritten = SendMacroImage(macros.image);
        if (macrosWritten != 0) return macrosWritten;
    }
    SaveDeviceProfile();
    LabelKeyButtons();
    return 0;
}

}  // namespace zevik
