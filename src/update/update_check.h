#pragma once
// The update check: one exchange with the update service per entry of the update table.

#include "update/http_cancel.h"
#include "update/update_entry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zevik {

inline constexpr int kUpdateStatusNewer = 1;
inline constexpr int kUpdateStatusCurrent = 7;

struct UpdateCheckResult {
    int status = kUpdateStatusCurrent;  // kUpdateStatusNewer or kUpdateStatusCurrent
    bool reached = false;               // the service answered with a readable document
    std::optional<std::int64_t> deviceId;
    std::string name;                // the package's name; empty when the service was not reached
    std::string newVersionText;      // "V" + the service's version ("version" for hex entries)
    std::string currentVersionText;  // "V%04x" (hex entries) or "V0%d"
    std::string path;                // download URL
};

// The size of the answer buffer: the service's answers are short JSON texts.
inline constexpr std::size_t kUpdateAnswerCapacity = 102400;

// The app key: vendor, kind, code, name and hex flag joined by "_"; "NULL" for an entry without
// key data.
std::string BuildAppKey(const UpdateEntry& entry);

// The installed program's version: the build's version with the dots removed, read as decimal
// ("1.0.7" is 107).
std::uint32_t GetInstalledVersion();
std::string GetInstalledVersionText();
// The same rule for any version text; saturates instead of overflowing.
std::uint32_t VersionFromDottedText(std::string_view text);

// The request body: "app_key=KEY&version=V" with the key form-encoded, V in lower-case hex for hex
// entries and decimal otherwise.
std::string BuildUpdateRequestBody(std::string_view appKey, std::uint32_t currentVersion, bool hex);

// Reads the service's answer. Type-checked: a "version" that is not a string or a "device_id" that
// is not an integer counts as absent; the version digits are read saturating. Text that is not a
// JSON object is not reached.
UpdateCheckResult ParseUpdateAnswer(std::string_view answer, std::uint32_t currentVersion, bool hex);

// Asks the service at apiRoot ("…/api/") whether a newer version of the keyed item exists. A
// service that cannot be reached, or an answer that is unreadable or too long, is not reached.
UpdateCheckResult CheckForUpdate(std::string_view apiRoot, std::string_view appKey, std::uint32_t currentVersion,
                                 bool hex, const HttpCancel* cancel = nullptr);

// The name a downloaded package is stored under: the base name of the service's "name" (after the
// last "/" or "\") + ".exe". Nothing for a name that is empty, "." or "..", or holds control
// characters.
std::optional<std::string> UpdateLocalFileName(std::string_view name);

}  // namespace zevik
