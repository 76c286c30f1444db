#include "update/http_request.h"
#include "update/http_settings.h"

#include "update/http_test_server.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace zevik::test {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A port nothing listens on: bound once, then released.
int UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

// The headers the echo path saw, by lower-case name (one value each: the test checks duplicates).
struct Echo {
    std::string method;
    std::string bodyHex;
    std::vector<std::pair<std::string, std::string>> headers;
    std::vector<std::string> Values(const std::string& name) const {
        std::vector<std::string> values;
        for (const auto& [key, value] : headers) {
            std::string lower = key;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower == name) values.push_back(value);
        }
        return values;
    }
};

Echo ParseEcho(const char* text, std::int32_t count) {
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    EXPECT_TRUE(reader->parse(text, text + count, &root, &errors)) << errors;
    Echo echo;
    echo.method = root["method"].asString();
    echo.bodyHex = root["body"].asString();
    for (const Json::Value& pair : root["headers"]) echo.headers.emplace_back(pair[0].asString(), pair[1].asString());
    return echo;
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override { HttpResetSettings(); }
    void TearDown() override {
        HttpSettings settings = HttpGetSettings();
        settings.caFile.clear();
        HttpSetSettings(settings);
    }
    std::array<char, 4096> buffer_{};
};

TEST_F(HttpRequestTest, RefusesBeforeSendingAndLeavesTheBufferAlone) {
    HttpTestServer server;
    struct Case {
        const char* verb;
        std::string url;
        std::uint32_t bodyLength;
        std::uint32_t error;
    };
    const std::string good = server.Url("/echo");
    const Case cases[] = {
        {"PUT", good, 0, kHttpErrorInvalidParameter},
        {"", good, 0, kHttpErrorInvalidParameter},
        {"GETS", good, 0, kHttpErrorInvalidParameter},
        {"POST", good, 99, kHttpErrorInvalidParameter},  // longer than the body
        {"GET", "", 0, kHttpErrorPathNotFound},
        {"GET", "ftp://127.0.0.1/x", 0, kHttpErrorUnrecognizedScheme},
        {"GET", "file:///etc/passwd", 0, kHttpErrorUnrecognizedScheme},
        {"GET", "127.0.0.1/echo", 0, kHttpErrorUnrecognizedScheme},
    };
    const std::string body = "abc";
    for (const Case& c : cases) {
        buffer_.fill(0);
        EXPECT_EQ(HttpRequest(c.verb, c.url, Bytes(body), c.bodyLength, buffer_, false), -1) << c.verb << " " << c.url;
        EXPECT_EQ(HttpGetLastError(), c.error) << c.verb << " " << c.url;
        EXPECT_EQ(buffer_[0], 0) << c.verb << " " << c.url;
    }
}

TEST_F(HttpRequestTest, TheServerSeesTheVerbTheHeadersAndTheBody) {
    HttpTestServer server;
    struct Case {
        const char* verb;
        std::string body;
        const char* method;
    };
    // The update check sends its text with the terminating zero byte.
    const Case cases[] = {
        {"post", std::string("app_key=K&version=1f") + '\0', "POST"},
        {"Post", "", "POST"},
        {"get", "", "GET"},
    };
    for (const Case& c : cases) {
        buffer_.fill(0);
        const std::int32_t count = HttpRequest(c.verb, server.Url("/echo"), Bytes(c.body),
                                               static_cast<std::uint32_t>(c.body.size()), buffer_, false);
        ASSERT_GT(count, 0) << c.verb << " error " << HttpGetLastError();
        const Echo echo = ParseEcho(buffer_.data(), count);
        EXPECT_EQ(echo.method, c.method);
        EXPECT_EQ(echo.bodyHex, Hex(c.body)) << c.verb;
        using V = std::vector<std::string>;
        EXPECT_EQ(echo.Values("content-length"), V{std::to_string(c.body.size())}) << c.verb;
        EXPECT_EQ(echo.Values("content-type"), V{"application/x-www-form-urlencoded"}) << c.verb;
        EXPECT_EQ(echo.Values("accept"), V{"application/prs.Velda.v1+json"}) << c.verb;
        EXPECT_EQ(echo.Values("user-agent"), V{"WinHTTP Client/1.0"}) << c.verb;
        EXPECT_TRUE(echo.Values("expect").empty()) << c.verb;
    }
}

TEST_F(HttpRequestTest, AnAnswerLongerThanTheBufferIsRefusedAndNothingIsWrittenPastIt) {
    HttpTestServer server;
    std::array<char, 96> memory{};
    memory.fill('#');
    const std::span<char> response(memory.data(), 64);  // the rest is the canary
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/64"), {}, 0, response, false), 64);
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/65"), {}, 0, response, false), -1);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorInsufficientBuffer);
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/5000"), {}, 0, response, false), -1);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorInsufficientBuffer);
    for (std::size_t i = 64; i < memory.size(); ++i) ASSERT_EQ(memory[i], '#') << "byte " << i;
}

TEST_F(HttpRequestTest, NothingListeningGivesNoLinkServer) {
    ClearProxyVariables();
    const std::string url = "http://127.0.0.1:" + std::to_string(UnusedPort()) + "/echo";
    EXPECT_EQ(HttpRequest("POST", url, {}, 0, buffer_, false), 0);
    EXPECT_EQ(std::string(buffer_.data()), kHttpNoLinkServer);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_COULDNT_CONNECT);
}

TEST_F(HttpRequestTest, RedirectsStayOnHttp) {
    HttpTestServer server;
    const std::int32_t followed =
        HttpRequest("GET", server.Url("/redirect?to=" + server.Url("/size/7")), {}, 0, buffer_, false);
    EXPECT_EQ(followed, 7);
    EXPECT_EQ(HttpRequest("GET", server.Url("/redirect?to=file:///etc/passwd"), {}, 0, buffer_, false), -1);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_UNSUPPORTED_PROTOCOL);
}

class HttpsRequestTest : public HttpRequestTest {
protected:
    void SetUp() override {
        HttpRequestTest::SetUp();
        char pattern[] = "/tmp/zevik-https-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_TRUE(MakeSelfSignedCertificate(folder_));
    }
    void TearDown() override {
        HttpRequestTest::TearDown();
        std::filesystem::remove_all(folder_);
    }
    void TrustTheTestCertificate() {
        HttpSettings settings = HttpGetSettings();
        settings.caFile = (folder_ / "cert.pem").string();
        HttpSetSettings(settings);
    }
    std::string Cert() const { return (folder_ / "cert.pem").string(); }
    std::string Key() const { return (folder_ / "key.pem").string(); }
    std::filesystem::path folder_;
};

TEST_F(HttpsRequestTest, ASelfSignedCertificateIsTrustedOnlyThroughTheCaFileAndForItsOwnHost) {
    HttpTestServer server(Cert(), Key());
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/5", "https"), {}, 0, buffer_, false), 0);
    EXPECT_EQ(std::string(buffer_.data()), kHttpNoLinkServer);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_PEER_FAILED_VERIFICATION);

    TrustTheTestCertificate();
    buffer_.fill(0);
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/5", "https"), {}, 0, buffer_, false), 5);
    EXPECT_EQ(std::string(buffer_.data()), "aaaaa");

    // The certificate names 127.0.0.1 only.
    buffer_.fill(0);
    EXPECT_EQ(HttpRequest("GET", server.Url("/size/5", "https", "localhost"), {}, 0, buffer_, false), 0);
    EXPECT_EQ(std::string(buffer_.data()), kHttpNoLinkServer);
}

TEST_F(HttpsRequestTest, HttpsNeverContinuesOverHttp) {
    HttpTestServer secure(Cert(), Key());
    HttpTestServer plain;
    TrustTheTestCertificate();
    const std::string url = secure.Url("/redirect?to=" + plain.Url("/size/5"), "https");
    EXPECT_EQ(HttpRequest("GET", url, {}, 0, buffer_, false), -1);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_UNSUPPORTED_PROTOCOL);
}

TEST_F(HttpRequestTest, AStalledServerEndsTheExchangeAtTheLowSpeedLimit) {
    HttpTestServer server;
    HttpSettings settings = HttpGetSettings();
    settings.receiveTimeoutMs = 1000;
    settings.sendTimeoutMs = 1000;
    HttpSetSettings(settings);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpRequest("GET", server.Url("/stall"), {}, 0, buffer_, false), -1);
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(HttpRequestTest, AnotherThreadCancelsTheExchange) {
    HttpTestServer server;
    HttpCancel cancel;
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cancel.Cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpRequest("GET", server.Url("/stall"), {}, 0, buffer_, false, &cancel), -1);
    canceller.join();
    EXPECT_EQ(HttpGetLastError(), kHttpErrorCurlBase + CURLE_ABORTED_BY_CALLBACK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(HttpRequestTest, ResetRestoresTheDefaultsButKeepsTheCaFile) {
    HttpSettings changed;
    changed.proxyName = "proxy:1";
    changed.userAgent = "other";
    changed.caFile = "/some/ca.pem";
    changed.connectTimeoutMs = 5;
    changed.receiveTimeoutMs = 6;
    HttpSetSettings(changed);
    HttpResetSettings();
    const HttpSettings now = HttpGetSettings();
    EXPECT_EQ(now.proxyName, "");
    EXPECT_EQ(now.userAgent, "WinHTTP Client/1.0");
    EXPECT_EQ(now.caFile, "/some/ca.pem");
    EXPECT_EQ(now.connectTimeoutMs, 60000);
    EXPECT_EQ(now.sendTimeoutMs, 30000);
    EXPECT_EQ(now.receiveTimeoutMs, 30000);
}

}  // namespace
}  // namespace zevik::test
