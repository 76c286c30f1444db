#include "devices/mouse_device.h"

#include <algorithm>

#include "devices/config_frame.h"
#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/mouse_macro_image.h"
#include "devices/mouse_notification.h"
#include "devices/mouse_recoil_image.h"
#include "devices/mouse_sensitivity.h"
#include "devices/notification_reader.h"
#include "platform/trace.h"
#include "settings/json_access.h"
#include "settings/light_names_file.h"
#include "settings/profile_files_loader.h"
#include "settings/profile_locations.h"
#include "ui/message_loop.h"
#include "ui/slider_ui.h"

namespace zevik {

namespace {

constexpr size_t kKeyTableBuffer = 512;
constexpr size_t kDeviceInfoKeyCount = 5;    // N, the number of physical keys
constexpr size_t kDeviceInfoMacroUnits = 6;  // macro memory in units of 128 bytes
constexpr size_t kStatusLength = 6;
constexpr size_t kStatusConnection = 3;
constexpr size_t kStatusReport = 4;

}  // namespace

COrbantixMouseDevice::COrbantixMouseDevice(const DeviceContext& context) : COrbantixUSBDevice(context) {
    SetKind(kDeviceKindMouse);
    SetProfileDeviceIndex(kProfileCatalogueIndex);
    keyMap_.fill(kMouseNoKey);
}

COrbantixMouseDevice::~COrbantixMouseDevice() {
    StopWorkers();
    CloseNotificationOfKind(kDeviceKindMouseReceiver);
}

std::string_view COrbantixMouseDevice::GetClass() const {
    return kClassName;
}

void* COrbantixMouseDevice::GetInterface(std::string_view name) {
    if (name == "OrbantixMouseDevice") return this;
    return COrbantixUSBDevice::GetInterface(name);
}

std::filesystem::path COrbantixMouseDevice::KindFolder() const {
    return ProfileLocationsOf(Context()).KindFolder(ProfileKind::Mouse);
}

bool COrbantixMouseDevice::ChannelReady() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen()) return false;
    return !channel.ReceiverMode() || QueryReceiverLink(channel);
}

bool COrbantixMouseDevice::IsReceiverLinked() {
    CCommandChannel& channel = CommandChannel();
    return channel.IsOpen() && channel.ReceiverMode() && QueryReceiverLink(channel);
}

// ---------------------------------------------------------------- connect

int COrbantixMouseDevice::Connect() {
    CCommandChannel& channel = CommandChannel();
    // A new connection: whatever the mirror held came from an earlier one.
    mirrorValid_ = false;

    // Old firmware notice, for the cable and the receiver interface each.
    for (CHidInterface* hid : {&channel.CableInterface(), &channel.ReceiverInterface()}) {
        if (!hid->IsOpen()) continue;
        if (const auto notice =
                MouseOldFirmwareNotice(hid->VendorId(), hid->ProductId(), hid->VersionNumber())) {
            SendToMainWindow(UM_FIRMWARE_OUTDATED, notice->productId, notice->version);
        }
    }

    int result = kResultNoAnswer;
    if (ChannelReady()) {
        FirstFailure outcome;
        outcome.Take(BeginConfig(channel));
        std::array<std::uint8_t, kDeviceInfoSize> info{};
        const int infoResult = ReadDeviceInfo(channel, info);
        outcome.Take(infoResult);
        if (infoResult == kResultDone) {
            MutableDeviceInfo() = info;
            const int keys = info[kDeviceInfoKeyCount];
            if (channel.SetBlockSize(static_cast<std::uint32_t>(keys) * 3)) {
                std::vector<std::uint8_t> table(kKeyTableBuffer, 0);
                const int tableResult = ReadKeyTable(channel, table);
                outcome.Take(tableResult);
                if (tableResult == kResultDone) {
                    table.resize(static_cast<size_t>(keys) * 3);
                    keyTable_ = std::move(table);
                    keyMap_ = BuildMouseKeyMap(keyTable_, keys);
                }
            } else {
                Trace("mouse: the device reports more keys than a key table holds");
                outcome.Take(kResultNoAnswer);
            }
        }
        // The configuration frame is closed whatever happened inside it.
        const int endResult = EndConfig(channel);
        outcome.Take(endResult);
        result = outcome.Result();
    }

    for (int n = 0; n < kMouseStageCount; ++n) {
        if (auto* slider = FindAs<CSliderUI>("DPI_slider_" + std::to_string(n))) {
            slider->SetMinValue(kMouseDpiMin);
            slider->SetMaxValue(kMouseDpiMax);
        }
    }

    ApplyProfile();
    ReadActiveSettings();
    RefreshPage();
    StartLightingThread();
    return result;
}

int COrbantixMouseDevice::Resync() {
    ReadActiveSettings();
    RefreshPage();
    return 1;
}

// ---------------------------------------------------------------- settings block

int COrbantixMouseDevice::ReadMirror() {
    CCommandChannel& channel = CommandChannel();
    std::array<std::uint8_t, 1> slot{};
    int result = ReadMemory(channel, slot, 0);
    if (result != kResultDone) return result;
    CMouseSettingsBlock::Bytes bytes{};
    result = ReadMemory(channel, bytes, CMouseSettingsBlock::SlotAddress(slot[0]));
    if (result != kResultDone) return result;
    bytes[CMouseSettingsBlock::kSlot] = slot[0];
    mirror_ = CMouseSettingsBlock(bytes);
    mirrorValid_ = true;
    activeSlot_ = slot[0];
    return kResultDone;
}

int COrbantixMouseDevice::ReadActiveSettings() {
    CommandChannel().SetStreamPaused(false);
    if (!ChannelReady()) return kResultNoAnswer;
    const int result = ReadMirror();
    if (result != kResultDone) return result;

    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    MouseBlockSettings settings = CollectSettings();
    mirror_.Read(settings, modes_.codes);
    StoreSettings(settings);
    activeStage_ = settings.activeStage;

    // Lighting into the base's state; the direction stays as it was.
    LightInfoRecord light = GetLighting();
    const std::uint8_t fx = light.fx;
    light = settings.light;
    light.fx = fx;
    COrbantixUSBDevice::SetLighting(light);
    SaveDeviceProfile();
    return kResultDone;
}

int COrbantixMouseDevice::WriteSettingsBlock(int blockSlot, int profileSlotValue) {
    CCommandChannel& channel = CommandChannel();
    if (!ChannelReady()) return kResultNoAnswer;
    if (!mirrorValid_) {
        // Never build a block over bytes not read from this mouse.
        const int read = ReadMirror();
        if (read != kResultDone) return read;
    }
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    CMouseSettingsBlock block = mirror_;
    block.Fill(CollectSettings(), modes_.codes, static_cast<std::uint8_t>(profileSlotValue));

    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed())
        outcome.Take(WriteMemory(channel, block.Data(), CMouseSettingsBlock::SlotAddress(blockSlot)));
    outcome.Take(EndConfig(channel));  // closes the frame even after a failure inside it
    if (!outcome.Failed()) {
        // The mouse now holds what was sent; the mirror keeps the active slot in byte 0.
        const std::uint8_t slot = mirror_[CMouseSettingsBlock::kSlot];
        mirror_ = block;
        mirror_.Set(CMouseSettingsBlock::kSlot, slot);
    }
    return outcome.Result();
}

MouseBlockSettings COrbantixMouseDevice::CollectSettings() {
    MouseBlockSettings s;
    s.light = profile_.GetLightInfo();
    s.system = profile_.GetMouseSystem();
    s.stages = profile_.GetDpiStages();
    s.activeStage = profile_.GetActiveDpiStage();
    return s;
}

void COrbantixMouseDevice::StoreSettings(const MouseBlockSettings& s) {
    profile_.SetLightInfo(s.light);
    profile_.SetMouseSystem(s.system);
    profile_.SetActiveDpiStage(s.activeStage);
}

// ---------------------------------------------------------------- status

int COrbantixMouseDevice::PollStatus() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen() || IsPollingHold() || !QueryReceiverLink(channel)) return kResultNoAnswer;
    std::vector<std::uint8_t> status(kStatusLength, 0);
    const int result = ReadStatus(channel, status, static_cast<std::uint8_t>(kStatusLength), 0);
    if (result != kResultDone) return result;
    status[kStatusConnection] = channel.ReceiverMode() ? 1 : 0;
    lastStatus_ = status;
    ShowStatus(status);
    SendToMainWindow(UM_DEVICE_STATUS, status[kStatusReport], 0);
    return kResultDone;
}

// ---------------------------------------------------------------- notifications

bool COrbantixMouseDevice::OpenNotificationOfKind(int kind, const std::string& path) {
    if (kind != kDeviceKindMouseReceiver) return OpenNotification(path);
    return receiverEvents_.Open(NotificationChannel(), path);
}

void COrbantixMouseDevice::CloseNotificationOfKind(int kind) {
    if (kind != kDeviceKindMouseReceiver) {
        CloseNotification();
        return;
    }
    receiverEvents_.Close(NotificationChannel());
}

bool COrbantixMouseDevice::IsNotificationOfKindOpen(int kind) const {
    return kind == kDeviceKindMouseReceiver ? receiverEvents_.IsOpen() : IsNotificationOpen();
}

void COrbantixMouseDevice::OnNotificationUsage(std::uint16_t usage) {
    HandleNotification(usage);
}

void COrbantixMouseDevice::HandleNotification(std::uint16_t usage) {
    const MouseNotification n = DecodeMouseNotification(usage);
    switch (n.kind) {
        case MouseNotification::Kind::Resync:
            // The mouse asks for its resynchronisation 50 ms later, on the UI thread.
            StartOptionTimer(CDeviceOptionUI::kTimerResync, CDeviceOptionUI::kConnectDelayMs);
            break;
        case MouseNotification::Kind::KeyPress: {
            std::lock_guard lock(LightingLock());
            if (MouseStepForMode(CurrentMode()) == MouseLightStep::Reactive) MouseKeyPressed(leds_, random_);
        } break;
        case MouseNotification::Kind::Slot:
        case MouseNotification::Kind::SlotStage:
            if (!CommandChannel().IsOpen()) break;
            activeSlot_ = n.slot;
            if (n.kind == MouseNotification::Kind::SlotStage) activeStage_ = n.stage;
            PostRefresh();
            break;
        case MouseNotification::Kind::None:
            break;
    }
}

void COrbantixMouseDevice::PostRefresh() {
    if (Context().uiLoop == nullptr) return;
    Context().uiLoop->PostTask([this] {
        EnsureProfileLoaded();
        const int stage = activeStage_.load();
        if (stage != profile_.GetActiveDpiStage()) {
            profile_.SetActiveDpiStage(stage);
            SaveDeviceProfile();
        }
        RefreshPage();
    });
}

// ---------------------------------------------------------------- keys, macros, recoil

std::vector<int> COrbantixMouseDevice::GetUsedMacros() {
    EnsureProfileLoaded();
    const std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
    return BuildMouseKeyImage(keyTable_, static_cast<int>(keyTable_.size() / 3), keyMap_, keys,
                              MouseMacroCount(KindFolder()))
        .macros;
}

int COrbantixMouseDevice::WriteKeyLayer1(int profileSlot, const std::vector<KeyAssignRecord>& keys) {
    CCommandChannel& channel = CommandChannel();
    if (!ChannelReady()) return kResultNoAnswer;
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    if (ReadDeviceInfo(channel, info) == kResultDone) MutableDeviceInfo() = info;
    const int positions = static_cast<int>(keyTable_.size() / 3);
    MouseKeyImage image =
        BuildMouseKeyImage(keyTable_, positions, keyMap_, keys, MouseMacroCount(KindFolder()));
    if (image.image.empty() || image.image.size() < channel.BlockSize())
        return kResultNoAnswer;  // no key table read

    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed() && (!channel.ReceiverMode() || QueryReceiverLink(channel))) {
        outcome.Take(WriteKeyTable(channel, image.image, static_cast<std::uint32_t>(profileSlot)));
    }
    outcome.Take(EndConfig(channel));
    return outcome.Result();
}

int COrbantixMouseDevice::WriteCurrentKeyLayer1(int profileSlot) {
    EnsureProfileLoaded();
    return WriteKeyLayer1(profileSlot, profile_.GetKeyList());
}

size_t COrbantixMouseDevice::MacroCapacity() const {
    return static_cast<size_t>(DeviceInfo()[kDeviceInfoMacroUnits]) * 128;
}

int COrbantixMouseDevice::WriteMacros(const std::vector<int>& macroNumbers) {
    if (!ChannelReady()) return 0;
    RefreshDeviceInfo();
    const MouseMacroImage image = BuildMouseMacroImage(KindFolder(), macroNumbers, MacroCapacity());
    if (image.status == MouseMacroImage::Status::TooLarge) return image.excessUnits;
    if (image.status != MouseMacroImage::Status::Ready) return 0;
    return SendMacroImage(image.image);
}

void COrbantixMouseDevice::RefreshDeviceInfo() {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    if (ReadDeviceInfo(CommandChannel(), info) == kResultDone) MutableDeviceInfo() = info;
}

int COrbantixMouseDevice::SendMacroImage(const std::vector<std::uint8_t>& image) {
    CCommandChannel& channel = CommandChannel();
    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed() && (!channel.ReceiverMode() || QueryReceiverLink(channel))) {
        outcome.Take(WriteMacroImage(channel, image));
    }
    outcome.Take(EndConfig(channel));
    if (!outcome.Failed()) return 0;
    return outcome.Result() == kResultNoAnswer ? kResultWriteFailed : outcome.Result();
}

int COrbantixMouseDevice::WriteRecoilData() {
    CCommandChannel& channel = CommandChannel();
    if (!ChannelReady()) return kResultNoAnswer;
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    if (ReadDeviceInfo(channel, info) == kResultDone) MutableDeviceInfo() = info;
    const auto image = BuildMouseRecoilImage(KindFolder());
    if (!image) {
        Trace("mouse: the recoil patterns are too long for one image; nothing sent");
        return kResultNoAnswer;
    }
    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed() && ChannelReady()) {
        outcome.Take(zevik::WriteRecoilData(channel, *image));
    }
    if (ChannelReady()) outcome.Take(EndConfig(channel));
    return outcome.Result();
}

// ---------------------------------------------------------------- profile

void COrbantixMouseDevice::EnsureProfileLoaded() {
    if (!profileLoaded_) LoadProfileFiles();
}

int COrbantixMouseDevice::LoadProfileFiles() {
    const bool selected =
        LoadProfileFilesOfKind(profile_, ProfileLocationsOf(Context()), ProfileKind::Mouse, GetLightConfigName());
    profileLoaded_ = true;
    return selected ? 1 : 0;
}

int COrbantixMouseDevice::ApplyProfile() {
    LoadProfileFiles();
    profile_.GetKeyList();
    profile_.GetDpiStages();
    activeStage_ = profile_.GetActiveDpiStage();
    ApplyLightSettings();
    return 1;
}

void COrbantixMouseDevice::ApplyLightSettings() {
    const LightInfoRecord light = profile_.GetLightInfo();
    std::vector<LightEffectRecord> sequence = profile_.GetCustomLightEffects();
    {
        std::lock_guard lock(LightingLock());
        sequence_.Load(std::move(sequence), NowMs());
        leds_ = MouseLedState{};
    }
    COrbantixUSBDevice::SetLighting(light);
}

std::string COrbantixMouseDevice::GetProfileName() {
    return profile_.ProfileName();
}

int COrbantixMouseDevice::SaveDeviceProfile() {
    return profile_.SaveChosenProfile("mouse");
}

int COrbantixMouseDevice::SwitchProfile() {
    // The store already names the selected profile; loading follows it.
    profileLoaded_ = false;
    ApplyProfile();
    RefreshPage();
    if (!CommandChannel().IsOpen()) return 0;
    const int result = WriteSettingsBlock(0, 0);
    if (result == kResultDone) return 0;
    Trace("mouse: the profile was not sent: " + CommandResultText(result));
    return result == 0 ? -1 : result;
}

void COrbantixMouseDevice::SetProfileDeviceIndex(int index) {
    // The index chooses the mouse's entries of the light files; the profile files hold one
    // document per kind folder, always element 0.
    COrbantixUSBDevice::SetProfileDeviceIndex(index);
}

void COrbantixMouseDevice::SetLighting(const LightInfoRecord& record) {
    COrbantixUSBDevice::SetLighting(record);
    profile_.SetLightInfo(record);
}

int COrbantixMouseDevice::RestoreDefaults() {
    EnsureProfileLoaded();
    const Json::Value factory = profile_.DefaultDocument();
    if (factory.isNull() || profile_.GetProfilePath().empty()) return 0;
    const JsonWriteResult written = profile_.WriteDeviceEntry(factory, profile_.GetProfilePath());
    if (!written) {
        Trace("mouse: defaults not restored: " + written.message);
        return 0;
    }
    profileLoaded_ = false;
    ApplyProfile();
    SaveDeviceProfile();
    RefreshPage();
    return 1;
}

int COrbantixMouseDevice::CheckMacroKeys() {
    EnsureProfileLoaded();
    const int count = MouseMacroCount(KindFolder());
    std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
    bool changed = false;
    for (size_t j = 0; j < keys.size(); ++j) {
        const AssignmentCode code = keys[j].assignment;
        if ((code.type == kAssignMacro || code.type == kAssignMacroRepeat) && code.p1 >= count) {
            keys[j].assignment = keys[j].defaultAssignment;
            changed = true;
        }
    }
    if (changed) {
        profile_.SetKeyList(keys);
        SaveDeviceProfile();
    }
    RefreshPage();
    return changed ? 1 : 0;
}

int COrbantixMouseDevice::LoadLightLists() {
    const CProfileLocations locations = ProfileLocationsOf(Context());
    LightNames names =
        ReadLightNames(locations.DefaultLightFile(), profile_.GetLightConfigPath(), GetProfileDeviceIndex());
    LightModeLists lists = SplitLightModes(std::move(names.modes));
    if (lightControl_ != nullptr) {
        lightControl_->FillModeList(lists.names, lists.visible, kMouseLightLevelMax, kMouseLightLevelMax);
    }
    areaNames_ = std::move(names.areas);
    sequenceNames_ = std::move(names.sequences);
    // The lighting thread reads the mode list: swap it in under the lighting lock.
    std::lock_guard lock(LightingLock());
    modes_ = std::move(lists);
    return modes_.codes.empty() ? 0 : 1;
}

}  // namespace zevik
