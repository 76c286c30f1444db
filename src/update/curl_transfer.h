#pragma once
// What HttpRequest and HttpDownload share on top of libcurl: one easy handle with its header list,
// the URL check done before anything opens, and the options every transfer gets (verified
// certificates, http and https only, no https-to-http redirect, time-outs, cancel, no signals).

#include "update/http_cancel.h"
#include "update/http_settings.h"

#include <curl/curl.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace zevik {

// Why a URL is refused before any transfer; Ok with https set for a usable one.
struct HttpUrlCheck {
    std::uint32_t error = 0;  // 0, kHttpErrorPathNotFound, kHttpErrorInvalidUrl, kHttpErrorUnrecognizedScheme
    bool https = false;
};
HttpUrlCheck CheckHttpUrl(std::string_view url);

class CurlTransfer {
public:
    CurlTransfer();
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    CURL* Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Adds one request header ("Name: value"); they are handed to libcurl one at a time, in order.
    void AddHeader(const std::string& line);
    // Installs the header list; call once after the last AddHeader.
    void ApplyHeaders();

    // The options of every transfer. cancel may be null.
    void ApplyCommonOptions(std::string_view url, bool https, const HttpSettings& settings,
                            const HttpCancel* cancel);

    CURLcode Perform();

private:
    static int OnProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CURL* handle_ = nullptr;
    curl_slist* headers_ = nullptr;
    std::string url_;
};

}  // namespace zevik
