#include "devices/headset_audio_endpoints.h"

#include <vector>

#include "audio/number_text.h"
#include "platform/trace.h"

namespace zevik {

namespace {
std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}
}  // namespace

void CHeadsetAudioEndpoints::Initialise() {
    if (library_.ConfLibInit() != IAudioConfLibrary::kOk) Trace("ConfLibInit called failed!");
}

std::optional<AudioDeviceInfo> CHeadsetAudioEndpoints::FindDevice(AudioDataFlow flow,
                                                                  std::int32_t endpointType,
                                                                  bool usableOnly) {
    std::int32_t count = 0;
    if (library_.GetDeviceCount(flow, &count) != IAudioConfLibrary::kOk) return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        AudioDeviceInfo info;
        if (library_.GetDeviceById(flow, i, &info) != IAudioConfLibrary::kOk) continue;
        if (info.endpointType == endpointType && (!usableOnly || info.state == AudioDeviceInfo::kUsable))
            return info;
    }
    return std::nullopt;
}

bool CHeadsetAudioEndpoints::ChooseDevices() {
    playback_.reset();
    capture_.reset();
    library_.CreateDeviceList();
    std::int32_t count = 0;
    if (library_.GetDeviceCount(AudioDataFlow::Playback, &count) != IAudioConfLibrary::kOk || count == 0)
        return false;

    for (std::int32_t type : {1, 12, 7, 4}) {
        if (const auto info = FindDevice(AudioDataFlow::Playback, type, true)) {
            playback_ = Endpoint{*info, {}};
            break;
        }
    }
    if (const auto info = FindDevice(AudioDataFlow::Capture, AudioDeviceInfo::kMicrophone, false)) {
        capture_ = Endpoint{*info, {}};
    }
    if (playback_ && playback_->info.endpointType >= 1) ReadFeatures(AudioDataFlow::Playback, *playback_);
    if (capture_ && capture_->info.endpointType >= 1) ReadFeatures(AudioDataFlow::Capture, *capture_);
    return playback_.has_value();
}

// Items 0, 4 and 6 of the comma-separated list are the feature words; a shorter list keeps them.
void CHeadsetAudioEndpoints::ReadFeatures(AudioDataFlow flow, Endpoint& endpoint) {
    const std::optional<std::string> text = Read(flow, "GetSupportFeature");
    const std::vector<std::string> items = SplitAtCommas(text.value_or(std::string()));
    if (!text || items.size() < 7) {
        Trace("UpdateAPOAvailable failed!");
        return;
    }
    const std::size_t positions[3] = {0, 4, 6};
    for (std::size_t k = 0; k < 3; ++k) {
        endpoint.features[k] =
            static_cast<std::int32_t>(number_text::ParseInteger(items[positions[k]]).value_or(0));
    }
}

bool CHeadsetAudioEndpoints::VoiceChangerAvailable() const {
    return capture_ && (capture_->features[0] & kVoiceChangerFeature) != 0;
}

const CHeadsetAudioEndpoints::Endpoint* CHeadsetAudioEndpoints::Find(AudioDataFlow flow) const {
    const std::optional<Endpoint>& endpoint = flow == AudioDataFlow::Playback ? playback_ : capture_;
    return endpoint ? &*endpoint : nullptr;
}

std::optional<std::string> CHeadsetAudioEndpoints::Read(AudioDataFlow device, std::string_view property,
                                                        std::span<const std::int32_t> selector) {
    const Endpoint* endpoint = Find(device);
    if (endpoint == nullptr) return std::nullopt;
    PropertyValue value;
    if (library_.PropertyControl(endpoint->info, property, value, selector, PropertyAccess::Read) !=
        IAudioConfLibrary::kOk) {
        return std::nullopt;
    }
    return value.text;
}

std::optional<double> CHeadsetAudioEndpoints::ReadNumber(AudioDataFlow device, std::string_view property,
                                                         std::span<const std::int32_t> selector) {
    const std::optional<std::string> text = Read(device, property, selector);
    if (!text) return std::nullopt;
    return number_text::ParseNumber(*text);
}

std::optional<long> CHeadsetAudioEndpoints::ReadInteger(AudioDataFlow device, std::string_view property,
                                                        std::span<const std::int32_t> selector) {
    const std::optional<std::string> text = Read(device, property, selector);
    if (!text) return std::nullopt;
    return number_text::ParseInteger(*text);
}

bool CHeadsetAudioEndpoints::Write(AudioDataFlow device, std::string_view property,
                                   std::variant<std::int32_t, float> value,
                                   std::span<const std::int32_t> selector) {
    const Endpoint* endpoint = Find(device);
    if (endpoint == nullptr) return false;
    PropertyValue buffer;
    buffer.binary = value;
    return library_.PropertyControl(endpoint->info, property, buffer, selector, PropertyAccess::Write) ==
           IAudioConfLibrary::kOk;
}

}  // namespace zevik
