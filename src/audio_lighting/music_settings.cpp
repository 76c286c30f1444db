#include "audio_lighting/music_settings.h"

#include <string>

#include "platform/trace.h"
#include "settings/json_access.h"

namespace zevik {

namespace {

constexpr const char* kDeviceKey = "Device";
constexpr const char* kRecordKey = "AudioLightInfo";
constexpr const char* kStyleKey = "nAudioStyle";

std::string NameKey(int group) { return "nStyleName" + std::to_string(group + 1); }

std::string ValueKey(char channel, int group) { return std::string("nStyle") + channel + std::to_string(group); }

constexpr char kChannels[3] = {'R', 'G', 'B'};

// The document of a file: its "Device" object, null when there is none.
Json::Value DeviceOf(const Json::Value& root) {
    const Json::Value* device = json::Member(root, kDeviceKey);
    return device != nullptr && device->isObject() ? *device : Json::Value();
}

// A stored number as the record keeps it: its low eight bits (the file is not range-checked).
std::uint8_t ByteOf(const Json::Value& record, const std::string& key) {
    return static_cast<std::uint8_t>(json::IntMember(record, key) & 0xFF);
}

}  // namespace

CMusicSettings::CMusicSettings(std::filesystem::path userFile, std::filesystem::path defaultFile)
    : userFile_(std::move(userFile)), defaultFile_(std::move(defaultFile)) {}

const MusicStyleRecord& CMusicSettings::Load() {
    JsonReadStatus status = JsonReadStatus::Ok;
    document_ = DeviceOf(CJsonFileUtil().ReadJsonFile(userFile_, status));
    if (document_.isNull()) {
        // What the user had is kept beside the fresh copy when it cannot be read as JSON.
        if (status == JsonReadStatus::Invalid && CJsonFileUtil::MoveAside(userFile_).empty()) {
            Trace("music settings: the damaged " + userFile_.string() + " could not be moved aside");
            return Get();
        }
        TakeFactoryCopy();
    }
    return Get();
}

const MusicStyleRecord& CMusicSettings::Reset() {
    TakeFactoryCopy();
    return Get();
}

void CMusicSettings::TakeFactoryCopy() {
    const Json::Value factory = CJsonFileUtil().ReadJsonFile(defaultFile_);
    if (factory.isNull()) {
        // Nothing to reset to: the user copy stays as it is.
        Trace("music settings: no factory copy at " + defaultFile_.string());
        document_ = Json::Value();
        return;
    }
    if (const JsonWriteResult written = CJsonFileUtil().WriteJsonFile(userFile_, factory); !written) {
        Trace("music settings: " + written.message);
    }
    document_ = DeviceOf(factory);
}

const MusicStyleRecord& CMusicSettings::Get() {
    MusicStyleRecord r;
    const Json::Value* stored = json::Member(document_, kRecordKey);
    if (stored != nullptr && stored->isObject()) {
        r.style = ByteOf(*stored, kStyleKey);
        for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
            r.names[g] = json::StringMember(*stored, NameKey(g));
            for (int c = 0; c < 3; ++c) r.groups[g][c] = ByteOf(*stored, ValueKey(kChannels[c], g));
        }
    }
    cache_ = r;
    return cache_;
}

void CMusicSettings::Set(const MusicStyleRecord& record) {
    cache_ = record;
    Json::Value stored(Json::objectValue);
    stored[kStyleKey] = record.style;
    for (int g = 0; g < MusicStyleRecord::kGroupCount; ++g) {
        stored[NameKey(g)] = record.names[g];
        for (int c = 0; c < 3; ++c) stored[ValueKey(kChannels[c], g)] = record.groups[g][c];
    }
    json::ObjectSlot(document_, kRecordKey) = stored;
}

JsonWriteResult CMusicSettings::Save() const {
    JsonReadStatus status = JsonReadStatus::Ok;
    Json::Value root = CJsonFileUtil().ReadJsonFile(userFile_, status);
    if (status == JsonReadStatus::Invalid && CJsonFileUtil::MoveAside(userFile_).empty()) {
        return {false, "the damaged " + userFile_.string() + " could not be moved aside"};
    }
    json::ObjectSlot(root, kDeviceKey) = document_;
    return CJsonFileUtil().WriteJsonFile(userFile_, root);
}

}  // namespace zevik
