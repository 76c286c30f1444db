#include "settings/json_file_util.h"

#include <sys/resource.h>

#include <gtest/gtest.h>
#include <json/writer.h>

#include <csignal>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

TEST(JsonFileUtil, StyledTextIsJsoncppStyledFormWithOneMoreLineEnd) {
    const Json::Value v = test::Parse(R"({"b": [1, 2], "a": {"x": "y"}, "c": []})");
    const std::string expected =
        "{\n"
        "   \"a\" : {\n"
        "      \"x\" : \"y\"\n"
        "   },\n"
        "   \"b\" : [ 1, 2 ],\n"
        "   \"c\" : []\n"
        "}\n"
        "\n";
    EXPECT_EQ(CJsonFileUtil::StyledText(v), expected);
    EXPECT_EQ(CJsonFileUtil::StyledText(v), Json::StyledWriter().write(v) + "\n");
}

TEST(JsonFileUtil, WriteThenReadGivesTheSameDocumentAndBytes) {
    TempFolder dir;
    const Json::Value v = test::Parse(R"({"Device": [{"LightInfo": {"Red": 255, "name": "Spiel \u00fc"}}]})");
    const CJsonFileUtil util;
    ASSERT_TRUE(util.WriteJsonFile(dir / "p.Json", v));
    EXPECT_EQ(test::ReadText(dir / "p.Json"), CJsonFileUtil::StyledText(v));
    EXPECT_EQ(util.ReadJsonFile(dir / "p.Json"), v);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(JsonFileUtil, ReadFailuresGiveNullAndTellWhy) {
    TempFolder dir;
    test::WriteText(dir / "empty", "");
    test::WriteText(dir / "broken", "{\"Device\": [");
    test::WriteText(dir / "deep", std::string(5000, '[') + std::string(5000, ']'));
    fs::create_directory(dir / "folder");
    {
        std::ofstream big(dir / "big", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(CJsonFileUtil::kMaxFileSize) + 1);
        big.put('}');
    }
    const struct {
        const char* name;
        JsonReadStatus status;
    } cases[] = {{"missing", JsonReadStatus::Missing}, {"empty", JsonReadStatus::Invalid},
                 {"broken", JsonReadStatus::Invalid},  {"deep", JsonReadStatus::Invalid},
                 {"folder", JsonReadStatus::Unreadable}, {"big", JsonReadStatus::Unreadable}};
    const CJsonFileUtil util;
    for (const auto& c : cases) {
        JsonReadStatus status = JsonReadStatus::Ok;
        EXPECT_TRUE(util.ReadJsonFile(dir / c.name, status).isNull()) << c.name;
        EXPECT_EQ(status, c.status) << c.name;
    }
}

TEST(JsonFileUtil, FailedWriteIntoMissingOrBlockedFolderIsReported) {
    TempFolder dir;
    test::WriteText(dir / "file", "x");
    const CJsonFileUtil util;
    const JsonWriteResult noFolder = util.WriteJsonFile(dir / "nowhere" / "p.Json", Json::Value(1));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.message.find("nowhere"), std::string::npos);
    // The target is a folder: the rename fails and the folder stays.
    fs::create_directory(dir / "taken");
    test::WriteText(dir / "taken" / "inside", "keep");
    EXPECT_FALSE(util.WriteJsonFile(dir / "taken", Json::Value(1)).ok);
    EXPECT_EQ(test::ReadText(dir / "taken" / "inside"), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(JsonFileUtil, WriteThatFailsHalfWayLeavesTheOldFileIntact) {
    // A file size limit makes the write fail part-way as a full disk does, even for root.
    TempFolder dir;
    const fs::path file = dir / "p.Json";
    test::WriteText(file, "{\"old\" : 1}\n");
    Json::Value big(Json::arrayValue);
    for (int i = 0; i < 5000; ++i) big.append(i);

    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const JsonWriteResult result = CJsonFileUtil().WriteJsonFile(file, big);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(test::ReadText(file), "{\"old\" : 1}\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(JsonFileUtil, WriteIntoReadOnlyFolderLeavesTheOldFileIntact) {
    if (test::RunningAsRoot()) GTEST_SKIP() << "permissions do not stop root; the size-limit test covers this";
    TempFolder dir;
    const fs::path file = dir / "p.Json";
    test::WriteText(file, "old");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(CJsonFileUtil().WriteJsonFile(file, Json::Value(1)).ok);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(test::ReadText(file), "old");
}

TEST(JsonFileUtil, TimeStampsKeepTheFormatAndNeverRepeat) {
    const std::regex format(R"(\d{4}_\d{2}_\d{2}_\d{2}_\d{2}_\d{2}_\d{3})");
    std::set<std::string> seen;
    std::vector<std::string> fromThreads[2];
    for (int i = 0; i < 2000; ++i) {
        const std::string stamp = CJsonFileUtil::MakeTimeStamp();
        ASSERT_TRUE(std::regex_match(stamp, format)) << stamp;
        ASSERT_TRUE(seen.insert(stamp).second) << stamp;
    }
    std::thread a([&] { for (int i = 0; i < 500; ++i) fromThreads[0].push_back(CJsonFileUtil::MakeTimeStamp()); });
    std::thread b([&] { for (int i = 0; i < 500; ++i) fromThreads[1].push_back(CJsonFileUtil::MakeTimeStamp()); });
    a.join();
    b.join();
    for (const auto& list : fromThreads) {
        for (const auto& stamp : list) EXPECT_TRUE(seen.insert(stamp).second) << stamp;
    }
}

TEST(JsonFileUtil, FileTitleAndMoveAside) {
    EXPECT_EQ(CJsonFileUtil::GetFileTitle("/a/b/Game.json"), "Game");
    EXPECT_EQ(CJsonFileUtil::GetFileTitle("Game.v2.json"), "Game.v2");
    TempFolder dir;
    test::WriteText(dir / "x.Json", "first");
    EXPECT_EQ(CJsonFileUtil::MoveAside(dir / "x.Json"), dir / "x.Json.bad");
    test::WriteText(dir / "x.Json", "second");
    EXPECT_EQ(CJsonFileUtil::MoveAside(dir / "x.Json"), dir / "x.Json.2.bad");
    EXPECT_EQ(test::ReadText(dir / "x.Json.bad"), "first");
    EXPECT_EQ(test::ReadText(dir / "x.Json.2.bad"), "second");
    EXPECT_TRUE(CJsonFileUtil::MoveAside(dir / "gone").empty());
}

}  // namespace
}  // namespace zevik
