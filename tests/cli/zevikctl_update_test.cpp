// zevikctl update against the local test server: the rows it prints, the downloads it stores and
// its exit codes.

#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "process_run.h"
#include "update/http_test_server.h"

namespace {

using zevik::test::HttpTestServer;
using zevik::test::Outcome;
using zevik::test::ParseJson;

std::string Hex(const std::string& text) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : text) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

class ZevikctlUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevikctl-update-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_ / "tmp");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // zevikctl with a private temporary folder and data folder, no update server in the environment.
    Outcome Update(const std::string& arguments) const {
        return zevik::test::RunShell("env -u ZEVIK_UPDATE_SERVER -u ZEVIK_UPDATE_CA_FILE TMPDIR=" +
                                         (dir_ / "tmp").string() + " " + ZEVIKCTL_PATH + " --data-dir " +
                                         (dir_ / "data").string() + " " + arguments,
                                     "2>" + (dir_ / "err.txt").string());
    }
    // A batch script on stdin, with the same private folders.
    Outcome Batch(const std::string& options, const std::string& script) const {
        std::ofstream(dir_ / "script.txt") << script;
        return Update(options + " batch < " + (dir_ / "script.txt").string());
    }
    std::string Errors() const {
        std::ifstream in(dir_ / "err.txt");
        std::string all;
        for (std::string line; std::getline(in, line);) all += line + '\n';
        return all;
    }
    std::filesystem::path Downloads() const {
        return dir_ / "tmp" / ("ZEVIK-R300Prime-" + std::to_string(getuid())) / "UpdateData";
    }

    std::filesystem::path dir_;
};

TEST_F(ZevikctlUpdateTest, BadWordsExitTwoBeforeAnythingOpens) {
    const char* cases[] = {
        "update check --server ftp://127.0.0.1/api/",
        "update check --server http://127.0.0.1/api",
        "update check --server file:///tmp/",
        "update download --ca-file /nonexistent/ca.pem",
        "update",
        "update fetch",
    };
    for (const char* words : cases) EXPECT_EQ(Update(words).exitCode, 2) << words;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "data" / "updatetime.config"));
}

TEST_F(ZevikctlUpdateTest, WithoutAServiceTheDriverRowStaysCurrentAndTheExitIsOne) {
    // The built-in service lies under ".invalid": it never resolves.
    const Outcome run = Update("update check");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Driver\t7\tUpdateOkText\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("window\t2\tNoUpdateInfoText\n"), std::string::npos) << run.out;
}

TEST_F(ZevikctlUpdateTest, CheckAndDownloadTheProgramsPackage) {
    HttpTestServer server;
    // Any entry gets the same answer: a newer program. The keys are the service's business.
    Json::Value answer(Json::objectValue);
    answer["version"] = "99999";
    answer["version_name"] = "9.9.9.99";
    answer["name"] = "Setup";
    answer["path"] = server.Url("/file/4000");
    answer["device_id"] = 1;
    const std::string root = server.Url("/answer/" + Hex(Json::FastWriter().write(answer)) + "/api/");

    const Outcome check = Update("--json update check --server " + root);
    EXPECT_EQ(check.exitCode, 0);
    const Json::Value doc = ParseJson(check.out);
    EXPECT_EQ(doc["window"]["state"].asInt(), 1);
    EXPECT_EQ(doc["window"]["text"].asString(), "HaveUpdateInfoText");
    ASSERT_EQ(doc["rows"].size(), 1u);  // no device: only the program itself
    EXPECT_EQ(doc["rows"][0]["entry"].asString(), "Driver");
    EXPECT_EQ(doc["rows"][0]["state"].asInt(), 1);
    EXPECT_EQ(doc["rows"][0]["new"].asString(), "V9.9.9.99");
    EXPECT_EQ(doc["rows"][0]["device_id"].asInt(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "data" / "updatetime.config"));

    const Outcome download = Update("update download --server " + root);
    EXPECT_EQ(download.exitCode, 0);
    const std::string file = (Downloads() / "Setup.exe").string();
    EXPECT_NE(download.out.find("Driver\t5\tDownloadOkText\t"), std::string::npos) << download.out;
    EXPECT_NE(download.out.find(file), std::string::npos) << download.out;
    EXPECT_EQ(std::filesystem::file_size(file), 4000u);

    // A package that cannot be fetched: the row fails, no file, exit 1.
    answer["name"] = "Broken";
    answer["path"] = server.Url("/missing");
    const std::string broken = server.Url("/answer/" + Hex(Json::FastWriter().write(answer)) + "/api/");
    const Outcome failed = Update("update download --server " + broken);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.out.find("Driver\t8\tUpdateFailText\t"), std::string::npos) << failed.out;
    EXPECT_FALSE(std::filesystem::exists(Downloads() / "Broken.exe"));
}

// The batch words: checked before anything opens, then run as the command runs them.
TEST_F(ZevikctlUpdateTest, BatchWordsAreCheckedFirstAndRunAsTheCommand) {
    struct Bad {
        const char* line;
        const char* says;
    };
    for (const Bad& bad : {Bad{"update check --server ftp://127.0.0.1/api/", "--server"},
                           Bad{"update fetch", "check or download"},
                           Bad{"update check --server", "--server URL"},
                           Bad{"emulator firmware mouse 70000", "0 to 65535"},
                           Bad{"emulator firmware mouse 0x1G", "0 to 65535"}}) {
        const Outcome run = Batch("--emulate mouse", std::string("wait 1\n") + bad.line + "\n");
        EXPECT_EQ(run.exitCode, 2) << bad.line;
        EXPECT_NE(Errors().find("line 2"), std::string::npos) << Errors();
        EXPECT_NE(Errors().find(bad.says), std::string::npos) << Errors();
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "data" / "updatetime.config"));

    HttpTestServer server;
    Json::Value answer(Json::objectValue);
    answer["version"] = "99999";
    answer["version_name"] = "9.9.9.99";
    answer["name"] = "Setup";
    answer["path"] = server.Url("/file/100");
    answer["device_id"] = 1;
    const std::string root = server.Url("/answer/" + Hex(Json::FastWriter().write(answer)) + "/api/");
    const Outcome run = Batch("--emulate mouse", "update check --server " + root + "\n");
    EXPECT_EQ(run.exitCode, 0) << Errors();
    // The mouse's firmware (emulated at 0110) is asked too: every entry gets the same answer here.
    EXPECT_NE(run.out.find("R300 Prime\t1\tNeedUpdateText\tV0110\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Driver\t1\tNeedUpdateText\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("window\t1\tHaveUpdateInfoText\n"), std::string::npos) << run.out;
}

// Firmware older than the program needs, from the mouse's next plug on: the notice, and the
// program goes on.
TEST_F(ZevikctlUpdateTest, OldFirmwareFromTheNextPlugOnBringsTheNotice) {
    const Outcome run = Batch("--emulate mouse",
                              "emulator firmware mouse 0x10F\nemulator unplug mouse\nwait 300\n"
                              "emulator plug mouse\nwait 1500\nmouse show\n");
    EXPECT_EQ(run.exitCode, 0) << Errors();
    EXPECT_NE(Errors().find("dialog message_text_30"), std::string::npos) << Errors();
}

}  // namespace
