#pragma once
// A file download with progress, on the calling thread.

#include "update/http_cancel.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace zevik {

// Called once per received block (at most kHttpDownloadBlock bytes) with the total and the bytes
// received so far, and once with total 0 when the download fails after it started. item is passed
// through untouched.
using HttpProgress = std::function<void(double total, double received, void* item)>;

inline constexpr std::size_t kHttpDownloadBlock = 1024;

// How a download ended.
enum class HttpDownloadResult {
    Ok,           // target holds exactly the announced length
    BadUrl,       // refused before anything opened (last error says why)
    NoLength,     // HEAD failed or announced no length or 0
    BadStatus,    // GET answered other than 200
    Incomplete,   // the transfer failed or ended short of the length (or was cancelled)
    FileError,    // the partial file could not be created, written or renamed
};

// HEAD for the length, then GET, written as target + ".part" (mode 0600) and renamed to target
// once every byte has arrived. No user agent, no proxy; the settings' time-outs and CA file apply.
// On any failure neither target nor the partial file is left behind (an older target stays).
HttpDownloadResult HttpDownload(std::string_view url, const std::filesystem::path& target,
                                const HttpProgress& progress, void* item, const HttpCancel* cancel = nullptr);

}  // namespace zevik
