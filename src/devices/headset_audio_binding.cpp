#include "devices/headset_audio_binding.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "audio/number_text.h"
#include "devices/equaliser_presets.h"
#include "platform/trace.h"

namespace zevik {

namespace {
using Flow = AudioDataFlow;

constexpr std::int32_t kFirstChannel[] = {-1};
constexpr std::int32_t kChannel0[] = {0};
constexpr std::int32_t kChannel1[] = {1};
// The surround property's selector: three words.
constexpr std::int32_t kSurroundSelector[] = {4, -1, 0};

std::string BandProperty(int band) {
    return "EQ_Slider" + std::to_string(band + 1);
}

// A level read back as a position 0-1, in percent; rounded, so 0.29 stays 29.
int Percent(double position) {
    return static_cast<int>(std::clamp(std::lround(position * 100.0), 0L, 100L));
}

// Names compare without regard to case (ASCII letters; other characters as they are).
bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Text(const std::optional<double>& value) {
    return value ? number_text::Fixed2(*value) : std::string();
}
}  // namespace

CHeadsetAudioBinding::CHeadsetAudioBinding(IAudioConfLibrary& library, CHs6533Profiledata& profile)
    : endpoints_(library), profile_(profile) {}

void CHeadsetAudioBinding::SetPages(ISoundPage* sound, IVoiceChangerPage* voiceChanger) {
    sound_ = sound;
    voiceChanger_ = voiceChanger;
}

void CHeadsetAudioBinding::Start() {
    started_ = true;
    endpoints_.Initialise();
    if (!endpoints_.ChooseDevices()) return;
    ApplyDefaults();
    ReadAudioState();
}

void CHeadsetAudioBinding::Connect() {
    if (!started_) {
        Start();
        return;
    }
    endpoints_.ChooseDevices();
    ReadAudioState();
}

// Each property is read; only a failed read writes its default. What could be read tells which
// effects the driver offers.
void CHeadsetAudioBinding::ApplyDefaults() {
    struct Default {
        Flow device;
        const char* property;
        std::span<const std::int32_t> readSelector;
        std::span<const std::int32_t> writeSelector;
        bool* available;
    };
    bool ignored = false;
    const Default defaults[] = {
        {Flow::Playback, "VirtualSurroundEffectControl", kSurroundSelector, {}, &effects_.surround},
        {Flow::Capture, "Enable_ENC_LFX", kChannel0, {}, &effects_.noiseCancelling},
        {Flow::Capture, "VolumeControl", kFirstChannel, kFirstChannel, &ignored},
        {Flow::Playback, "Enable_EQ_GFX", {}, {}, &effects_.equaliser},
        {Flow::Playback, "EQ_Slider1", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider2", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider3", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider4", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider5", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider6", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider7", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider8", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider9", {}, {}, &ignored},
        {Flow::Playback, "EQ_Slider10", {}, {}, &ignored},
        {Flow::Playback, "Enable_RFX_GFX", {}, {}, &effects_.reverb},
        {Flow::Playback, "RFX_ENVIRONMENT", {}, {}, &ignored},
        {Flow::Playback, "RFX_ROOMSIZE", {}, {}, &ignored},
        {Flow::Capture, "MuteControl", {}, {}, &ignored},
        {Flow::Capture, "VolumeScalarControl", kFirstChannel, kFirstChannel, &ignored},
        {Flow::Capture, "AAVolumeControl", kChannel0, kChannel0, &ignored},
        {Flow::Capture, "AAVolumeScalarControl", kChannel0, kChannel0, &ignored},
        {Flow::Capture, "AAMuteControl", {}, {}, &ignored},
        {Flow::Capture, "Enable_MAGICVOICE", {}, {}, &effects_.voiceChanger},
        {Flow::Capture, "MagicVoice_Selection", {}, {}, &ignored},
    };
    for (const Default& d : defaults) {
        const bool read = endpoints_.Read(d.device, d.property, d.readSelector).has_value();
        *d.available = read;
        if (!read) endpoints_.Write(d.device, d.property, std::int32_t{0}, d.writeSelector);
    }
}

void CHeadsetAudioBinding::ReadVolume(const char* prefix, VolumeReadings& readings, std::int32_t channel) {
    const std::string p = prefix;
    const std::int32_t selector[] = {channel};
    readings.maxDb = Text(endpoints_.ReadNumber(Flow::Capture, "Get" + p + "MaxVol"));
    readings.minDb = Text(endpoints_.ReadNumber(Flow::Capture, "Get" + p + "MinVol"));
    readings.stepDb = Text(endpoints_.ReadNumber(Flow::Capture, "Get" + p + "VolStep"));
    readings.levelDb = Text(endpoints_.ReadNumber(Flow::Capture, p + "VolumeControl", selector));
}

void CHeadsetAudioBinding::ReadAudioState() {
    microphone_ = {};
    monitor_ = {};
    ReadVolume("", microphone_, -1);
    if (const auto muted = endpoints_.ReadInteger(Flow::Capture, "MuteControl"))
        record_.micInSelect = *muted == 0;
    if (const auto position = endpoints_.ReadNumber(Flow::Capture, "VolumeScalarControl", kFirstChannel)) {
        record_.micInValue = Percent(*position);
    }

    if (endpoints_.ReadNumber(Flow::Capture, "GetAAMaxVol")) {
        ReadVolume("AA", monitor_, 0);
        if (const auto muted = endpoints_.ReadInteger(Flow::Capture, "AAMuteControl")) {
            record_.micMoniterSelect = *muted == 0;
        }
        if (const auto position = endpoints_.ReadNumber(Flow::Capture, "AAVolumeScalarControl", kChannel0)) {
            record_.micMoniterValue = Percent(*position);
        }
    }

    if (const auto on = endpoints_.ReadInteger(Flow::Capture, "Enable_MAGICVOICE")) {
        if (endpoints_.VoiceChangerAvailable()) record_.magicEnable = static_cast<std::int32_t>(*on);
    }
    if (const auto type = endpoints_.ReadInteger(Flow::Capture, "MagicVoice_Selection")) {
        if (*type >= 0 && *type < IVoiceChangerPage::kTypeCount)
            record_.magicType = static_cast<std::int32_t>(*type + 1);
    }
}

bool CHeadsetAudioBinding::IsCustomIndex(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < names_.size();
}

void CHeadsetAudioBinding::TakeProfile() {
    record_ = profile_.GetHeadsetSystem();
    if (record_.eqType < 0) record_.eqType = 0;
    names_ = profile_.GetCustomEqNames();
    selectedCustom_ = IsCustomIndex(record_.customEqSeletIndex) ? record_.customEqSeletIndex : -1;
    if (record_.eqType != kCustomPreset) {
        bands_ = profile_.GetEqValues(record_.eqType);
    } else if (selectedCustom_ >= 0) {
        bands_ = profile_.GetCustomEqValues(selectedCustom_);
    } else {
        bands_.clear();
    }
}

void CHeadsetAudioBinding::ShowBands() const {
    if (sound_ == nullptr) return;
    for (std::size_t i = 0; i < bands_.size() && i < ISoundPage::kBandCount; ++i) {
        sound_->SetBand(static_cast<int>(i), bands_[i]);
    }
}

void CHeadsetAudioBinding::ShowOnPages() const {
    if (voiceChanger_ != nullptr) {
        voiceChanger_->ShowVoiceChanger(record_.magicEnable != 0);
        voiceChanger_->SelectVoiceType(record_.magicType);
    }
    if (sound_ == nullptr) return;
    sound_->ShowMicrophone(record_.micInSelect != 0, record_.micInValue);
    sound_->ShowMonitor(record_.micMoniterSelect != 0, record_.micMoniterValue);
    sound_->SelectPreset(record_.eqType);
    sound_->SetCustomNames(names_);
    sound_->SelectCustom(selectedCustom_);
    sound_->EnableCustomArea(record_.eqType == kCustomPreset);
    ShowBands();
}

bool CHeadsetAudioBinding::Store() {
    profile_.SetHeadsetSystem(record_);
    const JsonWriteResult saved = profile_.SaveProfile();
    if (!saved) Trace("headset: the profile was not saved: " + saved.message);
    return saved.ok;
}

bool CHeadsetAudioBinding::SetMicrophoneLevel(int level) {
    if (level < 0 || level > 100) return false;
    if (!endpoints_.Write(Flow::Capture, "VolumeScalarControl", static_cast<float>(level) / 100.0f,
                          kFirstChannel)) {
        return false;
    }
    microphone_.levelDb = Text(endpoints_.ReadNumber(Flow::Capture, "VolumeControl", kFirstChannel));
    record_.micInValue = level;
    Store();
    return true;
}

bool CHeadsetAudioBinding::SetMicrophoneOn(bool on) {
    const bool taken = endpoints_.Write(Flow::Capture, "MuteControl", std::int32_t{on ? 0 : 1});
    if (taken) {
        record_.micInSelect = on ? 1 : 0;
        Store();
    }
    // The option shows what the device has, not what was asked.
    if (sound_ != nullptr) sound_->ShowMicrophone(record_.micInSelect != 0, record_.micInValue);
    return taken;
}

bool CHeadsetAudioBinding::SetMonitorLevel(int level) {
    if (level < 0 || level > 100) return false;
    if (!endpoints_.Write(Flow::Capture, "AAVolumeScalarControl", static_cast<float>(level) / 100.0f,
                          kChannel0)) {
        return false;
    }
    monitor_.levelDb = Text(endpoints_.ReadNumber(Flow::Capture, "AAVolumeControl", kChannel1));
    record_.micMoniterValue = level;
    Store();
    return true;
}

bool CHeadsetAudioBinding::SetMonitorOn(bool on) {
    const bool taken = endpoints_.Write(Flow::Capture, "AAMuteControl", std::int32_t{on ? 0 : 1});
    if (taken) {
        record_.micMoniterSelect = on ? 1 : 0;
        Store();
    }
    if (sound_ != nullptr) sound_->ShowMonitor(record_.micMoniterSelect != 0, record_.micMoniterValue);
    return taken;
}

// Switches the equaliser on and writes every band; true when the library took all of it.
bool CHeadsetAudioBinding::WriteBands(const std::vector<int>& bands) {
    bool taken = endpoints_.Write(Flow::Playback, "Enable_EQ_GFX", std::int32_t{1});
    for (std::size_t i = 0; i < bands.size() && i < ISoundPage::kBandCount; ++i) {
        taken = endpoints_.Write(Flow::Playback, BandProperty(static_cast<int>(i)), std::int32_t{bands[i]}) &&
                taken;
    }
    return taken;
}

bool CHeadsetAudioBinding::ChoosePreset(int preset) {
    if (preset == 0) return true;
    if (preset == kCustomPreset) {
        record_.eqType = kCustomPreset;
        if (sound_ != nullptr) {
            sound_->SelectPreset(kCustomPreset);
            sound_->EnableCustomArea(true);
        }
        const bool taken = selectedCustom_ < 0 || SelectCustomEqualiser(selectedCustom_);
        Store();
        return taken;
    }
    const std::optional<EqualiserBands> table = EqualiserPreset(preset);
    if (!table) return false;
    bands_.assign(table->begin(), table->end());
    ShowBands();
    const bool taken = WriteBands(bands_);
    record_.eqType = preset;
    if (sound_ != nullptr) {
        sound_->SelectPreset(preset);
        sound_->EnableCustomArea(false);
    }
    Store();
    return taken;
}

bool CHeadsetAudioBinding::MoveBand(int band, int value) {
    if (band < 0 || band >= ISoundPage::kBandCount) return false;
    if (record_.eqType != kCustomPreset) {
        record_.eqType = kCustomPreset;
        selectedCustom_ = -1;
        if (sound_ != nullptr) {
            sound_->SelectPreset(kCustomPreset);
            sound_->SelectCustom(-1);
            sound_->EnableCustomArea(true);
        }
    }
    bands_.resize(ISoundPage::kBandCount, 0);
    bands_[static_cast<std::size_t>(band)] = value;
    if (sound_ != nullptr) sound_->SetBand(band, value);
    return endpoints_.Write(Flow::Playback, BandProperty(band), std::int32_t{value});
}

bool CHeadsetAudioBinding::SelectCustomEqualiser(int index) {
    if (index == -1) return true;
    if (!IsCustomIndex(index)) return false;
    bands_ = profile_.GetCustomEqValues(index);
    ShowBands();
    const bool taken = WriteBands(bands_);
    selectedCustom_ = index;
    record_.customEqSeletIndex = index;
    if (sound_ != nullptr) sound_->SelectCustom(index);
    Store();
    return taken;
}

int CHeadsetAudioBinding::SaveCustomEqualiser(const std::string& name) {
    std::vector<int> bands = bands_;
    bands.resize(ISoundPage::kBandCount, 0);
    if (name.empty()) {
        if (!IsCustomIndex(selectedCustom_)) return kNotSaved;
        profile_.SetCustomEqValues(selectedCustom_, bands);
        record_.customEqSeletIndex = selectedCustom_;
        Store();
        return kSaved;
    }
    if (names_.size() >= static_cast<std::size_t>(kMaxCustomEqualisers)) return kNotSaved;
    for (const std::string& existing : names_) {
        if (SameName(existing, name)) return kNameTaken;
    }
    names_.push_back(name);
    const int index = static_cast<int>(names_.size()) - 1;
    profile_.SetCustomEqValues(index, bands);
    profile_.SetCustomEqNames(names_);
    selectedCustom_ = index;
    record_.customEqSeletIndex = index;
    if (sound_ != nullptr) {
        sound_->SetCustomNames(names_);
        sound_->SelectCustom(index);
    }
    Store();
    return kSaved;
}

bool CHeadsetAudioBinding::DeleteCustomEqualiser() {
    if (!IsCustomIndex(selectedCustom_)) return false;
    const auto removed = static_cast<std::size_t>(selectedCustom_);
    // The bands move with their names, so every name keeps its own equaliser.
    for (std::size_t k = removed; k + 1 < names_.size(); ++k) {
        profile_.SetCustomEqValues(static_cast<int>(k), profile_.GetCustomEqValues(static_cast<int>(k + 1)));
    }
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(removed));
    profile_.SetCustomEqNames(names_);
    if (sound_ != nullptr) sound_->SetCustomNames(names_);

    if (names_.empty()) {
        selectedCustom_ = -1;
        record_.eqType = 1;
        bands_ = profile_.GetEqValues(1);
        if (sound_ != nullptr) {
            sound_->SelectCustom(-1);
            sound_->SelectPreset(1);
            sound_->EnableCustomArea(false);
        }
    } else {
        selectedCustom_ = 0;
        record_.customEqSeletIndex = 0;
        bands_ = profile_.GetCustomEqValues(0);
        if (sound_ != nullptr) sound_->SelectCustom(0);
    }
    ShowBands();
    Store();
    return true;
}

bool CHeadsetAudioBinding::SetVoiceChanger(bool on) {
    if (voiceChanger_ != nullptr) voiceChanger_->ShowVoiceChanger(on);
    bool taken = endpoints_.Write(Flow::Capture, "Enable_MAGICVOICE", std::int32_t{on ? 1 : 0});
    if (on) taken = endpoints_.Write(Flow::Capture, "Enable_MICECHO", std::int32_t{0}) && taken;
    record_.magicEnable = on ? 1 : 0;
    Store();
    return taken;
}

bool CHeadsetAudioBinding::SetVoiceType(int type) {
    if (type == 0) return true;
    if (type < 1 || type > IVoiceChangerPage::kTypeCount) return false;
    const bool taken = endpoints_.Write(Flow::Capture, "MagicVoice_Selection", std::int32_t{type - 1});
    record_.magicType = type;
    if (voiceChanger_ != nullptr) voiceChanger_->SelectVoiceType(type);
    Store();
    return taken;
}

}  // namespace zevik
