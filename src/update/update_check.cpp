#include "update/update_check.h"

#include "update/http_request.h"
#include "update/http_settings.h"

#include <curl/curl.h>
#include <fmt/format.h>
#include <json/json.h>

#include <limits>
#include <memory>
#include <vector>

#ifndef ZEVIK_VERSION
#define ZEVIK_VERSION "0.0.0"
#endif

namespace zevik {
namespace {

// Digits of the given base from the start of text, saturating at the largest 32-bit value.
std::uint32_t SaturatingNumber(std::string_view text, unsigned base) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) break;
        value = std::min(value * base + digit, kMax);
    }
    return static_cast<std::uint32_t>(value);
}

std::string StringMember(const Json::Value& root, const char* name) {
    const Json::Value& member = root[name];
    return member.isString() ? member.asString() : std::string();
}

std::string CurrentVersionText(std::uint32_t currentVersion, bool hex) {
    return hex ? fmt::format("V{:04x}", currentVersion) : fmt::format("V0{}", currentVersion);
}

}  // namespace

std::string BuildAppKey(const UpdateEntry& entry) {
    if (entry.vendor.empty() && entry.code.empty() && entry.name.empty()) return "NULL";
    return fmt::format("{}_{}_{}_{}_{}", entry.vendor, entry.kind, entry.code, entry.name, entry.hexVersion);
}

std::uint32_t VersionFromDottedText(std::string_view text) {
    std::string digits;
    for (const char c : text)
        if (c != '.') digits += c;
    return SaturatingNumber(digits, 10);
}

std::string GetInstalledVersionText() { return ZEVIK_VERSION; }

std::uint32_t GetInstalledVersion() { return VersionFromDottedText(ZEVIK_VERSION); }

std::string BuildUpdateRequestBody(std::string_view appKey, std::uint32_t currentVersion, bool hex) {
    std::string encoded;
    for (const unsigned char c : appKey) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || c == '.' || c == '~';
        encoded += plain ? fmt::format("{:c}", static_cast<char>(c)) : fmt::format("%{:02X}", c);
    }
    return hex ? fmt::format("app_key={}&version={:x}", encoded, currentVersion)
               : fmt::format("app_key={}&version={}", encoded, currentVersion);
}

UpdateCheckResult ParseUpdateAnswer(std::string_view answer, std::uint32_t currentVersion, bool hex) {
    UpdateCheckResult result;
    result.currentVersionText = CurrentVersionText(currentVersion, hex);
    Json::Value root;
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = 64;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        if (!reader->parse(answer.data(), answer.data() + answer.size(), &root, &errors) || !root.isObject())
            return result;
    } catch (const Json::Exception&) {
        return result;  // nested deeper than the stack limit: not an answer
    }
    result.reached = true;
    result.path = StringMember(root, "path");
    result.name = StringMember(root, "name");
    const std::string version = StringMember(root, "version");
    result.newVersionText = "V" + (hex ? version : StringMember(root, "version_name"));
    if (const Json::Value& id = root["device_id"]; id.isInt64()) result.deviceId = id.asInt64();
    const std::uint32_t offered = SaturatingNumber(version, hex ? 16 : 10);
    result.status = currentVersion < offered ? kUpdateStatusNewer : kUpdateStatusCurrent;
    return result;
}

UpdateCheckResult CheckForUpdate(std::string_view apiRoot, std::string_view appKey, std::uint32_t currentVersion,
                                 bool hex, const HttpCancel* cancel) {
    const std::string url = std::string(apiRoot) + "updates";
    std::string body = BuildUpdateRequestBody(appKey, currentVersion, hex);
    // The service reads the body with its terminating zero byte.
    body.push_back('\0');
    HttpResetSettings();
    std::vector<char> answer(kUpdateAnswerCapacity, '\0');
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
    const std::int32_t count =
        HttpRequest("POST", url, bytes, static_cast<std::uint32_t>(body.size()), answer, false, cancel);
    if (count <= 0) {
        UpdateCheckResult unreached;
        unreached.currentVersionText = CurrentVersionText(currentVersion, hex);
        return unreached;
    }
    return ParseUpdateAnswer(std::string_view(answer.data(), static_cast<std::size_t>(count)), currentVersion, hex);
}

std::optional<std::string> UpdateLocalFileName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (base.empty() || base == "." || base == "..") return std::nullopt;
    for (const unsigned char c : base)
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    return std::string(base) + ".exe";
}

}  // namespace zevik
