// COrbantixMousePadDevice: connect, the settings block, the status, the profile and the lighting.

#include "devices/mousepad_device.h"

#include <algorithm>

#include "devices/device_messages.h"
#include "devices/device_option_ui.h"
#include "devices/light_control.h"
#include "platform/trace.h"
#include "settings/light_names_file.h"
#include "settings/profile_files_loader.h"
#include "settings/profile_locations.h"
#include "transport/command_set.h"

namespace zevik {

namespace {

// The first failure of a sequence of command results; 1 when every one was done.
class FirstFailure {
public:
    void Take(int result) {
        if (result_ == kResultDone && result != kResultDone) result_ = result;
    }
    int Result() const { return result_; }

private:
    int result_ = kResultDone;
};

}  // namespace

COrbantixMousePadDevice::COrbantixMousePadDevice(const DeviceContext& context)
    : COrbantixUSBDevice(context), port_(CommandChannel()) {
    SetKind(kDeviceKindMousepad);
    SetProfileDeviceIndex(kProfileCatalogueIndex);
}

COrbantixMousePadDevice::~COrbantixMousePadDevice() {
    StopWorkers();
}

std::string_view COrbantixMousePadDevice::GetClass() const {
    return kClassName;
}

void* COrbantixMousePadDevice::GetInterface(std::string_view name) {
    if (name == kClassName) return this;
    return COrbantixUSBDevice::GetInterface(name);
}

std::filesystem::path COrbantixMousePadDevice::KindFolder() const {
    return ProfileLocationsOf(Context()).KindFolder(ProfileKind::MousePad);
}

// ---------------------------------------------------------------- connect and status

int COrbantixMousePadDevice::Connect() {
    CCommandChannel& channel = CommandChannel();
    port_.Forget();  // a new connection: the mirror described the pad as it was
    connected_ = false;
    int result = kResultNoAnswer;
    if (channel.IsOpen()) {
        FirstFailure outcome;
        outcome.Take(BeginConfig(channel));
        std::array<std::uint8_t, kDeviceInfoSize> info{};
        const int infoResult = ReadDeviceInfo(channel, info);
        if (infoResult == kResultDone) MutableDeviceInfo() = info;
        outcome.Take(infoResult);
        outcome.Take(EndConfig(channel));  // the frame is closed whatever happened inside it
        result = outcome.Result();
    }
    ApplyProfile();
    RefreshPage();
    StartLightingThread();
    PollStatus();
    connected_ = channel.IsOpen();
    return result;
}

int COrbantixMousePadDevice::ReadPadStatus() {
    CCommandChannel& channel = CommandChannel();
    if (!channel.IsOpen()) return kResultNoAnswer;
    std::vector<std::uint8_t> status(kStatusLength, 0);
    const int result = zevik::ReadStatus(channel, status, static_cast<std::uint8_t>(kStatusLength), 0);
    if (result != kResultDone) return result;
    status[3] = 0;  // by cable, always
    lastStatus_ = status;
    phone_ = status[kStatusPhone];
    ShowStatus(status);
    return kResultDone;
}

int COrbantixMousePadDevice::PollStatus() {
    if (!CommandChannel().IsOpen()) return kResultNoAnswer;
    // While nobody can see the power panel (tray, minimised, covered) the poll waits for it.
    const int result = IsPollingHold() || IsWindowUnseen() ? kResultNoAnswer : ReadPadStatus();
    // The option polls again by itself only for devices with a battery part.
    if (GetBatteryPanel() == 0) StartOptionTimer(CDeviceOptionUI::kTimerPollStatus, CDeviceOptionUI::kPollStatusMs);
    return result;
}

// ---------------------------------------------------------------- settings block

int COrbantixMousePadDevice::ReadSettingsBlock() {
    CommandChannel().SetStreamPaused(false);
    if (modes_.codes.empty()) LoadLightLists();
    int slot = 0;
    const int result = port_.Read(modes_.codes, slot);
    if (result == kResultDone) activeSlot_ = slot;
    return result;
}

int COrbantixMousePadDevice::Resync() {
    const int result = ReadSettingsBlock();
    if (result == kResultDone) SendToMainWindow(UM_DEVICE_SLOT_CHANGED, static_cast<WPARAM>(activeSlot_.load()), 0);
    return result;
}

int COrbantixMousePadDevice::WriteSettingsBlock(int blockSlot, int /*profileSlotValue*/) {
    // The pad's slot byte is the one it reported, not the caller's value.
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    const int result = port_.Write(blockSlot, GetLighting(), modes_.codes);
    if (result == kResultDone) activeSlot_ = port_.Mirror()[StripSettingsBlock::kSlot];
    return result;
}

// ---------------------------------------------------------------- lighting

int COrbantixMousePadDevice::CurrentModeCode() const {
    const LightInfoRecord light = GetLighting();
    if (light.selectItem < modes_.codes.size()) return modes_.codes[light.selectItem];
    return light.selectItem;
}

void COrbantixMousePadDevice::FeedEngine() {
    engine_.SetLighting(CurrentModeCode(), GetLighting());
}

void COrbantixMousePadDevice::ApplyLightSettings() {
    EnsureProfileLoaded();
    if (modes_.codes.empty()) LoadLightLists();
    const LightInfoRecord light = profile_.GetLightInfo();
    COrbantixUSBDevice::SetLighting(light);
    port_.TakeLighting(light);
    engine_.LoadEffects(profile_.GetCustomLightEffects(), profile_.GetLightList(), NowMs());
    FeedEngine();
}

void COrbantixMousePadDevice::SetLighting(const LightInfoRecord& record) {
    COrbantixUSBDevice::SetLighting(record);
    profile_.SetLightInfo(record);
    FeedEngine();
}

int COrbantixMousePadDevice::LightStepPeriod() const {
    return engine_.PeriodTicks();
}

void COrbantixMousePadDevice::RunLightStep() {
    engine_.Step(NowMs());
    // The page's buttons show the base frame; an unchanged entry is no change.
    CLightFrame& shown = Frame();
    for (int i = 0; i < shown.Size(); ++i) shown.Set(i, engine_.Frame().Get(i));
}

void COrbantixMousePadDevice::SendLightFrame() {
    if (IsLightingUnseen()) return;  // nothing to show it on
    COrbantixUSBDevice::SendLightFrame();
}

int COrbantixMousePadDevice::LoadLightLists() {
    const CProfileLocations locations = ProfileLocationsOf(Context());
    LightNames names =
        ReadLightNames(locations.DefaultLightFile(), profile_.GetLightConfigPath(), GetProfileDeviceIndex());
    modes_ = SplitLightModes(std::move(names.modes));
    if (lightControl_ != nullptr)
        lightControl_->FillModeList(modes_.names, modes_.visible, kLightLevelMax, kLightLevelMax);
    return modes_.codes.empty() ? 0 : 1;
}

// ---------------------------------------------------------------- page

void COrbantixMousePadDevice::BindPageEx() {
    CControlUI* light = FindControl([](CControlUI& c) { return c.GetName() == "LightControlItem"; },
                                    UIFIND_ALL | UIFIND_ME_FIRST);
    lightControl_ = light != nullptr
                        ? static_cast<ILightControl*>(light->GetInterface(ILightControl::kInterfaceName))
                        : nullptr;
    if (lightControl_ != nullptr) lightControl_->SetPageKind(PageKind(ProfileKind::MousePad));
    // One frame entry per LED button of the page.
    if (Frame().Size() > 0) engine_.Resize(Frame().Size());
}

int COrbantixMousePadDevice::RefreshPage() {
    EnsureProfileLoaded();
    LoadLightLists();
    FeedEngine();  // the list may have changed the code of the mode in force
    if (lightControl_ != nullptr) {
        const CProfileLocations locations = ProfileLocationsOf(Context());
        lightControl_->LoadColourOptions(locations.ColourChoicesFile(), locations.DefaultColourChoicesFile());
        lightControl_->ShowLightInfo(profile_.GetLightInfo());
    }
    return 1;
}

// ---------------------------------------------------------------- profile

void COrbantixMousePadDevice::EnsureProfileLoaded() {
    if (!profileLoaded_) LoadProfileFiles();
}

int COrbantixMousePadDevice::LoadProfileFiles() {
    const bool selected =
        LoadProfileFilesOfKind(profile_, ProfileLocationsOf(Context()), ProfileKind::MousePad, GetLightConfigName());
    profileLoaded_ = true;
    return selected ? 1 : 0;
}

int COrbantixMousePadDevice::ApplyProfile() {
    LoadProfileFiles();
    ApplyLightSettings();
    return 1;
}

std::string COrbantixMousePadDevice::GetProfileName() {
    return profile_.ProfileName();
}

int COrbantixMousePadDevice::SaveDeviceProfile() {
    return profile_.SaveChosenProfile("mousepad");
}

int COrbantixMousePadDevice::SwitchProfile() {
    // The store already names the selected profile; loading follows it.
    profileLoaded_ = false;
    ApplyProfile();
    RefreshPage();
    if (!CommandChannel().IsOpen()) return 0;
    const int result = WriteSettingsBlock(0, 0);
    if (result == kResultDone) return 0;
    Trace("mousepad: the profile was not sent: " + CommandResultText(result));
    return result == 0 ? -1 : result;
}

int COrbantixMousePadDevice::RestoreDefaults() {
    EnsureProfileLoaded();
    const Json::Value factory = profile_.DefaultDocument();
    if (factory.isNull() || profile_.GetProfilePath().empty()) return 0;
    const JsonWriteResult written = profile_.WriteDeviceEntry(factory, profile_.GetProfilePath());
    if (!written) {
        Trace("mousepad: defaults not restored: " + written.message);
        return 0;
    }
    profileLoaded_ = false;
    ApplyProfile();
    SaveDeviceProfile();
    RefreshPage();
    return 1;
}

}  // namespace zevik
