#include "audio/alsa_mixer_card.h"

#include <alsa/asoundlib.h>
#include <fmt/format.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/trace.h"

namespace zevik {

struct CAlsaMixerCard::Mixer {
    snd_mixer_t* handle = nullptr;
    ~Mixer() {
        if (handle != nullptr) snd_mixer_close(handle);
    }
};

namespace {

bool IsCapture(const MixerControlId& id) {
    return id.direction == MixerDirection::Capture;
}

// The channels the element has in the direction, in ALSA's order; channel index i of the layer is
// the i-th of them.
std::vector<snd_mixer_selem_channel_id_t> ChannelsOf(snd_mixer_elem_t* elem, bool capture) {
    std::vector<snd_mixer_selem_channel_id_t> channels;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
        const int has = capture ? snd_mixer_selem_has_capture_channel(elem, channel)
                                : snd_mixer_selem_has_playback_channel(elem, channel);
        if (has) channels.push_back(channel);
    }
    return channels;
}

bool HasVolume(snd_mixer_elem_t* elem, bool capture) {
    return capture ? snd_mixer_selem_has_capture_volume(elem) : snd_mixer_selem_has_playback_volume(elem);
}

bool HasSwitch(snd_mixer_elem_t* elem, bool capture) {
    return capture ? snd_mixer_selem_has_capture_switch(elem) : snd_mixer_selem_has_playback_switch(elem);
}

// The active simple element named id.name with index 0; null when absent.
snd_mixer_elem_t* Element(snd_mixer_t* mixer, const MixerControlId& id) {
    snd_mixer_handle_events(mixer);
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer); elem != nullptr;
         elem = snd_mixer_elem_next(elem)) {
        if (snd_mixer_selem_get_index(elem) == 0 && snd_mixer_selem_is_active(elem) &&
            id.name == snd_mixer_selem_get_name(elem)) {
            return elem;
        }
    }
    return nullptr;
}

snd_mixer_elem_t* VolumeElement(snd_mixer_t* mixer, const MixerControlId& id) {
    snd_mixer_elem_t* elem = Element(mixer, id);
    return elem != nullptr && HasVolume(elem, IsCapture(id)) ? elem : nullptr;
}

std::optional<snd_mixer_selem_channel_id_t> ChannelAt(snd_mixer_elem_t* elem, bool capture, int index) {
    const auto channels = ChannelsOf(elem, capture);
    if (index < 0 || static_cast<std::size_t>(index) >= channels.size()) return std::nullopt;
    return channels[static_cast<std::size_t>(index)];
}

// alsa-lib prints its own diagnostics to stderr; they go to the program's trace instead, so a
// missing card does not litter the command line's output.
void AlsaDiagnostic(const char* file, int line, const char* function, int err, const char* format, ...) {
    if (!TraceEnabled()) return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Trace(fmt::format("alsa-lib {}:{} ({}): {}{}", file, line, function, text,
                      err != 0 ? fmt::format(": {}", snd_strerror(err)) : std::string()));
}

}  // namespace

std::unique_ptr<CAlsaMixerCard> CAlsaMixerCard::Open(int card) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(AlsaDiagnostic); });
    if (card < 0) return nullptr;
    auto mixer = std::make_unique<Mixer>();
    const std::string device = fmt::format("hw:{}", card);
    int err = snd_mixer_open(&mixer->handle, 0);
    if (err >= 0) err = snd_mixer_attach(mixer->handle, device.c_str());
    if (err >= 0) err = snd_mixer_selem_register(mixer->handle, nullptr, nullptr);
    if (err >= 0) err = snd_mixer_load(mixer->handle);
    if (err < 0) {
        Trace(
            fmt::format("audio: the mixer of sound card {} cannot be opened: {}", device, snd_strerror(err)));
        return nullptr;
    }
    std::string name;
    char* cardName = nullptr;
    if (snd_card_get_name(card, &cardName) >= 0 && cardName != nullptr) {
        name = cardName;
        std::free(cardName);
    }
    return std::unique_ptr<CAlsaMixerCard>(new CAlsaMixerCard(std::move(mixer), std::move(name)));
}

CAlsaMixerCard::CAlsaMixerCard(std::unique_ptr<Mixer> mixer, std::string name)
    : mixer_(std::move(mixer)), name_(std::move(name)) {}

CAlsaMixerCard::~CAlsaMixerCard() = default;

std::vector<MixerControl> CAlsaMixerCard::Controls() const {
    std::vector<MixerControl> controls;
    snd_mixer_handle_events(mixer_->handle);
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer_->handle); elem != nullptr;
         elem = snd_mixer_elem_next(elem)) {
        if (snd_mixer_selem_get_index(elem) != 0 || !snd_mixer_selem_is_active(elem)) continue;
        for (bool capture : {false, true}) {
            MixerControl control;
            control.id = {snd_mixer_selem_get_name(elem),
                          capture ? MixerDirection::Capture : MixerDirection::Playback};
            control.hasVolume = HasVolume(elem, capture);
            control.hasSwitch = HasSwitch(elem, capture);
            control.channels = static_cast<int>(ChannelsOf(elem, capture).size());
            if (control.hasVolume || control.hasSwitch) controls.push_back(std::move(control));
        }
    }
    return controls;
}

std::optional<MixerRange> CAlsaMixerCard::RawRange(const MixerControlId& id) const {
    snd_mixer_elem_t* elem = VolumeElement(mixer_->handle, id);
    if (elem == nullptr) return std::nullopt;
    MixerRange range;
    const int err = IsCapture(id) ? snd_mixer_selem_get_capture_volume_range(elem, &range.min, &range.max)
                                  : snd_mixer_selem_get_playback_volume_range(elem, &range.min, &range.max);
    if (err < 0) return std::nullopt;
    return range;
}

std::optional<MixerRange> CAlsaMixerCard::DbRange(const MixerControlId& id) const {
    snd_mixer_elem_t* elem = VolumeElement(mixer_->handle, id);
    if (elem == nullptr) return std::nullopt;
    MixerRange range;
    const int err = IsCapture(id) ? snd_mixer_selem_get_capture_dB_range(elem, &range.min, &range.max)
                                  : snd_mixer_selem_get_playback_dB_range(elem, &range.min, &range.max);
    if (err < 0) return std::nullopt;
    return range;
}

std::optional<long> CAlsaMixerCard::DbOfRaw(const MixerControlId& id, long raw) const {
    snd_mixer_elem_t* elem = VolumeElement(mixer_->handle, id);
    if (elem == nullptr) return std::nullopt;
    long db = 0;
    const int err = IsCapture(id) ? snd_mixer_selem_ask_capture_vol_dB(elem, raw, &db)
                                  : snd_mixer_selem_ask_playback_vol_dB(elem, raw, &db);
    if (err < 0) return std::nullopt;
    return db;
}

std::optional<long> CAlsaMixerCard::Raw(const MixerControlId& id, int channel) const {
    snd_mixer_elem_t* elem = VolumeElement(mixer_->handle, id);
    if (elem == nullptr) return std::nullopt;
    const auto chn = ChannelAt(elem, IsCapture(id), channel);
    if (!chn) return std::nullopt;
    long value = 0;
    const int err = IsCapture(id) ? snd_mixer_selem_get_capture_volume(elem, *chn, &value)
                                  : snd_mixer_selem_get_playback_volume(elem, *chn, &value);
    if (err < 0) return std::nullopt;
    return value;
}

std::optional<bool> CAlsaMixerCard::Switch(const MixerControlId& id, int channel) const {
    snd_mixer_elem_t* elem = Element(mixer_->handle, id);
    if (elem == nullptr || !HasSwitch(elem, IsCapture(id))) return std::nullopt;
    const auto chn = ChannelAt(elem, IsCapture(id), channel);
    if (!chn) return std::nullopt;
    int value = 0;
    const int err = IsCapture(id) ? snd_mixer_selem_get_capture_switch(elem, *chn, &value)
                                  : snd_mixer_selem_get_playback_switch(elem, *chn, &value);
    if (err < 0) return std::nullopt;
    return value != 0;
}

bool CAlsaMixerCard::SetRaw(const MixerControlId& id, long raw) {
    snd_mixer_elem_t* elem = VolumeElement(mixer_->handle, id);
    if (elem == nullptr) return false;
    const int err = IsCapture(id) ? snd_mixer_selem_set_capture_volume_all(elem, raw)
                                  : snd_mixer_selem_set_playback_volume_all(elem, raw);
    if (err < 0) Trace(fmt::format("audio: the card refused {} = {}: {}", id.name, raw, snd_strerror(err)));
    return err >= 0;
}

bool CAlsaMixerCard::SetSwitch(const MixerControlId& id, bool on) {
    snd_mixer_elem_t* elem = Element(mixer_->handle, id);
    if (elem == nullptr || !HasSwitch(elem, IsCapture(id))) return false;
    const int err = IsCapture(id) ? snd_mixer_selem_set_capture_switch_all(elem, on ? 1 : 0)
                                  : snd_mixer_selem_set_playback_switch_all(elem, on ? 1 : 0);
    if (err < 0)
        Trace(fmt::format("audio: the card refused switch {} = {}: {}", id.name, on, snd_strerror(err)));
    return err >= 0;
}

}  // namespace zevik
