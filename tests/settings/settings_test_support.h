#pragma once
// Shared helpers of the settings tests: a private temporary folder and small file utilities.

#include <json/value.h>

#include <filesystem>
#include <string>

namespace zevik::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
// Parses text; fails the test when it is not JSON.
Json::Value Parse(const std::string& text);
Json::Value ReadJson(const std::filesystem::path& path);
void WriteJson(const std::filesystem::path& path, const Json::Value& value);

// The shipped factory files (resources/DefaultData of the source tree).
std::filesystem::path ResourceDataFolder();

bool RunningAsRoot();

}  // namespace zevik::test
