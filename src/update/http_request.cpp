#include "update/http_request.h"

#include "update/curl_transfer.h"
#include "update/http_settings.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace zevik {
namespace {

std::optional<std::string> CanonicalVerb(std::string_view verb) {
    std::string upper(verb);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
    if (upper == "GET" || upper == "POST") return upper;
    return std::nullopt;
}

// Where the answer goes: the caller's span, never past its end.
struct AnswerSink {
    std::span<char> buffer;
    std::size_t used = 0;
    bool overflow = false;
};

std::size_t OnAnswer(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<AnswerSink*>(user);
    const std::size_t length = size * count;
    if (length > sink->buffer.size() - sink->used) {
        sink->overflow = true;
        return 0;  // ends the transfer with a write error
    }
    std::memcpy(sink->buffer.data() + sink->used, data, length);
    sink->used += length;
    return length;
}

std::int32_t Fail(std::uint32_t error) {
    HttpSetLastError(error);
    return -1;
}

}  // namespace

std::int32_t HttpRequest(std::string_view verb, std::string_view url, std::span<const std::uint8_t> body,
                         std::uint32_t bodyLength, std::span<char> response, bool useNamedProxy,
                         const HttpCancel* cancel) {
    const std::optional<std::string> method = CanonicalVerb(verb);
    if (!method || bodyLength > body.size()) return Fail(kHttpErrorInvalidParameter);
    const HttpUrlCheck check = CheckHttpUrl(url);
    if (check.error != 0) return Fail(check.error);

    const HttpSettings settings = HttpGetSettings();
    CurlTransfer transfer;
    if (!transfer) return Fail(kHttpErrorCurlBase + CURLE_FAILED_INIT);
    CURL* handle = transfer.Handle();
    transfer.ApplyCommonOptions(url, check.https, settings, cancel);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, settings.userAgent.c_str());

    // The service expects these three, for GET as well; each is its own header line.
    transfer.AddHeader("Content-Length: " + std::to_string(bodyLength));
    transfer.AddHeader("Content-Type: application/x-www-form-urlencoded");
    transfer.AddHeader("Accept:application/prs.Velda.v1+json");
    transfer.AddHeader("Expect:");  // the body goes out at once, without waiting for "100 Continue"
    transfer.ApplyHeaders();

    if (*method == "POST" || bodyLength > 0) {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(bodyLength));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, body.data());
        if (*method == "GET") curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "GET");
    } else {
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }
    if (useNamedProxy && !settings.proxyName.empty()) {
        curl_easy_setopt(handle, CURLOPT_PROXY, settings.proxyName.c_str());
        if (!settings.proxyUserName.empty()) {
            curl_easy_setopt(handle, CURLOPT_PROXYUSERNAME, settings.proxyUserName.c_str());
            if (!settings.proxyPassword.empty())
                curl_easy_setopt(handle, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
        }
    }

    AnswerSink sink{response};
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &OnAnswer);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);

    const CURLcode code = transfer.Perform();
    if (sink.overflow) return Fail(kHttpErrorInsufficientBuffer);
    if (code == CURLE_OK) {
        HttpSetLastError(0);
        return static_cast<std::int32_t>(sink.used);
    }
    long requestSize = 0;
    curl_easy_getinfo(handle, CURLINFO_REQUEST_SIZE, &requestSize);
    HttpSetLastError(kHttpErrorCurlBase + static_cast<std::uint32_t>(code));
    if (requestSize > 0 || sink.used > 0) return -1;
    const std::size_t fits = std::min(response.size(), kHttpNoLinkServer.size());
    std::memcpy(response.data(), kHttpNoLinkServer.data(), fits);
    return 0;
}

}  // namespace zevik
