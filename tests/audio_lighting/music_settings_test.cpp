#include "audio_lighting/music_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "settings/json_file_util.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

const fs::path kShippedDefault = fs::path(ZEVIK_RESOURCE_DIR) / "DefaultData" / "AudioFile.json";

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The same document, whatever the writer's escapes.
bool SameDocument(const fs::path& a, const fs::path& b) {
    const Json::Value left = CJsonFileUtil().ReadJsonFile(a);
    return !left.isNull() && left == CJsonFileUtil().ReadJsonFile(b);
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class MusicSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("music-settings-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        user_ = folder_ / "AudioFile.json";
        factory_ = folder_ / "factory.json";
        fs::copy_file(kShippedDefault, factory_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    fs::path user_;
    fs::path factory_;
};

MusicStyleRecord ShippedRecord() {
    MusicStyleRecord r;
    r.names = {"第一组", "第二组", "第三组", "第四组"};
    r.groups = {{{9, 9, 0}, {9, 0, 9}, {0, 9, 3}, {9, 9, 9}}};
    return r;
}

TEST_F(MusicSettingsTest, ShippedCopyHoldsFourNamedGroups) {
    CMusicSettings settings(user_, factory_);
    EXPECT_EQ(settings.Load(), ShippedRecord());
    EXPECT_TRUE(SameDocument(user_, factory_));
}

// Every unusable user copy is replaced by the factory copy; a damaged one is kept aside.
TEST_F(MusicSettingsTest, UnusableUserCopyIsReplaced) {
    struct Case {
        const char* what;
        const char* text;  // nullptr: no file
        bool keptAside;
    };
    const Case cases[] = {
        {"missing", nullptr, false},
        {"not JSON", "{\"Device\": {", true},
        {"without Device", "{\"Other\": 1}", false},
        {"Device not an object", "{\"Device\": 7}", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(user_);
        fs::remove(fs::path(user_.string() + ".bad"));
        if (c.text != nullptr) WriteText(user_, c.text);
        CMusicSettings settings(user_, factory_);
        EXPECT_EQ(settings.Load(), ShippedRecord());
        EXPECT_TRUE(SameDocument(user_, factory_));
        EXPECT_EQ(fs::exists(user_.string() + ".bad"), c.keptAside);
        if (c.keptAside) {
            EXPECT_EQ(ReadText(user_.string() + ".bad"), c.text);
        }
    }
}

TEST_F(MusicSettingsTest, UsableUserCopyIsKeptAndWrongTypesReadAsAbsent) {
    WriteText(user_, R"({"Keep": "me", "Device": {"AudioLightInfo": {
        "nAudioStyle": 2, "nStyleName1": "Bass", "nStyleName2": 5,
        "nStyleR0": 300, "nStyleG0": "9", "nStyleB0": 4, "nStyleR3": -1}}})");
    const std::string before = ReadText(user_);
    CMusicSettings settings(user_, factory_);
    const MusicStyleRecord r = settings.Load();
    EXPECT_EQ(r.style, 2);
    EXPECT_EQ(r.names[0], "Bass");
    EXPECT_EQ(r.names[1], "");  // a number is no name
    // Numbers keep their low eight bits; a string is no number.
    EXPECT_EQ(r.groups[0], (std::array<std::uint8_t, 3>{44, 0, 4}));
    EXPECT_EQ(r.groups[3][0], 255);
    EXPECT_EQ(ReadText(user_), before);  // nothing written by loading
}

TEST_F(MusicSettingsTest, MissingRecordOrFactoryCopyGivesTheEmptyRecord) {
    WriteText(user_, R"({"Device": {"Other": 1}})");
    CMusicSettings withoutRecord(user_, factory_);
    EXPECT_EQ(withoutRecord.Load(), MusicStyleRecord{});

    fs::remove(user_);
    fs::remove(factory_);
    CMusicSettings withoutFiles(user_, factory_);
    EXPECT_EQ(withoutFiles.Load(), MusicStyleRecord{});
    EXPECT_FALSE(fs::exists(user_));
    // A save then writes a file that holds only the document.
    MusicStyleRecord r;
    r.style = 3;
    r.names[3] = "Mine";
    r.groups[3] = {0, 0, 9};
    withoutFiles.Set(r);
    ASSERT_TRUE(withoutFiles.Save());
    CMusicSettings reread(user_, factory_);
    EXPECT_EQ(reread.Load(), r);
}

TEST_F(MusicSettingsTest, SetAndSaveKeepOtherMembersAndReadBackTheSame) {
    WriteText(user_, R"({"Keep": "me", "Device": {"AudioLightInfo": {}, "Extra": [1, 2]}})");
    CMusicSettings settings(user_, factory_);
    settings.Load();
    MusicStyleRecord r = ShippedRecord();
    r.style = 1;
    r.names[1] = "低音 ♪";
    r.groups[1] = {1, 2, 3};
    settings.Set(r);
    EXPECT_EQ(settings.Cached(), r);
    EXPECT_EQ(ReadText(user_).find("低音"), std::string::npos);  // written only by Save
    ASSERT_TRUE(settings.Save());

    const Json::Value root = CJsonFileUtil().ReadJsonFile(user_);
    EXPECT_EQ(root["Keep"].asString(), "me");
    EXPECT_EQ(root["Device"]["Extra"].size(), 2u);
    EXPECT_EQ(root["Device"]["AudioLightInfo"]["nStyleName2"].asString(), "低音 ♪");
    EXPECT_EQ(root["Device"]["AudioLightInfo"]["nStyleB1"].asInt(), 3);
    CMusicSettings reread(user_, factory_);
    EXPECT_EQ(reread.Load(), r);
}

TEST_F(MusicSettingsTest, ResetPutsTheFactoryCopyBackOverTheUsersChanges) {
    CMusicSettings settings(user_, factory_);
    settings.Load();
    MusicStyleRecord r = ShippedRecord();
    r.groups[0] = {1, 1, 1};
    settings.Set(r);
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(settings.Reset(), ShippedRecord());
    EXPECT_EQ(settings.Cached(), ShippedRecord());
    EXPECT_TRUE(SameDocument(user_, factory_));
}

TEST_F(MusicSettingsTest, ResetWithoutFactoryCopyLeavesTheUserCopyAlone) {
    CMusicSettings settings(user_, factory_);
    settings.Load();
    const std::string before = ReadText(user_);
    fs::remove(factory_);
    EXPECT_EQ(settings.Reset(), MusicStyleRecord{});
    EXPECT_EQ(ReadText(user_), before);
}

TEST_F(MusicSettingsTest, SaveOverADamagedUserCopyKeepsItAside) {
    CMusicSettings settings(user_, factory_);
    settings.Load();
    WriteText(user_, "garbage");
    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(ReadText(user_.string() + ".bad"), "garbage");
    CMusicSettings reread(user_, factory_);
    EXPECT_EQ(reread.Load(), ShippedRecord());
}

}  // namespace
}  // namespace zevik
