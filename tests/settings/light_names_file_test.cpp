// The light files as the lighting pages read them: the effect names with their values and
// visibility, the zone names and the user's sequence names, per device kind. Hand-edited or damaged
// files read as absent where they are wrong, and are never written.

#include "settings/light_names_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zevik {
namespace {

class LightNamesFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("zevik-light-names-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        defaults_ = dir_ / "default_light.json";
        config_ = dir_ / "velda_light.config";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path) << text;
    }
    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir_, defaults_, config_;
};

TEST_F(LightNamesFileTest, ReadsTheKindsEntriesInOrder) {
    Write(defaults_, R"({
      "DefaultLightName": [[{"LightName": "K", "value": 9, "visible": true}],
                           [{"LightName": "Wave", "value": 0, "visible": true},
                            {"LightName": "Hidden", "value": 7, "visible": false},
                            {"LightName": "Off", "value": 10}]],
      "AreaLightName": [[], [{"LightName": "Logo"}, {"LightName": "Strip"}]]})");
    Write(
        config_,
        R"({"LightInfo": [[], [{"LightName": "Mine", "Guid": "a"}, {"LightName": "Other", "Guid": "b"}]]})");
    const LightNames names = ReadLightNames(defaults_, config_, 1);
    ASSERT_EQ(names.modes.size(), 3u);
    EXPECT_EQ(names.modes[0].name, "Wave");
    EXPECT_EQ(names.modes[1].name, "Hidden");
    EXPECT_FALSE(names.modes[1].visible);
    EXPECT_EQ(names.modes[1].value, 7);
    EXPECT_EQ(names.modes[2].value, 10);
    EXPECT_TRUE(names.modes[2].visible) << "an item without \"visible\" shows";
    EXPECT_EQ(names.areas, (std::vector<std::string>{"Logo", "Strip"}));
    EXPECT_EQ(names.sequences, (std::vector<std::string>{"Mine", "Other"}));
}

TEST_F(LightNamesFileTest, WrongTypesReadAsAbsentAndKeepThePositions) {
    Write(defaults_, R"({"DefaultLightName": [[], [
        {"LightName": 5, "value": "3", "visible": "false"},
        "not an object",
        {"LightName": "Third", "value": 2.5, "visible": 0},
        {"LightName": "Fourth", "value": true, "visible": false}]],
      "AreaLightName": [[], {"LightName": "not an array"}]})");
    Write(config_, R"({"LightInfo": [[], [{"LightName": ["x"]}, 7]]})");
    const LightNames names = ReadLightNames(defaults_, config_, 1);
    ASSERT_EQ(names.modes.size(), 4u) << "every element keeps its place";
    EXPECT_EQ(names.modes[0].name, "");
    EXPECT_EQ(names.modes[0].value, LightModeName::kNoValue);
    EXPECT_TRUE(names.modes[0].visible);
    EXPECT_EQ(names.modes[1].name, "");
    EXPECT_EQ(names.modes[2].name, "Third");
    EXPECT_EQ(names.modes[2].value, LightModeName::kNoValue) << "a fraction is not an effect code";
    EXPECT_TRUE(names.modes[2].visible) << "only a boolean hides an item";
    EXPECT_EQ(names.modes[3].value, LightModeName::kNoValue);
    EXPECT_FALSE(names.modes[3].visible);
    EXPECT_TRUE(names.areas.empty());
    EXPECT_EQ(names.sequences, (std::vector<std::string>{"", ""}));
}

TEST_F(LightNamesFileTest, MissingOrDamagedFilesGiveEmptyListsAndStayAsTheyAre) {
    EXPECT_TRUE(ReadLightNames(defaults_, config_, 1).modes.empty());
    EXPECT_FALSE(std::filesystem::exists(defaults_));
    EXPECT_FALSE(std::filesystem::exists(config_));

    const std::string damaged = "{\"DefaultLightName\": [[], [{\"LightName\": \"Wave\"";
    Write(defaults_, damaged);
    Write(config_, "[1, 2");
    const LightNames names = ReadLightNames(defaults_, config_, 1);
    EXPECT_TRUE(names.modes.empty());
    EXPECT_TRUE(names.sequences.empty());
    EXPECT_EQ(Read(defaults_), damaged) << "never rewritten";
    EXPECT_EQ(Read(config_), "[1, 2");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2) << "nothing created or moved";

    // Kinds the files do not have, and a negative kind, read as empty.
    Write(defaults_, R"({"DefaultLightName": [[{"LightName": "K"}]], "AreaLightName": "x"})");
    EXPECT_TRUE(ReadLightNames(defaults_, {}, 3).modes.empty());
    EXPECT_TRUE(ReadLightNames(defaults_, {}, -1).modes.empty());
    EXPECT_EQ(ReadLightNames(defaults_, {}, 0).modes.size(), 1u);
}

TEST_F(LightNamesFileTest, TheShippedFileGivesTheMouseItsEffects) {
    const LightNames names = ReadLightNames(std::filesystem::path(ZEVIK_TEST_DATA_DIR) / ".." / ".." /
                                                "resources" / "DefaultData" / "default_light.json",
                                            {}, 1);
    ASSERT_EQ(names.modes.size(), 12u);
    EXPECT_EQ(names.modes[2].name, "Breathing");
    EXPECT_EQ(names.modes[2].value, 2);
    EXPECT_FALSE(names.modes[11].visible);
}

}  // namespace
}  // namespace zevik
