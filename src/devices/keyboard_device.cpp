// COrbantixKeyboardDevice: connect, the settings block, the profile and the lighting state.

#include "devices/keyboard_device.h"

#include <algorithm>
#include <future>
#include <system_error>

#include "devices/keyboard_light_output.h"
#include "devices/light_control.h"
#include "devices/notification_reader.h"
#include "platform/trace.h"
#include "settings/json_access.h"
#include "settings/light_names_file.h"
#include "settings/profile_files_loader.h"
#include "settings/profile_locations.h"

namespace zevik {

namespace {

constexpr size_t kDeviceInfoPositions = 5;  // N, the number of physical positions (and LEDs)
constexpr int kCustomColourMode = 20;       // entered again even when it is the mode in force

// The first failure of a sequence of command results; 1 when every one was done.
class FirstFailure {
public:
    void Take(int result) {
        if (result_ == kResultDone && result != kResultDone) result_ = result;
    }
    int Result() const { return result_; }
    bool Failed() const { return result_ != kResultDone; }

private:
    int result_ = kResultDone;
};

}  // namespace

COrbantixKeyboardDevice::COrbantixKeyboardDevice(const DeviceContext& context) : COrbantixUSBDevice(context) {
    SetKind(kDeviceKindKeyboard);
    SetProfileDeviceIndex(kProfileCatalogueIndex);
    KeyboardKeyMaps none;
    none.position.fill(kKeyboardNoPosition);
    none.led.fill(kNoLed);
    lightOutput_ = std::make_unique<CKeyboardLightOutput>(CommandChannel());
    SetKeyMaps(none);
}

void COrbantixKeyboardDevice::SetKeyMaps(const KeyboardKeyMaps& maps) {
    keyMaps_ = maps;
    lightOutput_->SetDeviceMap(maps.led, positionCount_);
    for (auto& key : keyAtPosition_) key.store(kNoKeyAtPosition, std::memory_order_relaxed);
    // The first logical key at a position wins, as the position map finds them.
    for (int j = kKeyboardLogicalKeys - 1; j >= 0; --j) {
        const std::uint8_t k = maps.position[static_cast<size_t>(j)];
        if (k != kKeyboardNoPosition) keyAtPosition_[k].store(static_cast<std::uint8_t>(j), std::memory_order_relaxed);
    }
}

COrbantixKeyboardDevice::~COrbantixKeyboardDevice() {
    StopWorkers();
    CloseEventInterface(kDeviceKindKeyboardReceiver);
}

std::string_view COrbantixKeyboardDevice::GetClass() const {
    return kClassName;
}

void* COrbantixKeyboardDevice::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    if (name == IKeyboardCustomColours::kInterfaceName) return static_cast<IKeyboardCustomColours*>(this);
    return COrbantixUSBDevice::GetInterface(name);
}

std::filesystem::path COrbantixKeyboardDevice::KindFolder() const {
    return ProfileLocationsOf(Context()).KindFolder(ProfileKind::Keyboard);
}

void COrbantixKeyboardDevice::SeedRandom(std::uint32_t seed) {
    engine_.Seed(seed);
}

bool COrbantixKeyboardDevice::ChannelReady() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen()) return false;
    return !channel.ReceiverMode() || QueryReceiverLink(channel);
}

bool COrbantixKeyboardDevice::IsReceiverLinked() {
    CCommandChannel& channel = CommandChannel();
    return channel.IsOpen() && channel.ReceiverMode() && QueryReceiverLink(channel);
}

void COrbantixKeyboardDevice::RefreshDeviceInfo() {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    if (ReadDeviceInfo(CommandChannel(), info) == kResultDone) MutableDeviceInfo() = info;
}

// ---------------------------------------------------------------- connect

int COrbantixKeyboardDevice::Connect() {
    CCommandChannel& channel = CommandChannel();
    // A new connection: whatever the mirror held came from an earlier one.
    mirrorValid_ = false;

    // Reading and parsing the profile files needs nothing from the keyboard, so it runs while the
    // exchanges below wait on the link; the profile is only touched again after the join.
    std::future<int> profileFiles;
    try {
        profileFiles = std::async(std::launch::async, [this] { return LoadProfileFiles(); });
    } catch (const std::system_error&) {
        LoadProfileFiles();  // no thread to spare: read them here, as before
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
            const int positions = info[kDeviceInfoPositions];
            if (channel.SetBlockSize(static_cast<std::uint32_t>(positions) * 3)) {
                std::vector<std::uint8_t> codes(kKeyTableBankSize, 0);
                std::vector<std::uint8_t> leds(kKeyTableBankSize, 0);
                const int codesResult = ReadKeyTable(channel, codes);
                outcome.Take(codesResult);
                const int ledsResult = codesResult == kResultDone ? ReadLedIndexTable(channel, leds) : codesResult;
                outcome.Take(ledsResult);
                if (codesResult == kResultDone && ledsResult == kResultDone) {
                    codes.resize(static_cast<size_t>(positions) * 3);
                    leds.resize(static_cast<size_t>(positions));
                    keyCodeTable_ = std::move(codes);
                    ledIndexTable_ = std::move(leds);
                    positionCount_ = positions;
                    SetKeyMaps(BuildKeyboardKeyMaps(keyCodeTable_, ledIndexTable_, positions));
                }
            } else {
                Trace("keyboard: the device reports more positions than a key table holds");
                outcome.Take(kResultNoAnswer);
            }
        }
        // The configuration frame is closed whatever happened inside it.
        outcome.Take(EndConfig(channel));
        result = outcome.Result();
    }

    if (profileFiles.valid()) profileFiles.get();
    ApplyLoadedProfile();
    ReadSettingsBlock();
    RefreshPage();
    StartLightingThread();
    return result;
}

// ---------------------------------------------------------------- settings block

int COrbantixKeyboardDevice::ReadMirror(KeyboardSettingsBlock& block, int& slot) {
    CCommandChannel& channel = CommandChannel();
    std::array<std::uint8_t, 1> active{};
    int result = ReadMemory(channel, active, 0);
    if (result != kResultDone) return result;
    const auto address = KeyboardSettingsBlock::SlotAddress(active[0]);
    if (!address) return kResultNoAnswer;
    KeyboardSettingsBlock::Bytes bytes{};
    result = ReadMemory(channel, bytes, *address);
    if (result != kResultDone) return result;
    bytes[KeyboardSettingsBlock::kSlot] = active[0];
    bytes[KeyboardSettingsBlock::kZero] = 0;
    block = KeyboardSettingsBlock(bytes);
    slot = active[0];
    return kResultDone;
}

int COrbantixKeyboardDevice::ReadSettingsBlock() {
    CommandChannel().SetStreamPaused(false);
    std::copy_n(mirror_.Data().begin(), mirrorHead_.size(), mirrorHead_.begin());
    if (!ChannelReady()) return kResultNoAnswer;
    KeyboardSettingsBlock block;
    int slot = 0;
    const int result = ReadMirror(block, slot);
    if (result != kResultDone) return result;  // mirror, lighting and profile stay as they were
    mirror_ = block;
    mirrorValid_ = true;
    activeSlot_ = slot;

    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    const int previousCode = engine_.Mode();
    KeyboardBlockSettings settings = CollectSettings();
    block.Read(settings, modes_.codes);
    {
        std::lock_guard lock(systemLock_);
        system_.SetKey6Flag(settings.system.Key6Flag());
        system_.SetWinFlag(settings.system.WinFlag());
        system_.SetWFlag(settings.system.WFlag());
        settings.system = system_;
    }
    // A reconnect usually reads what the profile holds already: the file is written only on a change.
    const bool changed =
        !(profile_.GetLightInfo() == settings.light) || !(profile_.GetKeyboardSystem() == settings.system);
    profile_.SetLightInfo(settings.light);
    profile_.SetKeyboardSystem(settings.system);
    COrbantixUSBDevice::SetLighting(settings.light);
    EnterModeIfNeeded(previousCode);
    if (changed) SaveDeviceProfile();
    return kResultDone;
}

int COrbantixKeyboardDevice::WriteSettingsBlock(int blockSlot, int profileSlotValue) {
    CCommandChannel& channel = CommandChannel();
    if (!ChannelReady()) return kResultNoAnswer;
    const auto address = KeyboardSettingsBlock::SlotAddress(blockSlot);
    if (!address) return kResultNoAnswer;
    if (!mirrorValid_) {
        // Never build a block over bytes not read from this keyboard.
        KeyboardSettingsBlock block;
        int slot = 0;
        const int read = ReadMirror(block, slot);
        if (read != kResultDone) return read;
        mirror_ = block;
        mirrorValid_ = true;
        activeSlot_ = slot;
    }
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    KeyboardSettingsBlock block = mirror_;
    block.Fill(CollectSettings(), modes_.codes, static_cast<std::uint8_t>(profileSlotValue));

    FirstFailure outcome;
    outcome.Take(BeginConfig(channel));
    if (!outcome.Failed()) outcome.Take(WriteMemory(channel, block.Data(), *address));
    outcome.Take(EndConfig(channel));  // closes the frame even after a failure inside it
    if (!outcome.Failed()) {
        // The keyboard now holds what was sent; the mirror keeps the active slot in byte 0.
        const std::uint8_t slot = mirror_[KeyboardSettingsBlock::kSlot];
        mirror_ = block;
        mirror_.Set(KeyboardSettingsBlock::kSlot, slot);
    }
    return outcome.Result();
}

KeyboardBlockSettings COrbantixKeyboardDevice::CollectSettings() {
    KeyboardBlockSettings s;
    s.light = profile_.GetLightInfo();
    std::lock_guard lock(systemLock_);
    s.system = system_;
    return s;
}

// ---------------------------------------------------------------- lighting

int COrbantixKeyboardDevice::CurrentModeCode() const {
    const LightInfoRecord light = GetLighting();
    if (light.selectItem < modes_.codes.size()) return modes_.codes[light.selectItem];
    return light.selectItem;
}

void COrbantixKeyboardDevice::EnterModeIfNeeded(int previousCode) {
    const int code = CurrentModeCode();
    if (code != previousCode || code == kCustomColourMode) {
        engine_.EnterMode(code, GetLighting());
        if (code == kCustomColourMode) ReadCustomColours();
        // A streamed mode needs its steps and frames even where they rested (a still frame, the
        // tray): the lighting thread looks at the new mode, and the frame timer runs while seen.
        WakeLightingThread();
        if (StreamsLightFrames()) ResumeLightFrame();
    } else {
        engine_.SetLighting(GetLighting());
    }
}

void COrbantixKeyboardDevice::ApplyLightSettings() {
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    const int previousCode = engine_.Mode();
    COrbantixUSBDevice::SetLighting(profile_.GetLightInfo());
    const AudioLightInfoRecord audio = profile_.GetAudioLightInfo();
    COrbantixUSBDevice::SetAudioLighting(audio);
    engine_.SetAudioLighting(audio);
    EnterModeIfNeeded(previousCode);
    engine_.LoadKeyEffects(profile_.GetCustomLightEffects(), profile_.GetLightList(), NowMs());
}

void COrbantixKeyboardDevice::SetLighting(const LightInfoRecord& record) {
    const int previousCode = engine_.Mode();
    COrbantixUSBDevice::SetLighting(record);
    profile_.SetLightInfo(record);
    EnterModeIfNeeded(previousCode);
}

void COrbantixKeyboardDevice::SetAudioLighting(const AudioLightInfoRecord& record) {
    COrbantixUSBDevice::SetAudioLighting(record);
    profile_.SetAudioLightInfo(record);
    engine_.SetAudioLighting(record);
}

void COrbantixKeyboardDevice::AudioLevels(std::span<const std::int32_t> levels) {
    engine_.AudioLevels(levels);
}

void COrbantixKeyboardDevice::AudioBands(std::span<const std::int32_t> bands) {
    engine_.AudioBands(bands);
}

int COrbantixKeyboardDevice::LightStepPeriod() const {
    return engine_.PeriodTicks();
}

void COrbantixKeyboardDevice::RunLightStep() {
    engine_.Step(NowMs());
    NoteEngineFrame();
    StreamUnseenFrame();
}

int COrbantixKeyboardDevice::LoadLightLists() {
    const CProfileLocations locations = ProfileLocationsOf(Context());
    LightNames names =
        ReadLightNames(locations.DefaultLightFile(), profile_.GetLightConfigPath(), GetProfileDeviceIndex());
    modes_ = SplitLightModes(std::move(names.modes));
    if (lightControl_ != nullptr)
        lightControl_->FillModeList(modes_.names, modes_.visible, kLightLevelMax, kLightLevelMax);
    return modes_.codes.empty() ? 0 : 1;
}

// ---------------------------------------------------------------- profile

void COrbantixKeyboardDevice::EnsureProfileLoaded() {
    if (!profileLoaded_) LoadProfileFiles();
}

int COrbantixKeyboardDevice::LoadProfileFiles() {
    const bool selected =
        LoadProfileFilesOfKind(profile_, ProfileLocationsOf(Context()), ProfileKind::Keyboard, GetLightConfigName());
    profileLoaded_ = true;
    return selected ? 1 : 0;
}

int COrbantixKeyboardDevice::ApplyProfile() {
    LoadProfileFiles();
    ApplyLoadedProfile();
    return 1;
}

void COrbantixKeyboardDevice::ApplyLoadedProfile() {
    profile_.GetKeyList();
    ApplyLightSettings();
    const KeyboardSystemRecord system = profile_.GetKeyboardSystem();
    std::lock_guard lock(systemLock_);
    system_ = system;
}

std::string COrbantixKeyboardDevice::GetProfileName() {
    return profile_.ProfileName();
}

int COrbantixKeyboardDevice::SaveDeviceProfile() {
    return profile_.SaveChosenProfile("keyboard");
}

int COrbantixKeyboardDevice::SwitchProfile() {
    // The store already names the selected profile; loading follows it.
    profileLoaded_ = false;
    ApplyProfile();
    RefreshPage();
    if (!CommandChannel().IsOpen()) return 0;
    const int result = WriteSettingsBlock(0, 0);
    if (result == kResultDone) return 0;
    Trace("keyboard: the profile was not sent: " + CommandResultText(result));
    return result == 0 ? -1 : result;
}

}  // namespace zevik
