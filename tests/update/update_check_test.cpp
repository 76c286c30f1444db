#include "update/update_check.h"
#include "update/update_server.h"

#include "update/http_test_server.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace zevik::test {
namespace {

std::string Hex(std::string_view text) {
    std::string hex;
    for (const unsigned char c : text) hex += fmt::format("{:02x}", c);
    return hex;
}

TEST(UpdateCheck, AppKeyJoinsTheEntrysOwnDataAndIsFormEncodedInTheBody) {
    const UpdateEntry mouse{1, kUpdateKindMouse, 0x105, "ZEVIK", "R300P", "ZEVIK R300 Prime", "R300 Prime", ""};
    EXPECT_EQ(BuildAppKey(mouse), "ZEVIK_2_R300P_ZEVIK R300 Prime_1");
    EXPECT_EQ(BuildAppKey(UpdateEntry{}), "NULL");
    EXPECT_EQ(BuildUpdateRequestBody(BuildAppKey(mouse), 0x10F, true),
              "app_key=ZEVIK_2_R300P_ZEVIK%20R300%20Prime_1&version=10f");
    EXPECT_EQ(BuildUpdateRequestBody("a&b=c", 107, false), "app_key=a%26b%3Dc&version=107");
}

TEST(UpdateCheck, InstalledVersionIsTheBuildsWithoutDots) {
    EXPECT_EQ(GetInstalledVersion(), VersionFromDottedText(GetInstalledVersionText()));
    EXPECT_EQ(VersionFromDottedText("1.0.7"), 107u);
    EXPECT_EQ(VersionFromDottedText("99999999999"), UINT32_MAX);
}

TEST(UpdateCheck, TheAnswerIsReadWithTypeChecks) {
    struct Case {
        const char* answer;
        std::uint32_t current;
        bool hex;
        bool reached;
        int status;
        const char* newText;
        const char* currentText;
        std::optional<std::int64_t> deviceId;
    };
    const Case cases[] = {
        // The program 1.0.7 and a service offering 108.
        {R"({"version":"108","version_name":"1.0.8","name":"Setup","device_id":1,"path":"http://h/p"})", 107, false,
         true, kUpdateStatusNewer, "V1.0.8", "V0107", 1},
        // Firmware 0x0105 and the service's 0105: not newer.
        {R"({"version":"0105","name":"Fw","device_id":2})", 0x105, true, true, kUpdateStatusCurrent, "V0105", "V0105",
         2},
        {R"({"version":"0110","name":"Fw"})", 0x10F, true, true, kUpdateStatusNewer, "V0110", "V010f", std::nullopt},
        // Wrong types count as absent.
        {R"({"version":264,"name":"Fw","device_id":"1"})", 0x105, true, true, kUpdateStatusCurrent, "V", "V0105",
         std::nullopt},
        {R"({"version":"0110","device_id":1.5})", 0x105, true, true, kUpdateStatusNewer, "V0110", "V0105",
         std::nullopt},
        // Saturating: an absurd version is the largest one, never a wrapped small one.
        {R"({"version":"fffffffffffffffffff"})", 0xFFFFFFFE, true, true, kUpdateStatusNewer, "Vfffffffffffffffffff",
         "Vfffffffe", std::nullopt},
        {R"({"version":"4294967296"})", 5, false, true, kUpdateStatusNewer, "V", "V05", std::nullopt},
        // Not a JSON object: not reached.
        {"NO_LINK_SERVER", 1, true, false, kUpdateStatusCurrent, "", "V0001", std::nullopt},
        {R"(["version","9"])", 1, true, false, kUpdateStatusCurrent, "", "V0001", std::nullopt},
        {"", 1, false, false, kUpdateStatusCurrent, "", "V01", std::nullopt},
    };
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    EXPECT_FALSE(ParseUpdateAnswer(deep, 1, true).reached);
    for (const Case& c : cases) {
        const UpdateCheckResult result = ParseUpdateAnswer(c.answer, c.current, c.hex);
        EXPECT_EQ(result.reached, c.reached) << c.answer;
        EXPECT_EQ(result.status, c.status) << c.answer;
        EXPECT_EQ(result.newVersionText, c.newText) << c.answer;
        EXPECT_EQ(result.currentVersionText, c.currentText) << c.answer;
        EXPECT_EQ(result.deviceId, c.deviceId) << c.answer;
    }
}

TEST(UpdateCheck, AsksTheServiceUnderTheApiRoot) {
    HttpTestServer server;
    const std::string answer = R"({"version":"0110","name":"R300P_0110","path":"http://x/f","device_id":2})";
    const UpdateCheckResult newer =
        CheckForUpdate(server.Url("/answer/" + Hex(answer) + "/"), "K", 0x10F, true);
    EXPECT_TRUE(newer.reached);
    EXPECT_EQ(newer.status, kUpdateStatusNewer);
    EXPECT_EQ(newer.name, "R300P_0110");
    EXPECT_EQ(newer.path, "http://x/f");

    // Longer than the answer buffer, or nobody there: not reached.
    const UpdateCheckResult oversized =
        CheckForUpdate(server.Url("/size/" + std::to_string(kUpdateAnswerCapacity + 1) + "/"), "K", 1, true);
    EXPECT_FALSE(oversized.reached);
    const UpdateCheckResult nobody = CheckForUpdate("http://127.0.0.1:1/api/", "K", 1, true);
    EXPECT_FALSE(nobody.reached);
    EXPECT_EQ(nobody.name, "");
    EXPECT_EQ(nobody.status, kUpdateStatusCurrent);
}

TEST(UpdateCheck, LocalFileNameIsTheBaseNameOfASafeName) {
    struct Case {
        const char* name;
        std::optional<std::string> file;
    };
    const Case cases[] = {
        {"R300P_0110", "R300P_0110.exe"},
        {"../../.bashrc", ".bashrc.exe"},
        {"C:\\Temp\\Setup", "Setup.exe"},
        {"", std::nullopt},
        {"dir/", std::nullopt},
        {".", std::nullopt},
        {"a/..", std::nullopt},
        {"bad\nname", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(UpdateLocalFileName(c.name), c.file) << c.name;
}

TEST(UpdateServer, CommandLineThenEnvironmentThenTheReservedDomain) {
    unsetenv(kUpdateServerVariable);
    EXPECT_EQ(ResolveUpdateApiRoot(std::nullopt), kDefaultUpdateApiRoot);
    EXPECT_NE(std::string(kDefaultUpdateApiRoot).find(".invalid/"), std::string::npos);
    setenv(kUpdateServerVariable, "http://127.0.0.1:9/api/", 1);
    EXPECT_EQ(ResolveUpdateApiRoot(std::nullopt), "http://127.0.0.1:9/api/");
    EXPECT_EQ(ResolveUpdateApiRoot(std::string("https://h/x/")), "https://h/x/");
    unsetenv(kUpdateServerVariable);

    struct Case {
        const char* url;
        bool valid;
    };
    const Case cases[] = {{"http://h/api/", true}, {"https://h:8443/", true},   {"http://h/api", false},
                          {"ftp://h/api/", false}, {"file:///tmp/", false},    {"", false},
                          {"h/api/", false}};
    for (const Case& c : cases) EXPECT_EQ(IsValidUpdateApiRoot(c.url), c.valid) << c.url;
}

}  // namespace
}  // namespace zevik::test
