#pragma once
// Whole-file JSON reading and writing for every document the program stores, and the time-stamp
// identifiers of new profiles and macros.

#include <json/value.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zevik {

// Why a read gave no document.
enum class JsonReadStatus {
    Ok,          // parsed
    Missing,     // no such file
    Unreadable,  // exists but could not be read whole (a folder, no permission, I/O error, too large)
    Invalid,     // read, but not JSON
};

// The outcome of a write. On failure the file at the target path is as it was before the call.
struct JsonWriteResult {
    bool ok = false;
    std::string message;  // English, names the path and the failing step; empty on success
    explicit operator bool() const { return ok; }
};

class CJsonFileUtil {
public:
    // Files larger than this are not read: nothing the program writes comes near it, and an import
    // of an arbitrary file must not exhaust memory.
    static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

    // The whole file parsed; a null value on any failure (missing, unreadable, empty, not JSON).
    Json::Value ReadJsonFile(const std::filesystem::path& path) const;
    // The same, telling why nothing came back.
    Json::Value ReadJsonFile(const std::filesystem::path& path, JsonReadStatus& status) const;

    // The bytes of a regular file no larger than kMaxFileSize; nothing when it is missing, something
    // else, too large or cannot be read whole. For copies that must not change a byte.
    static std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);
    // Parses text as the files are parsed; false (and root null) when it is not JSON.
    static bool ParseJson(std::string_view text, Json::Value& root);

    // The styled form every installation writes: jsoncpp's styled writer (three-space indent,
    // right margin 74), whose text ends in a line end, followed by one more line end.
    static std::string StyledText(const Json::Value& value);

    // Writes StyledText(value) as the whole content of path, atomically: a temporary file in the
    // same folder is written, flushed and synced, then renamed over path. A failure at any step
    // leaves path untouched and removes the temporary file.
    JsonWriteResult WriteJsonFile(const std::filesystem::path& path, const Json::Value& value) const;
    // The same atomic write for any text (the few files that are not JSON).
    JsonWriteResult WriteTextFile(const std::filesystem::path& path, std::string_view text) const;

    // The local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year, month, day, hour, minute, second,
    // millisecond). Unique within the process: a call in the same millisecond as an earlier one (or
    // after the clock went back) gets the millisecond after the last one handed out.
    static std::string MakeTimeStamp();

    // The file name of path without folder and extension.
    static std::string GetFileTitle(const std::filesystem::path& path);

    // Moves a damaged file aside to a free name ending in ".bad" (path + ".bad", then
    // path + ".2.bad", ...), so that writing a fresh document over path destroys nothing.
    // Returns the new name, or an empty path when the file could not be moved.
    static std::filesystem::path MoveAside(const std::filesystem::path& path);
};

}  // namespace zevik
