#pragma once
// The emulator's state file: {"devices": {"<instance>": <model state>, ...}}, JSON (jsoncpp).

#include <json/value.h>

#include <filesystem>
#include <string>

namespace zevik {

// Reads the whole file. A missing file is no error (root becomes null: factory state); a file that
// cannot be read or is not a JSON object is one, and the file is left as it is.
bool LoadEmulatorStateFile(const std::filesystem::path& file, Json::Value& root, std::string& error);

// Writes the document atomically: a temporary file in the same folder, flushed to disk, then renamed
// over the old one. On failure the old file is untouched.
bool SaveEmulatorStateFile(const std::filesystem::path& file, const Json::Value& root, std::string& error);

}  // namespace zevik
