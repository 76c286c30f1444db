#include "update/update_check.h"
#include "update/update_download_folder.h"
#include "update/update_session.h"
#include "update/update_time_file.h"

#include "update/http_test_server.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace zevik::test {
namespace {

std::string Hex(std::string_view text) {
    std::string hex;
    for (const unsigned char c : text) hex += fmt::format("{:02x}", c);
    return hex;
}

// The mouse at firmware 0x010F and the program at 1.0.7; receiver and mousepad absent.
UpdateTable InstalledTable() {
    UpdateTable table = MakeUpdateTable();
    InstalledVersions installed;
    installed.mouseFirmware = 0x010F;
    installed.software = 107;
    installed.softwareText = "1.0.7";
    RefreshUpdateVersions(table, installed);
    return table;
}

class UpdateSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zevik-update-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        std::string error;
        const auto downloads = PrepareUpdateDownloadFolder(folder_, error);
        ASSERT_TRUE(downloads) << error;
        downloads_ = *downloads;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // A server answering per app key; keys not given get 404 (an unreadable answer).
    std::string KeyedRoot(const HttpTestServer& server, const Json::Value& answers) const {
        return server.Url("/keyed/" + Hex(Json::FastWriter().write(answers)) + "/api/");
    }
    UpdateSessionOptions Options(std::string apiRoot) const {
        return UpdateSessionOptions{std::move(apiRoot), folder_ / "data", downloads_, std::chrono::milliseconds(0)};
    }
    static Json::Value Answer(const std::string& version, const std::string& name, const std::string& path) {
        Json::Value answer(Json::objectValue);
        answer["version"] = version;
        answer["version_name"] = version;
        answer["name"] = name;
        answer["path"] = path;
        answer["device_id"] = 2;
        return answer;
    }

    std::filesystem::path folder_;
    std::filesystem::path downloads_;
};

TEST_F(UpdateSessionTest, TheCheckListsPresentEntriesAndEndsInItsWindowState) {
    HttpTestServer server;
    const UpdateTable table = InstalledTable();
    const std::string mouseKey = BuildAppKey(Row(table, UpdateRow::Mouse));
    const std::string driverKey = BuildAppKey(Row(table, UpdateRow::Software));
    struct Case {
        const char* what;
        Json::Value answers;
        bool reachable;
        UpdateWindowState window;
        UpdateRowState mouse;
        UpdateRowState driver;
    };
    Json::Value current(Json::objectValue);
    current[mouseKey] = Answer("010f", "M", "");
    current[driverKey] = Answer("107", "D", "");
    Json::Value newer = current;
    newer[driverKey] = Answer("108", "Setup", server.Url("/file/10"));
    Json::Value unsafe = current;
    unsafe[mouseKey] = Answer("0110", "..", server.Url("/file/10"));
    const Case cases[] = {
        {"nobody answers", Json::Value(Json::objectValue), false, UpdateWindowState::NotReached,
         UpdateRowState::UpToDate, UpdateRowState::UpToDate},
        {"unreachable", current, false, UpdateWindowState::NotReached, UpdateRowState::UpToDate,
         UpdateRowState::UpToDate},
        {"all current", current, true, UpdateWindowState::AllCurrent, UpdateRowState::UpToDate,
         UpdateRowState::UpToDate},
        {"program newer", newer, true, UpdateWindowState::HaveUpdates, UpdateRowState::UpToDate,
         UpdateRowState::Needed},
        {"unsafe name", unsafe, true, UpdateWindowState::HaveUpdates, UpdateRowState::Failed,
         UpdateRowState::UpToDate},
    };
    for (const Case& c : cases) {
        UpdateSession session(table, Options(c.reachable ? KeyedRoot(server, c.answers) : "http://127.0.0.1:1/api/"),
                              nullptr);
        session.Start();
        session.WaitForCheck();
        const UpdateSessionSnapshot snapshot = session.Snapshot();
        ASSERT_EQ(snapshot.rows.size(), 2u) << c.what;  // receiver and mousepad absent
        EXPECT_EQ(snapshot.window, c.window) << c.what;
        EXPECT_EQ(snapshot.rows[0].displayName, "R300 Prime");
        EXPECT_EQ(snapshot.rows[0].state, c.mouse) << c.what;
        EXPECT_EQ(snapshot.rows[0].currentText, "V010f") << c.what;
        EXPECT_EQ(snapshot.rows[1].displayName, "Driver");
        EXPECT_EQ(snapshot.rows[1].state, c.driver) << c.what;
        EXPECT_EQ(snapshot.rows[1].currentText, "1.0.7") << c.what;
        for (const UpdateListRow& row : snapshot.rows) {
            const bool offered = row.state != UpdateRowState::UpToDate;
            EXPECT_EQ(row.checked, offered) << c.what;
            EXPECT_EQ(row.newText.empty(), !offered) << c.what;
        }
    }
}

TEST_F(UpdateSessionTest, ConfirmedDownloadsLandInTheFolderOrFailWithoutAFile) {
    HttpTestServer server;
    UpdateTable table = InstalledTable();
    InstalledVersions installed;
    installed.mouseFirmware = 0x010F;
    installed.mousepadFirmware = 0x0100;
    installed.software = 107;
    RefreshUpdateVersions(table, installed);
    Json::Value answers(Json::objectValue);
    answers[BuildAppKey(Row(table, UpdateRow::Mouse))] = Answer("0110", "R300P_0110", server.Url("/file/300000"));
    answers[BuildAppKey(Row(table, UpdateRow::Mousepad))] = Answer("0101", "Pad", server.Url("/missing"));
    answers[BuildAppKey(Row(table, UpdateRow::Software))] = Answer("108", "Setup", server.Url("/file/10"));
    std::atomic<int> posts{0};
    UpdateSession session(table, Options(KeyedRoot(server, answers)), [&posts] { ++posts; });
    session.Start();
    session.WaitForCheck();
    ASSERT_EQ(session.Snapshot().window, UpdateWindowState::HaveUpdates);
    session.SetChecked(2, false);  // the program's row stays as it is
    ASSERT_TRUE(session.ConfirmDownloads());
    session.WaitForDownloads();

    const UpdateSessionSnapshot after = session.Snapshot();
    EXPECT_EQ(after.window, UpdateWindowState::HaveUpdates);
    EXPECT_EQ(after.rows[0].state, UpdateRowState::Downloaded);
    EXPECT_EQ(after.rows[0].percent, 100);
    EXPECT_EQ(after.rows[0].localFile, downloads_ / "R300P_0110.exe");
    EXPECT_EQ(std::filesystem::file_size(downloads_ / "R300P_0110.exe"), 300000u);
    EXPECT_EQ(after.rows[1].state, UpdateRowState::Failed);
    EXPECT_FALSE(std::filesystem::exists(downloads_ / "Pad.exe"));
    EXPECT_EQ(after.rows[2].state, UpdateRowState::Needed);
    EXPECT_FALSE(after.rows[2].checked);
    EXPECT_FALSE(std::filesystem::exists(downloads_ / "Setup.exe"));
    EXPECT_TRUE(session.TakeSavedNotice());
    EXPECT_FALSE(session.TakeSavedNotice());
    // 293 blocks of the 300000 bytes: the UI hears of each percentage once, not of every block.
    EXPECT_LT(posts.load(), 120);
    EXPECT_TRUE(session.CanClose());
}

TEST_F(UpdateSessionTest, StoppingMidDownloadCancelsAndLeavesNoFile) {
    HttpTestServer server;
    const UpdateTable table = InstalledTable();
    Json::Value answers(Json::objectValue);
    answers[BuildAppKey(Row(table, UpdateRow::Mouse))] = Answer("0110", "Stalled", server.Url("/stall"));
    UpdateSession session(table, Options(KeyedRoot(server, answers)), nullptr);
    session.Start();
    session.WaitForCheck();
    ASSERT_TRUE(session.ConfirmDownloads());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (session.Snapshot().rows[0].percent < 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(session.Snapshot().rows[0].state, UpdateRowState::Downloading);
    EXPECT_FALSE(session.CanClose());
    const auto start = std::chrono::steady_clock::now();
    session.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(std::filesystem::is_empty(downloads_));
}

TEST(UpdateCloseRule, OnlyWaitingOrRunningDownloadsHoldTheWindow) {
    struct Case {
        UpdateRowState state;
        bool busy;
        const char* key;
    };
    const Case cases[] = {
        {UpdateRowState::NotNeeded, false, "LessUpdateText"},  {UpdateRowState::Needed, false, "NeedUpdateText"},
        {UpdateRowState::NeededToo, false, "NeedUpdateText"},  {UpdateRowState::WaitingDownload, true, "DownloadWaitText"},
        {UpdateRowState::Downloading, true, "DownloadIngText"}, {UpdateRowState::Downloaded, false, "DownloadOkText"},
        {UpdateRowState::Installing, false, "UpdateIngText"},  {UpdateRowState::UpToDate, false, "UpdateOkText"},
        {UpdateRowState::Failed, false, "UpdateFailText"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpdateRowIsBusy(c.state), c.busy) << c.key;
        EXPECT_EQ(UpdateRowTextKey(c.state), c.key);
    }
}

TEST_F(UpdateSessionTest, TheCheckDateIsKeptAndADamagedFileMovedAside) {
    const std::filesystem::path data = folder_ / "data";
    EXPECT_EQ(ReadOrStartUpdateTime(data), UpdateDateText());
    ASSERT_TRUE(WriteUpdateTime(data, "2020-1-2"));
    EXPECT_EQ(ReadOrStartUpdateTime(data), "2020-1-2");
    std::ofstream(data / kUpdateTimeFileName) << "{broken";
    EXPECT_EQ(ReadOrStartUpdateTime(data), UpdateDateText());
    EXPECT_TRUE(std::filesystem::exists(data / "updatetime.config.bad"));
}

TEST_F(UpdateSessionTest, TheDownloadFolderIsPrivate) {
    struct stat info {};
    ASSERT_EQ(stat(downloads_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(downloads_.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    std::string error;
    const std::filesystem::path open = folder_ / "open";
    std::filesystem::create_directories(open / downloads_.parent_path().filename());
    chmod((open / downloads_.parent_path().filename()).c_str(), 0777);
    EXPECT_FALSE(PrepareUpdateDownloadFolder(open, error));
    EXPECT_NE(error.find("open to other users"), std::string::npos) << error;

    const std::filesystem::path linked = folder_ / "linked";
    std::filesystem::create_directories(linked);
    std::filesystem::create_directory_symlink(downloads_.parent_path(), linked / downloads_.parent_path().filename());
    EXPECT_FALSE(PrepareUpdateDownloadFolder(linked, error));
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
}

}  // namespace
}  // namespace zevik::test
