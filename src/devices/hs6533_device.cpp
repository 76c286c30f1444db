#include "devices/hs6533_device.h"

#include "devices/device_messages.h"
#include "devices/headset_sound_card.h"
#include "platform/trace.h"
#include "settings/profile_files_loader.h"
#include "settings/profile_locations.h"
#include "transport/command_set.h"

namespace zevik {

COrbantixHS6533Device::COrbantixHS6533Device(const DeviceContext& context)
    : COrbantixHS6533Device(context, nullptr) {}

COrbantixHS6533Device::COrbantixHS6533Device(const DeviceContext& context,
                                             std::unique_ptr<IAudioConfLibrary> library)
    : COrbantixUSBDevice(context),
      library_(library ? std::move(library)
                       : std::make_unique<CAudioConfLibrary>(HeadsetSoundCardOpener(
                             [this] { return GetIdentity().devicePath; }, context.emulation))),
      audio_(*library_, profile_),
      blockPort_(CommandChannel()) {
    cardLibrary_ = dynamic_cast<CAudioConfLibrary*>(library_.get());
    SetKind(kDeviceKindHeadset);
    SetProfileDeviceIndex(kProfileCatalogueIndex);
    ledOutput_ = std::make_unique<CHeadsetLedOutput>(CommandChannel());
}

COrbantixHS6533Device::~COrbantixHS6533Device() {
    StopWorkers();
    StopLedOutput();
}

std::string_view COrbantixHS6533Device::GetClass() const {
    return kClassName;
}

void* COrbantixHS6533Device::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    return COrbantixUSBDevice::GetInterface(name);
}

std::string COrbantixHS6533Device::SoundCardName() const {
    return cardLibrary_ != nullptr ? cardLibrary_->CardName() : std::string();
}

void COrbantixHS6533Device::StopLedOutput() {
    if (ledOutput_) ledOutput_->Stop();
}

int COrbantixHS6533Device::Connect() {
    if (!CommandChannel().IsOpen()) return 0;
    blockPort_.Forget();  // the mirror described the last connection
    ApplyProfile();
    audio_.Connect();
    RefreshPage();
    ledOutput_->Forget();  // the headset shows nothing of the last connection
    ledOutput_->Start();
    StartLightingThread();
    connected_ = true;
    return 1;
}

int COrbantixHS6533Device::PollStatus() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen()) return kResultNoAnswer;
    std::vector<std::uint8_t> status(kStatusLength, 0);
    const int result = ReadStatus(channel, status, static_cast<std::uint8_t>(kStatusLength), 0);
    if (result != kResultDone) return result;
    status[kStatusConnection] = channel.ReceiverMode() ? 1 : 0;
    lastStatus_ = status;
    ShowStatus(status);
    SendToMainWindow(UM_DEVICE_STATUS, status[kStatusReport], 0);
    return kResultDone;
}

// ---------------------------------------------------------------- profile

void COrbantixHS6533Device::EnsureProfileLoaded() {
    if (!profileLoaded_) LoadProfileFiles();
}

int COrbantixHS6533Device::LoadProfileFiles() {
    const bool selected =
        LoadProfileFilesOfKind(profile_, ProfileLocationsOf(Context()), ProfileKind::Headset, GetLightConfigName());
    profileLoaded_ = true;
    return selected ? 1 : 0;
}

int COrbantixHS6533Device::ApplyProfile() {
    LoadProfileFiles();
    ApplyLightSettings();
    audio_.TakeProfile();
    return 1;
}

std::string COrbantixHS6533Device::GetProfileName() {
    return profile_.ProfileName();
}

int COrbantixHS6533Device::SaveDeviceProfile() {
    return profile_.SaveChosenProfile("headset");
}

int COrbantixHS6533Device::SwitchProfile() {
    // The store already names the selected profile; loading follows it.
    profileLoaded_ = false;
    ApplyProfile();
    audio_.ReadAudioState();  // the card keeps its levels: the page shows what it holds
    RefreshPage();
    if (!CommandChannel().IsOpen()) return 0;
    const int result = WriteSettingsBlock(0, 0);
    if (result == kResultDone) return 0;
    Trace("headset: the profile's lighting was not sent: " + CommandResultText(result));
    return result == 0 ? -1 : result;
}

int COrbantixHS6533Device::RestoreDefaults() {
    EnsureProfileLoaded();
    const Json::Value factory = profile_.DefaultDocument();
    if (factory.isNull() || profile_.GetProfilePath().empty()) return 0;
    const JsonWriteResult written = profile_.WriteDeviceEntry(factory, profile_.GetProfilePath());
    if (!written) {
        Trace("headset: defaults not restored: " + written.message);
        return 0;
    }
    profileLoaded_ = false;
    ApplyProfile();
    SaveDeviceProfile();
    audio_.ReadAudioState();  // the card keeps its levels: the page shows what it holds
    RefreshPage();
    return 1;
}


}  // namespace zevik
