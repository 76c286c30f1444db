#include "update/curl_transfer.h"

#include <algorithm>
#include <mutex>

namespace zevik {
namespace {

void GlobalInitOnce() {
    // curl_global_init is not thread-safe in every libcurl build: run it once, before any handle.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long SecondsRoundedUp(long milliseconds) { return milliseconds <= 0 ? 0 : (milliseconds + 999) / 1000; }

}  // namespace

HttpUrlCheck CheckHttpUrl(std::string_view url) {
    HttpUrlCheck check;
    if (url.empty()) {
        check.error = kHttpErrorPathNotFound;
        return check;
    }
    GlobalInitOnce();
    CURLU* parsed = curl_url();
    if (parsed == nullptr) {
        check.error = kHttpErrorInvalidUrl;
        return check;
    }
    const std::string text(url);
    char* scheme = nullptr;
    // No default scheme: "example.com/x" is not a URL here.
    if (curl_url_set(parsed, CURLUPART_URL, text.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) {
        check.error = text.find("://") == std::string::npos ? kHttpErrorUnrecognizedScheme : kHttpErrorInvalidUrl;
    } else {
        const std::string_view name(scheme);  // libcurl hands the scheme back in lower case
        if (name == "https") {
            check.https = true;
        } else if (name != "http") {
            check.error = kHttpErrorUnrecognizedScheme;
        }
    }
    curl_free(scheme);
    curl_url_cleanup(parsed);
    return check;
}

CurlTransfer::CurlTransfer() {
    GlobalInitOnce();
    handle_ = curl_easy_init();
}

CurlTransfer::~CurlTransfer() {
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
    curl_slist_free_all(headers_);
}

void CurlTransfer::AddHeader(const std::string& line) {
    if (curl_slist* grown = curl_slist_append(headers_, line.c_str())) headers_ = grown;
}

void CurlTransfer::ApplyHeaders() { curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_); }

void CurlTransfer::ApplyCommonOptions(std::string_view url, bool https, const HttpSettings& settings,
                                      const HttpCancel* cancel) {
    url_ = std::string(url);
    curl_easy_setopt(handle_, CURLOPT_URL, url_.c_str());
    // Transfers run in worker threads: no SIGALRM for resolver time-outs.
    curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect may not leave http(s), and an https transfer never continues in clear text.
    curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, https ? "https" : "http,https");
    curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYHOST, 2L);
    // The CA file replaces libcurl's bundle file but not its certificate folder, so the system's
    // store stays trusted beside it.
    if (!settings.caFile.empty()) curl_easy_setopt(handle_, CURLOPT_CAINFO, settings.caFile.c_str());
    if (settings.connectTimeoutMs > 0) curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
    const long stallSeconds = SecondsRoundedUp(std::max(settings.sendTimeoutMs, settings.receiveTimeoutMs));
    if (stallSeconds > 0) {
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, stallSeconds);
    }
    if (cancel != nullptr) {
        curl_easy_setopt(handle_, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::OnProgress);
        curl_easy_setopt(handle_, CURLOPT_XFERINFODATA, const_cast<HttpCancel*>(cancel));
        curl_easy_setopt(handle_, CURLOPT_NOPROGRESS, 0L);
    }
}

CURLcode CurlTransfer::Perform() { return curl_easy_perform(handle_); }

int CurlTransfer::OnProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const HttpCancel*>(cancel)->IsCancelled() ? 1 : 0;
}

}  // namespace zevik
