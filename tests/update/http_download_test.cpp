#include "update/http_download.h"
#include "update/http_settings.h"

#include "update/http_test_server.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace zevik::test {
namespace {

std::string PatternBytes(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    return whole.str();
}

struct ProgressCall {
    double total;
    double received;
    void* item;
};

class HttpDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        HttpResetSettings();
        char pattern[] = "/tmp/zevik-download-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        target_ = folder_ / "Package.exe";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    HttpProgress Recorder() {
        return [this](double total, double received, void* item) { calls_.push_back({total, received, item}); };
    }
    bool NothingLeft() const {
        return !std::filesystem::exists(target_) && !std::filesystem::exists(folder_ / "Package.exe.part");
    }

    std::filesystem::path folder_;
    std::filesystem::path target_;
    std::vector<ProgressCall> calls_;
    int row_ = 0;
};

TEST_F(HttpDownloadTest, ArrivesWholeInBlocksWithOneProgressCallEach) {
    HttpTestServer server;
    ASSERT_EQ(HttpDownload(server.Url("/file/5000"), target_, Recorder(), &row_), HttpDownloadResult::Ok);
    EXPECT_EQ(ReadWhole(target_), PatternBytes(5000));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "Package.exe.part"));
    struct stat info {};
    ASSERT_EQ(stat(target_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_GE(calls_.size(), 5u);  // 5000 bytes in blocks of at most 1024
    double previous = 0;
    for (const ProgressCall& call : calls_) {
        EXPECT_EQ(call.total, 5000);
        EXPECT_EQ(call.item, &row_);
        EXPECT_GT(call.received, previous);
        EXPECT_LE(call.received - previous, static_cast<double>(kHttpDownloadBlock));
        previous = call.received;
    }
    EXPECT_EQ(calls_.back().received, 5000);
}

TEST_F(HttpDownloadTest, AFailedDownloadLeavesNoFile) {
    HttpTestServer server;
    HttpSettings settings = HttpGetSettings();
    settings.receiveTimeoutMs = 1000;
    settings.sendTimeoutMs = 1000;
    HttpSetSettings(settings);
    struct Case {
        std::string url;
        HttpDownloadResult result;
    };
    const Case cases[] = {
        {server.Url("/nolength"), HttpDownloadResult::NoLength},
        {server.Url("/zerolength"), HttpDownloadResult::NoLength},
        {server.Url("/unknown"), HttpDownloadResult::NoLength},
        {server.Url("/missing"), HttpDownloadResult::BadStatus},
        {server.Url("/short/5000"), HttpDownloadResult::Incomplete},
        {server.Url("/stall"), HttpDownloadResult::Incomplete},
        {server.Url("/redirect?to=file:///etc/passwd"), HttpDownloadResult::NoLength},
        {"ftp://127.0.0.1/file", HttpDownloadResult::BadUrl},
        {"", HttpDownloadResult::BadUrl},
    };
    for (const Case& c : cases) {
        calls_.clear();
        EXPECT_EQ(HttpDownload(c.url, target_, Recorder(), &row_), c.result) << c.url;
        EXPECT_TRUE(NothingLeft()) << c.url;
        // Once it started, a failure is reported once, with total 0.
        for (std::size_t i = 0; i + 1 < calls_.size(); ++i) EXPECT_GT(calls_[i].total, 0) << c.url;
        if (c.result == HttpDownloadResult::Incomplete) {
            ASSERT_FALSE(calls_.empty()) << c.url;
            EXPECT_EQ(calls_.back().total, 0) << c.url;
        }
    }
}

TEST_F(HttpDownloadTest, AnotherThreadCancelsTheDownloadAndNoFileIsLeft) {
    HttpTestServer server;
    HttpCancel cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpDownload(server.Url("/stall"), target_, Recorder(), &row_, &cancel), HttpDownloadResult::Incomplete);
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_ABORTED_BY_CALLBACK);
    EXPECT_TRUE(NothingLeft());
}

TEST_F(HttpDownloadTest, APartialFileLeftBehindIsReplacedNotFollowed) {
    HttpTestServer server;
    // A link where the partial file goes must not send the bytes elsewhere.
    const std::filesystem::path elsewhere = folder_ / "elsewhere";
    std::ofstream(elsewhere) << "keep";
    std::filesystem::create_symlink(elsewhere, folder_ / "Package.exe.part");
    ASSERT_EQ(HttpDownload(server.Url("/file/3000"), target_, Recorder(), &row_), HttpDownloadResult::Ok);
    EXPECT_EQ(ReadWhole(elsewhere), "keep");
    EXPECT_EQ(ReadWhole(target_), PatternBytes(3000));
}

}  // namespace
}  // namespace zevik::test
