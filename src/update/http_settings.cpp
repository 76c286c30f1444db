#include "update/http_settings.h"

#include <atomic>
#include <mutex>

namespace zevik {
namespace {

std::mutex& SettingsMutex() {
    static std::mutex mutex;
    return mutex;
}

HttpSettings& Settings() {
    static HttpSettings settings;
    return settings;
}

std::atomic<std::uint32_t> lastError{0};

}  // namespace

HttpSettings HttpGetSettings() {
    const std::lock_guard lock(SettingsMutex());
    return Settings();
}

void HttpSetSettings(const HttpSettings& settings) {
    const std::lock_guard lock(SettingsMutex());
    Settings() = settings;
}

void HttpResetSettings() {
    const std::lock_guard lock(SettingsMutex());
    HttpSettings fresh;
    fresh.caFile = Settings().caFile;
    Settings() = fresh;
}

std::uint32_t HttpGetLastError() { return lastError.load(); }

void HttpSetLastError(std::uint32_t error) { lastError.store(error); }

}  // namespace zevik
