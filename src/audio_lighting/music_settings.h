#pragma once
// CMusicSettings: "AudioFile.json", where the music window keeps its groups. The user copy lives in
// the data root, the factory copy in "DefaultData"; the document is the file's "Device" member, the
// record its "AudioLightInfo" object.
//
// A user copy that is missing, damaged or without "Device" is replaced by the factory copy; a
// damaged one is moved aside (".bad") first, so nothing the user had is destroyed. Without a factory
// copy the document stays null and reads as the empty record. Members of the wrong type read as
// absent; numbers keep their low eight bits. Every write is atomic.

#include <filesystem>

#include <json/value.h>

#include "audio_lighting/music_style_record.h"
#include "settings/json_file_util.h"

namespace zevik {

class CMusicSettings {
public:
    static constexpr const char* kFileName = "AudioFile.json";

    CMusicSettings(std::filesystem::path userFile, std::filesystem::path defaultFile);

    // At start-up: the user copy, or the factory copy written over it when the user copy is unusable.
    // The record it holds.
    const MusicStyleRecord& Load();
    // The factory copy written over the user copy, whatever that held. The record it holds.
    const MusicStyleRecord& Reset();
    // The record of the document (the empty record when it has none); it also becomes the cache.
    const MusicStyleRecord& Get();
    // The record replaces the document's one and the cache; nothing is written yet.
    void Set(const MusicStyleRecord& record);
    // The document written into the user copy's "Device" member, keeping its other members.
    JsonWriteResult Save() const;

    const MusicStyleRecord& Cached() const { return cache_; }
    const Json::Value& Document() const { return document_; }
    const std::filesystem::path& UserFile() const { return userFile_; }

private:
    // The factory copy written whole as the user copy; its "Device" member becomes the document.
    void TakeFactoryCopy();

    std::filesystem::path userFile_;
    std::filesystem::path defaultFile_;
    Json::Value document_;
    MusicStyleRecord cache_;
};

}  // namespace zevik
