#include "audio/audio_conf_library.h"

#include <cmath>

#include "audio/mapped_volume.h"
#include "audio/number_text.h"

namespace zevik {

namespace {
constexpr std::int32_t kPlaybackId = 1;
constexpr std::int32_t kCaptureId = 2;

// The channel a read takes: the selector's first word, -1 (or no selector) meaning the first.
std::optional<int> ReadChannel(std::span<const std::int32_t> selector) {
    if (selector.empty() || selector[0] == -1) return 0;
    if (selector[0] < 0) return std::nullopt;
    return selector[0];
}

double AsNumber(const PropertyValue& value) {
    return std::visit([](auto v) { return static_cast<double>(v); }, value.binary);
}

// "AAVolumeControl" and "GetAAMaxVol" name the sidetone's property; the rest the microphone's.
struct PropertyTarget {
    bool sidetone = false;
    std::string name;
};

PropertyTarget Target(std::string_view property) {
    constexpr std::string_view kGetAA = "GetAA";
    constexpr std::string_view kAA = "AA";
    if (property.substr(0, kGetAA.size()) == kGetAA)
        return {true, "Get" + std::string(property.substr(kGetAA.size()))};
    if (property.substr(0, kAA.size()) == kAA) return {true, std::string(property.substr(kAA.size()))};
    return {false, std::string(property)};
}
}  // namespace

CAudioConfLibrary::CAudioConfLibrary(CardOpener openCard) : openCard_(std::move(openCard)) {}

int CAudioConfLibrary::ConfLibInit() {
    initialised_ = true;
    return kOk;
}

int CAudioConfLibrary::CreateDeviceList() {
    card_.reset();
    controls_ = {};
    playback_.reset();
    capture_.reset();
    if (!initialised_ || !openCard_) return kFailed;
    card_ = openCard_();
    if (!card_) return kFailed;
    controls_ = HeadsetMixerControls::Find(*card_);
    playback_ = AudioDeviceInfo{kPlaybackId, AudioDeviceInfo::kHeadphones, 0, AudioDeviceInfo::kUsable};
    if (controls_.microphone) {
        capture_ = AudioDeviceInfo{kCaptureId, AudioDeviceInfo::kMicrophone, 0, AudioDeviceInfo::kUsable};
    }
    return kOk;
}

int CAudioConfLibrary::GetDeviceCount(AudioDataFlow flow, std::int32_t* count) const {
    if (count == nullptr) return kFailed;
    const auto& device = flow == AudioDataFlow::Playback ? playback_ : capture_;
    *count = device ? 1 : 0;
    return kOk;
}

int CAudioConfLibrary::GetDeviceById(AudioDataFlow flow, std::int32_t index, AudioDeviceInfo* info) const {
    const auto& device = flow == AudioDataFlow::Playback ? playback_ : capture_;
    if (info == nullptr || !device || index != 0) return kFailed;
    *info = *device;
    return kOk;
}

std::string CAudioConfLibrary::CardName() const {
    return card_ ? card_->Name() : std::string();
}

int CAudioConfLibrary::PropertyControl(const AudioDeviceInfo& device, std::string_view property,
                                       PropertyValue& value, std::span<const std::int32_t> selector,
                                       PropertyAccess access) {
    if (access == PropertyAccess::Read) value.text.clear();
    if (!card_) return kFailed;
    if (capture_ && device == *capture_) return CaptureProperty(property, value, selector, access);
    if (playback_ && device == *playback_) return kNotAvailable;
    return kFailed;
}

int CAudioConfLibrary::CaptureProperty(std::string_view property, PropertyValue& value,
                                       std::span<const std::int32_t> selector, PropertyAccess access) {
    const PropertyTarget target = Target(property);
    const std::optional<MixerControl>& found = target.sidetone ? controls_.sidetone : controls_.microphone;
    const bool known = target.name == "GetMaxVol" || target.name == "GetMinVol" ||
                       target.name == "GetVolStep" || target.name == "VolumeControl" ||
                       target.name == "VolumeScalarControl" || target.name == "MuteControl";
    if (!known || !found) return kNotAvailable;
    const MixerControlId& control = found->id;
    std::optional<int> channel = ReadChannel(selector);
    if (access == PropertyAccess::Read && !channel) return kFailed;
    // A mono control is every channel at once, as alsamixer shows it.
    if (channel && found->channels == 1) channel = 0;

    if (target.name == "VolumeControl") return LevelProperty(control, channel.value_or(0), value, access);
    if (target.name == "VolumeScalarControl")
        return ScalarProperty(control, channel.value_or(0), value, access);
    if (target.name == "MuteControl") return MuteProperty(control, channel.value_or(0), value, access);
    if (access == PropertyAccess::Write) return kNotAvailable;
    return RangeProperty(control, target.name, value);
}

int CAudioConfLibrary::RangeProperty(const MixerControlId& control, std::string_view which,
                                     PropertyValue& value) const {
    const std::optional<MixerRange> db = card_->DbRange(control);
    const std::optional<MixerRange> raw = card_->RawRange(control);
    if (!db || !raw) return kNotAvailable;
    double result = 0.0;
    if (which == "GetMaxVol") {
        result = static_cast<double>(db->max) / 100.0;
    } else if (which == "GetMinVol") {
        result = static_cast<double>(db->min) / 100.0;
    } else if (raw->max > raw->min) {
        result = static_cast<double>(db->max - db->min) / 100.0 / static_cast<double>(raw->max - raw->min);
    }
    value.text = number_text::Fixed2(result);
    return kOk;
}

int CAudioConfLibrary::LevelProperty(const MixerControlId& control, int channel, PropertyValue& value,
                                     PropertyAccess access) {
    if (access == PropertyAccess::Write) {
        const double db = AsNumber(value);
        if (!std::isfinite(db)) return kFailed;
        const std::optional<long> step =
            mapped_volume::NearestStepOfDb(*card_, control, std::lround(db * 100.0));
        if (!step) return kNotAvailable;
        return card_->SetRaw(control, *step) ? kOk : kCardRefused;
    }
    const std::optional<long> raw = card_->Raw(control, channel);
    if (!raw) return kCardRefused;
    const std::optional<long> db = card_->DbOfRaw(control, *raw);
    if (!db) return kNotAvailable;
    value.text = number_text::Fixed2(static_cast<double>(*db) / 100.0);
    return kOk;
}

int CAudioConfLibrary::ScalarProperty(const MixerControlId& control, int channel, PropertyValue& value,
                                      PropertyAccess access) {
    if (access == PropertyAccess::Write) {
        const double position = AsNumber(value);
        if (!std::isfinite(position)) return kFailed;
        const std::optional<long> step = mapped_volume::NearestStep(*card_, control, position);
        if (!step) return kNotAvailable;
        return card_->SetRaw(control, *step) ? kOk : kCardRefused;
    }
    const std::optional<double> position = mapped_volume::Position(*card_, control, channel);
    if (!position) return kCardRefused;
    value.text = number_text::Fraction(*position);
    return kOk;
}

int CAudioConfLibrary::MuteProperty(const MixerControlId& control, int channel, PropertyValue& value,
                                    PropertyAccess access) {
    if (access == PropertyAccess::Write) {
        const bool muted = AsNumber(value) != 0.0;
        return card_->SetSwitch(control, !muted) ? kOk : kCardRefused;
    }
    const std::optional<bool> on = card_->Switch(control, channel);
    if (!on) return kCardRefused;
    value.text = *on ? "0" : "1";
    return kOk;
}

}  // namespace zevik
