#pragma once
// The process-wide settings of the HTTP client and its last error. The update check resets them
// before each exchange; the configured CA file survives a reset, since it comes from the user's
// command line or environment and not from one exchange.

#include <cstdint>
#include <string>

namespace zevik {

struct HttpSettings {
    std::string proxyName;      // used by HttpRequest only when the caller asks for the named proxy
    std::string proxyUserName;  // set on the transfer only when not empty
    std::string proxyPassword;  // set only when the user name is set too
    std::string userAgent = "WinHTTP Client/1.0";  // HttpRequest only; downloads send none
    std::string caFile;  // extra trust anchor for https; empty: the system's store alone
    // Time-outs in ms; 0 is no limit. Resolving counts into the connect time. Send and receive are
    // low-speed limits: a transfer that moves less than 1 byte/s for that long fails.
    long resolveTimeoutMs = 0;
    long connectTimeoutMs = 60000;
    long sendTimeoutMs = 30000;
    long receiveTimeoutMs = 30000;
};

// Windows error numbers callers already know from the original client; other failures of the
// transfer itself are kHttpErrorCurlBase + the libcurl code.
inline constexpr std::uint32_t kHttpErrorInvalidParameter = 87;
inline constexpr std::uint32_t kHttpErrorPathNotFound = 3;  // an empty URL
inline constexpr std::uint32_t kHttpErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kHttpErrorInvalidUrl = 12005;
inline constexpr std::uint32_t kHttpErrorUnrecognizedScheme = 12006;
inline constexpr std::uint32_t kHttpErrorCurlBase = 20000;

// A copy of the current settings (safe from any thread).
HttpSettings HttpGetSettings();
// Replaces the settings.
void HttpSetSettings(const HttpSettings& settings);
// Every field back to its default, except the configured CA file.
void HttpResetSettings();

std::uint32_t HttpGetLastError();
void HttpSetLastError(std::uint32_t error);

}  // namespace zevik
