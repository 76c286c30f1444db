// COrbantixKeyboardDevice: the two key layers and the macros layer 1 binds.
//
// Layer 1 is the profile's "KeyList", layer 2 its "KeyList2"; the keyboard gives neither back, so the
// profile is their record. The key page edits one key of one layer at a time: SelectKey opens a key
// of layer 1, SelectKey2 one of layer 2; keeping the page's function stores it in that layer, and
// "save to keyboard" writes both layers (layer 1 with its macros) and then saves the profile.

#include "devices/config_frame.h"
#include "devices/key_set_control.h"
#include "devices/keyboard_device.h"
#include "devices/keyboard_key_image.h"
#include "devices/macro_image.h"

namespace zevik {

namespace {

std::span<const AssignmentCode> Defaults() { return KeyboardDefaultKeyCodes(); }

// The list with one record per logical key: keys a short "KeyList" lacks keep their factory triple.
std::vector<KeyAssignRecord> Complete(std::vector<KeyAssignRecord> keys) {
    const std::vector<KeyAssignRecord> factory = FactoryKeyLayer(Defaults());
    for (size_t j = keys.size(); j < factory.size(); ++j) keys.push_back(factory[j]);
    return keys;
}

// Macro codes of keys whose macro index is not listed (any macro code in layer 2) become the
// key's factory code; true when one changed.
bool DropUnlistedMacros(std::vector<KeyAssignRecord>& keys, int listed) {
    bool changed = false;
    for (KeyAssignRecord& key : keys) {
        if (IsMacroAssignment(key.assignment) && key.assignment.p1 >= listed) {
            key.assignment = key.defaultAssignment;
            changed = true;
        }
    }
    return changed;
}

}  // namespace

std::vector<KeyAssignRecord> COrbantixKeyboardDevice::KeyLayer(int layer) {
    EnsureProfileLoaded();
    return layer == 2 ? profile_.GetKeyList2(Defaults()) : Complete(profile_.GetKeyList());
}

void COrbantixKeyboardDevice::SetKeyLayer(int layer, const std::vector<KeyAssignRecord>& keys) {
    EnsureProfileLoaded();
    if (layer == 2) {
        profile_.SetKeyList2(keys);
    } else {
        profile_.SetKeyList(keys);
    }
}

std::vector<int> COrbantixKeyboardDevice::GetUsedMacros() {
    return BuildKeyboardLayer1Image(keyCodeTable_, keyMaps_.position, KeyLayer(1), Defaults(),
                                    ListedMacroCount(KindFolder()))
        .macros;
}

int COrbantixKeyboardDevice::CheckMacroKeys() {
    std::vector<KeyAssignRecord> layer1 = KeyLayer(1);
    std::vector<KeyAssignRecord> layer2 = KeyLayer(2);
    const bool changed1 = DropUnlistedMacros(layer1, ListedMacroCount(KindFolder()));
    const bool changed2 = DropUnlistedMacros(layer2, 0);
    if (changed1) SetKeyLayer(1, layer1);
    if (changed2) SetKeyLayer(2, layer2);
    if (changed1 || changed2) SaveDeviceProfile();
    RefreshPage();
    return changed1 || changed2 ? 1 : 0;
}

int COrbantixKeyboardDevice::WriteLayerImage(int layer, int profileSlot, const std::vector<std::uint8_t>& image) {
    CCommandChannel& channel = CommandChannel();
    // Only slot 0 has a key table: refused before anything is sent.
    if (profileSlot != 0) return kResultBankNotZero;
    if (image.empty() || image.size() < channel.BlockSize()) return kResultNoAnswer;  // no layout read
    return SendInConfigFrame(channel, [&] {
        return layer == 2 ? WriteKeyTable2(channel, image, 0) : WriteKeyTable(channel, image, 0);
    });
}

int COrbantixKeyboardDevice::WriteKeyLayer1(int profileSlot, const std::vector<KeyAssignRecord>& keys) {
    if (!ChannelReady()) return kResultNoAnswer;
    RefreshDeviceInfo();
    const KeyLayerImage image =
        BuildKeyboardLayer1Image(keyCodeTable_, keyMaps_.position, keys, Defaults(), ListedMacroCount(KindFolder()));
    return WriteLayerImage(1, profileSlot, image.image);
}

int COrbantixKeyboardDevice::WriteKeyLayer2(int profileSlot, const std::vector<KeyAssignRecord>& keys) {
    if (!ChannelReady()) return kResultNoAnswer;
    RefreshDeviceInfo();
    return WriteLayerImage(2, profileSlot, BuildKeyboardLayer2Image(keyCodeTable_, keyMaps_.position, keys, Defaults()));
}

int COrbantixKeyboardDevice::WriteCurrentKeyLayer1(int profileSlot) { return WriteKeyLayer1(profileSlot, KeyLayer(1)); }

int COrbantixKeyboardDevice::WriteCurrentKeyLayer2(int profileSlot) { return WriteKeyLayer2(profileSlot, KeyLayer(2)); }

size_t COrbantixKeyboardDevice::MacroCapacity() const { return MacroMemoryOf(DeviceInfo()); }

int COrbantixKeyboardDevice::WriteMacros(const std::vector<int>& macroNumbers) {
    if (!ChannelReady()) return 0;
    RefreshDeviceInfo();
    const MacroImage image = BuildMacroImage(KindFolder(), macroNumbers, MacroCapacity());
    if (image.status == MacroImage::Status::TooLarge) return image.excessUnits;
    if (image.status != MacroImage::Status::Ready) return 0;
    return SendMacroImage(image.image);
}

int COrbantixKeyboardDevice::SendMacroImage(const std::vector<std::uint8_t>& image) {
    CCommandChannel& channel = CommandChannel();
    const int result = SendInConfigFrame(channel, [&] { return WriteMacroImage(channel, image); });
    if (result == kResultDone) return 0;
    return result == kResultNoAnswer ? kResultWriteFailed : result;
}

int COrbantixKeyboardDevice::SendLayer(int layer) {
    auto taken = [](int written) { return written == kResultNoAnswer ? kResultWriteFailed : written; };
    if (layer == 2) {
        const int written = WriteCurrentKeyLayer2(0);
        return written == kResultDone ? 0 : taken(written);
    }
    // The macros are checked first: a layer naming macros the keyboard cannot hold would play
    // whatever its macro memory holds, so then nothing is sent.
    const std::vector<int> used = GetUsedMacros();
    const size_t capacity = MacroCapacity();
    MacroImage macros = BuildMacroImage(KindFolder(), used, capacity);
    if (macros.status == MacroImage::Status::TooLarge) return macros.excessUnits;
    const int written = WriteCurrentKeyLayer1(0);  // reads the device information again
    if (written != kResultDone) return taken(written);
    if (macros.status != MacroImage::Status::Ready) return 0;
    if (MacroCapacity() != capacity) {  // the keyboard now reports another memory size
        macros = BuildMacroImage(KindFolder(), used, MacroCapacity());
        if (macros.status == MacroImage::Status::TooLarge) return macros.excessUnits;
    }
    return SendMacroImage(macros.image);
}

int COrbantixKeyboardDevice::WriteLayerAndMacros(int layer) {
    EnsureProfileLoaded();
    if (!ChannelReady()) return kResultWriteFailed;
    if (const int sent = SendLayer(layer); sent != 0) return sent;
    SaveDeviceProfile();
    LabelKeyButtons();
    return 0;
}

int COrbantixKeyboardDevice::WriteKeysAndMacros() {
    // Both layers: a change elsewhere (a deleted macro renumbers layer 1) must reach the keyboard
    // whichever layer the page shows.
    EnsureProfileLoaded();
    if (!ChannelReady()) return kResultWriteFailed;
    for (const int layer : {1, 2}) {
        if (const int sent = SendLayer(layer); sent != 0) return sent;
    }
    SaveDeviceProfile();
    LabelKeyButtons();
    return 0;
}

// ---------------------------------------------------------------- the key page

void COrbantixKeyboardDevice::SelectKey(int index) {
    COrbantixUSBDevice::SelectKey(index);
    OpenKey(1, index);
}

void COrbantixKeyboardDevice::SelectKey2(int index) {
    COrbantixUSBDevice::SelectKey2(index);
    OpenKey(2, index);
}

void COrbantixKeyboardDevice::ChooseKeyLayer(int layer) {
    chosenLayer_ = layer == 2 ? 2 : 1;
    editedLayer_ = chosenLayer_;
    // The open key stays open, now in the chosen layer; the buttons show that layer's functions.
    const int key = GetSelectedKey() != kNoSelection ? GetSelectedKey() : GetSelectedKey2();
    if (key == kNoSelection) {
        LabelKeyButtons();
        return;
    }
    if (chosenLayer_ == 2) SelectKey2(key);
    else SelectKey(key);
}

void COrbantixKeyboardDevice::SelectKeyOnPage(int index) {
    if (chosenLayer_ == 2) SelectKey2(index);
    else SelectKey(index);
}

void COrbantixKeyboardDevice::OpenKey(int layer, int index) {
    editedLayer_ = layer;
    const std::vector<KeyAssignRecord> keys = KeyLayer(layer);
    if (keySetControl_ != nullptr && index >= 0 && static_cast<size_t>(index) < keys.size()) {
        keySetControl_->EditKey(keys[static_cast<size_t>(index)]);
    }
    LabelKeyButtons();
}

void COrbantixKeyboardDevice::StoreKeyAssignment(const KeyAssignRecord& record) {
    std::vector<KeyAssignRecord> keys = KeyLayer(editedLayer_);
    if (record.keyIndex >= keys.size()) return;
    // Layer 2 binds no macros: the macro image is numbered by layer 1 alone.
    if (editedLayer_ == 2 && IsMacroAssignment(record.assignment)) return;
    keys[record.keyIndex].assignment = record.assignment;
    SetKeyLayer(editedLayer_, keys);
    LabelKeyButtons();
}

void COrbantixKeyboardDevice::ShowKeyAssignments() {
    if (keySetControl_ == nullptr) return;
    keySetControl_->SetMacroNames(ListedMacroNames(KindFolder()));
    LabelKeyButtons();
}

void COrbantixKeyboardDevice::LabelKeyButtons() {
    if (keySetControl_ == nullptr) return;
    const std::vector<KeyAssignRecord> keys = KeyLayer(editedLayer_);
    const std::vector<CControlUI*>& buttons = KeyButtons();
    if (keyCaptions_.size() != buttons.size()) {
        // The skin's captions are sized for the key caps ("Ins", "PgDn"); the function names are not.
        keyCaptions_.assign(buttons.size(), {});
        for (size_t n = 0; n < buttons.size(); ++n) {
            if (buttons[n] != nullptr) keyCaptions_[n] = buttons[n]->GetText();
        }
    }
    for (size_t n = 0; n < buttons.size() && n < keys.size(); ++n) {
        if (buttons[n] == nullptr) continue;
        const std::string label = keySetControl_->LabelOf(keys[n].assignment);
        const bool factory = keys[n].assignment == keys[n].defaultAssignment;
        buttons[n]->SetText(factory && !keyCaptions_[n].empty() ? keyCaptions_[n] : label);
        buttons[n]->SetToolTip(label);
    }
}

}  // namespace zevik
