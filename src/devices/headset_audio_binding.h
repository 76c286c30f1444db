#pragma once
// CHeadsetAudioBinding: the headset's audio settings between its profile, its sound and
// voice-changer pages and the audio configuration library: the defaults set at start, the state read
// at every connect, and the operations of the pages' controls.
//
// The microphone and monitoring operations change the profile only when the library took the value;
// a failure leaves record, profile and page as they were. The equaliser and voice-changer operations
// change page and profile whatever the library answers (their result only says whether every write
// was taken). Every operation that stores saves the profile file.

#include <string>
#include <vector>

#include "devices/headset_audio_effects.h"
#include "devices/headset_audio_endpoints.h"
#include "devices/headset_audio_pages.h"
#include "settings/hs6533_profiledata.h"

namespace zevik {

// The dB values of one volume as the last state read found them, "%.2f"; empty when not read.
struct VolumeReadings {
    std::string maxDb;
    std::string minDb;
    std::string stepDb;
    std::string levelDb;
};

class CHeadsetAudioBinding {
public:
    static constexpr int kMaxCustomEqualisers = 20;
    static constexpr int kCustomPreset = CHs6533Profiledata::kCustomEqType;

    // Results of SaveCustomEqualiser.
    static constexpr int kSaved = 1;
    static constexpr int kNameTaken = 0;
    static constexpr int kNotSaved = -1;

    CHeadsetAudioBinding(IAudioConfLibrary& library, CHs6533Profiledata& profile);

    // The pages to keep in step; either may be null.
    void SetPages(ISoundPage* sound, IVoiceChangerPage* voiceChanger);

    // Starts the audio side once: initialises the library, chooses the devices, sets the defaults of
    // the properties the devices cannot report and reads the state.
    void Start();
    // At every connect: the devices are chosen again (the card is looked up again) and the state read.
    // Starts the audio side first when that has not happened.
    void Connect();
    // Reads microphone, monitoring and voice-changer state into the record; a failed read leaves its
    // field. Nothing is saved.
    void ReadAudioState();

    // The audio part of applying a profile: the record, the band list of the preset (or of the
    // selected custom equaliser) and the custom equaliser names.
    void TakeProfile();
    // Shows record, bands and names on the pages.
    void ShowOnPages() const;

    // ---- page operations ----
    // Level 0-100; false (nothing changed) for another level or when the library refuses it.
    bool SetMicrophoneLevel(int level);
    bool SetMicrophoneOn(bool on);
    bool ToggleMicrophone() { return SetMicrophoneOn(record_.micInSelect == 0); }
    bool SetMonitorLevel(int level);
    bool SetMonitorOn(bool on);
    bool ToggleMonitor() { return SetMonitorOn(record_.micMoniterSelect == 0); }
    // Preset 1-13 (0 does nothing); false for another number or when a write was not taken.
    bool ChoosePreset(int preset);
    // Band 0-9 to value; the custom preset becomes current. The profile is not saved.
    bool MoveBand(int band, int value);
    // Custom equaliser index (from 0); -1 does nothing; false outside the list.
    bool SelectCustomEqualiser(int index);
    // kSaved, kNameTaken (same name in another case) or kNotSaved (no name and nothing selected, or
    // the list is full).
    int SaveCustomEqualiser(const std::string& name);
    // Deletes the selected custom equaliser; false when none is selected. No property is written.
    bool DeleteCustomEqualiser();
    bool SetVoiceChanger(bool on);
    // Type 1-4 (0 does nothing); false for another number or when the write was not taken.
    bool SetVoiceType(int type);

    const HeadsetSystemRecord& Record() const { return record_; }
    const std::vector<int>& Bands() const { return bands_; }
    const std::vector<std::string>& CustomNames() const { return names_; }
    int SelectedCustom() const { return selectedCustom_; }
    const HeadsetAudioEffects& Effects() const { return effects_; }
    const VolumeReadings& MicrophoneReadings() const { return microphone_; }
    const VolumeReadings& MonitorReadings() const { return monitor_; }
    bool HasMicrophone() const { return endpoints_.HasCapture(); }
    bool HasHeadphones() const { return endpoints_.HasPlayback(); }

private:
    void ApplyDefaults();
    void ReadVolume(const char* prefix, VolumeReadings& readings, std::int32_t channel);
    bool WriteBands(const std::vector<int>& bands);
    void ShowBands() const;
    bool Store();
    bool IsCustomIndex(int index) const;

    CHeadsetAudioEndpoints endpoints_;
    CHs6533Profiledata& profile_;
    ISoundPage* sound_ = nullptr;
    IVoiceChangerPage* voiceChanger_ = nullptr;
    bool started_ = false;

    HeadsetSystemRecord record_;
    std::vector<int> bands_;
    std::vector<std::string> names_;
    int selectedCustom_ = -1;
    HeadsetAudioEffects effects_;
    VolumeReadings microphone_;
    VolumeReadings monitor_;
};

}  // namespace zevik
