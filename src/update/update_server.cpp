#include "update/update_server.h"

#include "update/curl_transfer.h"
#include "update/http_settings.h"

#include <cstdlib>

namespace zevik {

bool IsValidUpdateApiRoot(std::string_view url) {
    return !url.empty() && url.back() == '/' && CheckHttpUrl(url).error == 0;
}

std::string ResolveUpdateApiRoot(const std::optional<std::string>& commandLine) {
    if (commandLine) return *commandLine;
    if (const char* value = std::getenv(kUpdateServerVariable); value != nullptr && *value != '\0') return value;
    return std::string(kDefaultUpdateApiRoot);
}

std::string ResolveUpdateCaFile(const std::optional<std::string>& commandLine) {
    if (commandLine) return *commandLine;
    if (const char* value = std::getenv(kUpdateCaFileVariable); value != nullptr) return value;
    return {};
}

void ConfigureUpdateCaFile(const std::string& caFile) {
    HttpSettings settings = HttpGetSettings();
    settings.caFile = caFile;
    HttpSetSettings(settings);
}

}  // namespace zevik
