#include "update/http_download.h"

#include "update/curl_transfer.h"
#include "update/http_settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace zevik {
namespace {

// The partial file and the running count.
struct BlockSink {
    int fd = -1;
    // Blocks are gathered before they go to the file: one system call per 1024 bytes would cost a
    // quarter of the throughput.
    std::vector<char> pending;
    double total = 0;
    double received = 0;
    bool writeFailed = false;
    const HttpProgress* progress = nullptr;
    void* item = nullptr;
};

constexpr std::size_t kPendingLimit = 64 * 1024;

bool WriteAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

std::size_t OnBlock(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<BlockSink*>(user);
    const std::size_t length = size * count;
    if (sink->received + static_cast<double>(length) > sink->total) return 0;
    if (sink->pending.size() + length > kPendingLimit) {
        if (!WriteAll(sink->fd, sink->pending.data(), sink->pending.size())) {
            sink->writeFailed = true;
            return 0;
        }
        sink->pending.clear();
    }
    sink->pending.insert(sink->pending.end(), data, data + length);
    sink->received += static_cast<double>(length);
    if (*sink->progress) (*sink->progress)(sink->total, sink->received, sink->item);
    return length;
}

void ApplyDownloadOptions(CurlTransfer& transfer, std::string_view url, bool https, const HttpSettings& settings,
                          const HttpCancel* cancel) {
    transfer.ApplyCommonOptions(url, https, settings, cancel);
    // Downloads go straight to the server: no proxy from the environment either.
    curl_easy_setopt(transfer.Handle(), CURLOPT_PROXY, "");
}

// The announced length from a HEAD request; 0 when there is none.
curl_off_t HeadLength(std::string_view url, bool https, const HttpSettings& settings, const HttpCancel* cancel) {
    CurlTransfer head;
    if (!head) return 0;
    ApplyDownloadOptions(head, url, https, settings, cancel);
    curl_easy_setopt(head.Handle(), CURLOPT_NOBODY, 1L);
    if (head.Perform() != CURLE_OK) return 0;
    long status = 0;
    curl_easy_getinfo(head.Handle(), CURLINFO_RESPONSE_CODE, &status);
    curl_off_t length = -1;
    curl_easy_getinfo(head.Handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return status == 200 && length > 0 ? length : 0;
}

}  // namespace

HttpDownloadResult HttpDownload(std::string_view url, const std::filesystem::path& target,
                                const HttpProgress& progress, void* item, const HttpCancel* cancel) {
    const HttpUrlCheck check = CheckHttpUrl(url);
    if (check.error != 0) {
        HttpSetLastError(check.error);
        return HttpDownloadResult::BadUrl;
    }
    const HttpSettings settings = HttpGetSettings();
    const curl_off_t total = HeadLength(url, check.https, settings, cancel);
    if (total <= 0) return HttpDownloadResult::NoLength;

    std::filesystem::path partial = target;
    partial += ".part";
    ::unlink(partial.c_str());  // a leftover of an earlier run, never followed if it is a link
    BlockSink sink;
    sink.pending.reserve(kPendingLimit);
    sink.fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (sink.fd < 0) return HttpDownloadResult::FileError;
    sink.total = static_cast<double>(total);
    sink.progress = &progress;
    sink.item = item;

    CurlTransfer get;
    CURLcode code = CURLE_FAILED_INIT;
    long status = 0;
    if (get) {
        ApplyDownloadOptions(get, url, check.https, settings, cancel);
        curl_easy_setopt(get.Handle(), CURLOPT_BUFFERSIZE, static_cast<long>(kHttpDownloadBlock));
        curl_easy_setopt(get.Handle(), CURLOPT_WRITEFUNCTION, &OnBlock);
        curl_easy_setopt(get.Handle(), CURLOPT_WRITEDATA, &sink);
        // A non-200 answer writes nothing: its body is an error page, not the file.
        curl_easy_setopt(get.Handle(), CURLOPT_FAILONERROR, 1L);
        code = get.Perform();
        curl_easy_getinfo(get.Handle(), CURLINFO_RESPONSE_CODE, &status);
    }
    if (!sink.pending.empty() && !sink.writeFailed && !WriteAll(sink.fd, sink.pending.data(), sink.pending.size()))
        sink.writeFailed = true;
    const bool closed = ::close(sink.fd) == 0;
    HttpDownloadResult result = HttpDownloadResult::Ok;
    if (sink.writeFailed || !closed) {
        result = HttpDownloadResult::FileError;
    } else if (status != 200 && (code == CURLE_OK || code == CURLE_HTTP_RETURNED_ERROR)) {
        result = HttpDownloadResult::BadStatus;
    } else if (code != CURLE_OK || sink.received != sink.total) {
        result = HttpDownloadResult::Incomplete;
    } else if (std::rename(partial.c_str(), target.c_str()) != 0) {
        result = HttpDownloadResult::FileError;
    }
    if (result == HttpDownloadResult::Ok) {
        HttpSetLastError(0);
        return result;
    }
    if (code != CURLE_OK) HttpSetLastError(kHttpErrorCurlBase + static_cast<std::uint32_t>(code));
    ::unlink(partial.c_str());
    if (progress) progress(0, sink.received, item);
    return result;
}

}  // namespace zevik
