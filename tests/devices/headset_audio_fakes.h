#pragma once
// Test doubles around the headset's audio binding: a library with scripted devices and answers, a
// recorder of the exchanges that reach a real library, the two pages, and a profile in a temporary
// folder.

#include <json/reader.h>
#include <json/value.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "audio/audio_conf_entry_points.h"
#include "devices/headset_audio_pages.h"
#include "settings/hs6533_profiledata.h"

namespace zevik::test {

struct Exchange {
    std::int32_t device = 0;
    std::string property;
    PropertyAccess access = PropertyAccess::Read;
    double value = 0;  // the binary value of a write
    std::vector<std::int32_t> selector;
    int result = 0;

    bool IsWrite(const std::string& name) const {
        return access == PropertyAccess::Write && property == name;
    }
};

inline Exchange Record(const AudioDeviceInfo& device, std::string_view property, const PropertyValue& value,
                       std::span<const std::int32_t> selector, PropertyAccess access, int result) {
    return {device.id,
            std::string(property),
            access,
            std::visit([](auto v) { return static_cast<double>(v); }, value.binary),
            std::vector<std::int32_t>(selector.begin(), selector.end()),
            result};
}

// Passes every call to a real library and keeps the property exchanges.
class RecordingLibrary : public IAudioConfLibrary {
public:
    explicit RecordingLibrary(IAudioConfLibrary& inner) : inner_(inner) {}
    std::vector<Exchange> log;

    std::vector<Exchange> Writes() const {
        std::vector<Exchange> writes;
        for (const Exchange& e : log) {
            if (e.access == PropertyAccess::Write) writes.push_back(e);
        }
        return writes;
    }

    int ConfLibInit() override { return inner_.ConfLibInit(); }
    int CreateDeviceList() override { return inner_.CreateDeviceList(); }
    int GetDeviceCount(AudioDataFlow flow, std::int32_t* count) const override {
        return inner_.GetDeviceCount(flow, count);
    }
    int GetDeviceById(AudioDataFlow flow, std::int32_t index, AudioDeviceInfo* info) const override {
        return inner_.GetDeviceById(flow, index, info);
    }
    int PropertyControl(const AudioDeviceInfo& device, std::string_view property, PropertyValue& value,
                        std::span<const std::int32_t> selector, PropertyAccess access) override {
        const int result = inner_.PropertyControl(device, property, value, selector, access);
        log.push_back(Record(device, property, value, selector, access, result));
        return result;
    }

private:
    IAudioConfLibrary& inner_;
};

// A library whose devices and read answers the test writes down; writes succeed unless named in
// refused. Reads of properties without an answer fail.
class ScriptedLibrary : public IAudioConfLibrary {
public:
    std::vector<AudioDeviceInfo> playback;
    std::vector<AudioDeviceInfo> capture;
    std::map<std::string, std::string> answers;  // "device id:property" or "property" -> text
    std::set<std::string> refused;
    std::vector<Exchange> log;

    int ConfLibInit() override { return 0; }
    int CreateDeviceList() override { return 0; }
    int GetDeviceCount(AudioDataFlow flow, std::int32_t* count) const override {
        *count = static_cast<std::int32_t>(List(flow).size());
        return 0;
    }
    int GetDeviceById(AudioDataFlow flow, std::int32_t index, AudioDeviceInfo* info) const override {
        const auto& list = List(flow);
        if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return -1;
        *info = list[static_cast<std::size_t>(index)];
        return 0;
    }
    int PropertyControl(const AudioDeviceInfo& device, std::string_view property, PropertyValue& value,
                        std::span<const std::int32_t> selector, PropertyAccess access) override {
        int result = -1;
        if (access == PropertyAccess::Write) {
            result = refused.count(std::string(property)) ? -1 : 0;
        } else {
            value.text.clear();
            auto it = answers.find(std::to_string(device.id) + ":" + std::string(property));
            if (it == answers.end()) it = answers.find(std::string(property));
            if (it != answers.end()) {
                value.text = it->second;
                result = 0;
            }
        }
        log.push_back(Record(device, property, value, selector, access, result));
        return result;
    }

private:
    const std::vector<AudioDeviceInfo>& List(AudioDataFlow flow) const {
        return flow == AudioDataFlow::Playback ? playback : capture;
    }
};

class FakeSoundPage : public ISoundPage {
public:
    int preset = -1;
    std::vector<int> bands = std::vector<int>(kBandCount, -99);
    bool micOn = false;
    int micLevel = -1;
    bool monitorOn = false;
    int monitorLevel = -1;
    bool customArea = false;
    std::vector<std::string> names;
    int selected = -2;
    std::string nameText = "typed";

    void SelectPreset(int p) override { preset = (p >= 1 && p <= kPresetCount) ? p : 0; }
    void SetBand(int band, int value) override { bands.at(static_cast<std::size_t>(band)) = value; }
    int GetBand(int band) const override { return bands.at(static_cast<std::size_t>(band)); }
    void ShowMicrophone(bool on, int level) override { micOn = on, micLevel = level; }
    void ShowMonitor(bool on, int level) override { monitorOn = on, monitorLevel = level; }
    void EnableCustomArea(bool enabled) override { customArea = enabled; }
    void SetCustomNames(const std::vector<std::string>& list) override { names = list; }
    void SelectCustom(int index) override {
        selected = index;
        nameText.clear();
    }
    int SelectedCustom() const override { return selected; }
    std::string CustomNameText() const override { return nameText; }
};

class FakeVoicePage : public IVoiceChangerPage {
public:
    bool on = false;
    int type = -1;
    void ShowVoiceChanger(bool shown) override { on = shown; }
    void SelectVoiceType(int t) override { type = (t >= 1 && t <= kTypeCount) ? t : 0; }
};

// A headset profile file in a temporary folder, loaded into data.
class HeadsetProfile {
public:
    explicit HeadsetProfile(const std::string& document = "{}")
        : dir_(std::filesystem::temp_directory_path() /
               ("zevik-headset-audio-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++))) {
        std::filesystem::create_directories(dir_);
        Load(document);
    }
    ~HeadsetProfile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    HeadsetProfile(const HeadsetProfile&) = delete;
    HeadsetProfile& operator=(const HeadsetProfile&) = delete;

    void Load(const std::string& document) {
        std::ofstream(Path()) << "{\"Device\": [" << document << "]}";
        data.SetProfilePath(Path());
        data.LoadProfile(Path());
    }
    std::filesystem::path Path() const { return dir_ / "headset.Json"; }
    // Element 0 of the file as it is on disk.
    Json::Value Saved() const {
        std::ifstream in(Path());
        Json::Value root;
        Json::CharReaderBuilder builder;
        std::string errors;
        Json::parseFromStream(builder, in, &root, &errors);
        return root["Device"][0];
    }
    int SavedSystem(const char* key) const { return Saved()["SystemSetStages"][key].asInt(); }

    CHs6533Profiledata data;

private:
    static inline int counter_ = 0;
    std::filesystem::path dir_;
};

}  // namespace zevik::test
