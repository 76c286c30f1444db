#pragma once
// Where the update service is and which extra certificate it may use: the command line's value,
// else the environment's, else the built-in one. Until the maker names its service, the built-in
// root lies under the reserved ".invalid" domain, so an unconfigured program never leaves the machine.

#include <optional>
#include <string>
#include <string_view>

namespace zevik {

inline constexpr std::string_view kDefaultUpdateApiRoot = "https://updates.zevik.invalid/api/";
inline constexpr const char* kUpdateServerVariable = "ZEVIK_UPDATE_SERVER";
inline constexpr const char* kUpdateCaFileVariable = "ZEVIK_UPDATE_CA_FILE";

// True for an http or https URL that ends in "/" (the API root the paths are appended to).
bool IsValidUpdateApiRoot(std::string_view url);

// commandLine, else ZEVIK_UPDATE_SERVER, else kDefaultUpdateApiRoot.
std::string ResolveUpdateApiRoot(const std::optional<std::string>& commandLine);
// commandLine, else ZEVIK_UPDATE_CA_FILE, else empty (the system's store alone).
std::string ResolveUpdateCaFile(const std::optional<std::string>& commandLine);

// Stores the CA file in the HTTP settings, where resets keep it.
void ConfigureUpdateCaFile(const std::string& caFile);

}  // namespace zevik
