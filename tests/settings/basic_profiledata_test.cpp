#include "settings/basic_profiledata.h"

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// A default file with one factory element, and a profile data object bound to it.
class ProfiledataTest : public ::testing::Test {
protected:
    void SetUp() override {
        factory_ = test::Parse(R"({"LightInfo": {"SelectItem": 3, "Red": 9}, "KeyList": [{"Assignment": 66051, "DefaultAssignment": 1052672}]})");
        Json::Value file;
        file["Device"].append(factory_);
        test::WriteJson(dir_ / "mouse.Json", file);
        data_.SetDefaultPath(dir_ / "mouse.Json");
        data_.SetDeviceIndex(0);
    }
    fs::path Profile() const { return dir_ / "p.Json"; }

    TempFolder dir_;
    Json::Value factory_;
    CBasicProfiledata data_;
};

TEST_F(ProfiledataTest, MissingProfileFileIsCreatedFromTheFactoryElement) {
    EXPECT_EQ(data_.LoadProfile(Profile()), factory_);
    const Json::Value written = test::ReadJson(Profile());
    EXPECT_EQ(written["Device"].size(), 1u);
    EXPECT_EQ(written["Device"][0], factory_);
    EXPECT_TRUE(data_.LastError().empty());
}

TEST_F(ProfiledataTest, FileWithoutTheElementGetsItAndKeepsEverythingElse) {
    const struct {
        const char* name;
        const char* content;
    } cases[] = {
        {"empty Device", R"({"Device": [], "profilename": "Game"})"},
        {"no Device", R"({"profilename": "Game"})"},
        {"null element", R"({"Device": [null, {"other": 1}], "profilename": "Game"})"},
        {"element not an object", R"({"Device": [5, {"other": 1}], "profilename": "Game"})"},
    };
    for (const auto& c : cases) {
        test::WriteText(Profile(), c.content);
        const Json::Value before = test::Parse(c.content);
        EXPECT_EQ(data_.LoadProfile(Profile()), factory_) << c.name;
        const Json::Value after = test::ReadJson(Profile());
        EXPECT_EQ(after["Device"][0], factory_) << c.name;
        EXPECT_EQ(after["profilename"], "Game") << c.name;
        if (before["Device"].size() > 1) {
            EXPECT_EQ(after["Device"][1], before["Device"][1]) << c.name;
        }
        EXPECT_FALSE(fs::exists(dir_ / "p.Json.bad")) << c.name;
    }
}

TEST_F(ProfiledataTest, ElementOfAnotherDeviceIndexIsAddedBesideTheFirst) {
    Json::Value withTwo;
    withTwo["Device"].append(factory_);
    withTwo["Device"].append(factory_);
    test::WriteJson(dir_ / "mouse.Json", withTwo);
    test::WriteText(Profile(), R"({"Device": [{"mine": 1}]})");
    data_.SetDeviceIndex(1);
    EXPECT_EQ(data_.LoadProfile(Profile()), factory_);
    const Json::Value after = test::ReadJson(Profile());
    EXPECT_EQ(after["Device"][0], test::Parse(R"({"mine": 1})"));
    EXPECT_EQ(after["Device"][1], factory_);
}

TEST_F(ProfiledataTest, DamagedProfileIsMovedAsideBeforeTheFactoryElementIsWritten) {
    const struct {
        const char* name;
        const char* content;
        bool keepsName;
    } cases[] = {
        {"not JSON", "{\"Device\": [ {\"Red\": 1", false},
        {"root an array", "[1, 2, 3]", false},
        {"Device an object", R"({"Device": {"0": 1}, "profilename": "Game"})", true},
    };
    for (const auto& c : cases) {
        test::WriteText(Profile(), c.content);
        EXPECT_EQ(data_.LoadProfile(Profile()), factory_) << c.name;
        EXPECT_EQ(test::ReadText(dir_ / "p.Json.bad"), c.content) << c.name;
        const Json::Value after = test::ReadJson(Profile());
        EXPECT_EQ(after["Device"][0], factory_) << c.name;
        EXPECT_EQ(after.isMember("profilename"), c.keepsName) << c.name;
        fs::remove(dir_ / "p.Json.bad");
    }
}

TEST_F(ProfiledataTest, WithoutFactoryElementNothingIsWritten) {
    data_.SetDefaultPath(dir_ / "absent.Json");
    test::WriteText(Profile(), R"({"Device": []})");
    EXPECT_TRUE(data_.LoadProfile(Profile()).isNull());
    EXPECT_EQ(test::ReadText(Profile()), R"({"Device": []})");
    EXPECT_FALSE(data_.LastError().empty());
    EXPECT_EQ(data_.GetLightInfo(), LightInfoRecord{});
    EXPECT_TRUE(data_.GetKeyList().empty());
}

TEST_F(ProfiledataTest, MultiColorIsReadAsTruthAndSavedAsOne) {
    test::WriteText(Profile(), R"({"Device": [{"LightInfo": {"MultiColor": 7, "Red": 300, "Speed": -1}}]})");
    data_.SetProfilePath(Profile());
    data_.LoadProfile(Profile());
    LightInfoRecord info = data_.GetLightInfo();
    EXPECT_EQ(info.multiColor, 1);
    EXPECT_EQ(info.red, 300 & 0xFF);  // truncated to the field
    EXPECT_EQ(info.speed, 0xFF);
    data_.SetLightInfo(info);
    ASSERT_TRUE(data_.SaveProfile());
    const Json::Value saved = test::ReadJson(Profile())["Device"][0]["LightInfo"];
    EXPECT_EQ(saved["MultiColor"], 1);
    EXPECT_EQ(saved.size(), 11u);  // the eleven keys, nothing of bytes 8 to 10
}

TEST_F(ProfiledataTest, AssignmentCodesAreSplitAndJoined) {
    data_.SetProfilePath(Profile());
    data_.LoadProfile(Profile());
    std::vector<KeyAssignRecord> keys = data_.GetKeyList();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].keyIndex, 0);
    EXPECT_EQ(keys[0].assignment, (AssignmentCode {1, 2, 3}));
    EXPECT_EQ(keys[0].defaultAssignment, (AssignmentCode {0x10, 0x10, 0}));
    keys[0].assignment = AssignmentCode {0x20, 0x02, 0x04};
    data_.SetKeyList(keys);
    ASSERT_TRUE(data_.SaveProfile());
    const Json::Value saved = test::ReadJson(Profile())["Device"][0]["KeyList"][0];
    EXPECT_EQ(saved["Assignment"], 0x200204);
    EXPECT_EQ(saved["DefaultAssignment"], 1052672);  // never written by the program
    EXPECT_EQ(AssignmentCode::FromInt(0x7F010203), (AssignmentCode {1, 2, 3}));  // only the low 24 bits
}

TEST_F(ProfiledataTest, AbsentSectionsGiveTheirFallbacks) {
    test::WriteText(Profile(), R"({"Device": [{"AudioLightInfo": {"AudioMode": 4, "7ColorFlags": 2}}]})");
    data_.LoadProfile(Profile());
    EXPECT_EQ(data_.GetAudioLightInfo().audioMode, 4);
    EXPECT_EQ(data_.GetAudioLightInfo().sevenColorFlags, 1);
    test::WriteText(Profile(), R"({"Device": [{"Other": 1}]})");
    data_.LoadProfile(Profile());
    EXPECT_EQ(data_.GetLightInfo(), LightInfoRecord {});
    EXPECT_TRUE(data_.GetLightList().empty());
    EXPECT_TRUE(data_.GetKeyList().empty());
    EXPECT_EQ(data_.GetAudioLightInfo().audioMode, 4);  // the last cached values
}

TEST_F(ProfiledataTest, WrongTypesReadAsAbsentWithoutChangingTheDocument) {
    const char* content = R"({"Device": [{
        "LightInfo": {"SelectItem": "three", "Light": [1], "Red": {"x": 1}, "Green": 2.9, "Blue": true, "MultiColor": "yes"},
        "AudioLightInfo": [1, 2],
        "LightList": [null, 4, {"LEDREGMode": "a", "red": 7}],
        "KeyList": [{"Assignment": "x"}, 7, {"Assignment": 1e300}]
    }]})";
    test::WriteText(Profile(), content);
    data_.LoadProfile(Profile());
    const Json::Value before = data_.CurrentDocument();
    const LightInfoRecord info = data_.GetLightInfo();
    EXPECT_EQ(info.selectItem, 0);
    EXPECT_EQ(info.light, 0);
    EXPECT_EQ(info.red, 0);
    EXPECT_EQ(info.green, 2);
    EXPECT_EQ(info.blue, 1);
    EXPECT_EQ(info.multiColor, 0);
    data_.GetAudioLightInfo();
    const std::vector<LightListRecord> list = data_.GetLightList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].present, 0);
    EXPECT_EQ(list[1].present, 0);
    EXPECT_EQ(list[2].present, 1);
    EXPECT_EQ(list[2].red, 7);
    const std::vector<KeyAssignRecord> keys = data_.GetKeyList();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].assignment, AssignmentCode {});
    EXPECT_EQ(keys[2].assignment, AssignmentCode {});
    EXPECT_EQ(data_.CurrentDocument(), before);
    EXPECT_EQ(test::ReadJson(Profile()), test::Parse(content));
}

TEST_F(ProfiledataTest, PathsAndUnsavedEdits) {
    data_.SetProfilePath(Profile());
    data_.SetProfilePath("");
    EXPECT_EQ(data_.GetProfilePath(), Profile());
    data_.LoadProfile(Profile());
    LightInfoRecord info = data_.GetLightInfo();
    EXPECT_EQ(info.selectItem, 3);
    info.selectItem = 5;
    data_.SetLightInfo(info);
    data_.LoadProfile(dir_ / "other.Json");
    EXPECT_EQ(data_.LoadProfile(Profile())["LightInfo"]["SelectItem"], 3);
    EXPECT_EQ(data_.GetLightInfo().selectItem, 3);
}

TEST_F(ProfiledataTest, SaveKeepsOtherElementsAndReportsFailure) {
    test::WriteText(Profile(), R"({"Device": [{"LightInfo": {"Red": 1}}, {"keep": true}], "profilename": "A"})");
    data_.SetProfilePath(Profile());
    data_.LoadProfile(Profile());
    LightInfoRecord info = data_.GetLightInfo();
    info.red = 200;
    data_.SetLightInfo(info);
    ASSERT_TRUE(data_.SaveProfile());
    Json::Value saved = test::ReadJson(Profile());
    EXPECT_EQ(saved["Device"][0]["LightInfo"]["Red"], 200);
    EXPECT_EQ(saved["Device"][1]["keep"], true);
    EXPECT_EQ(saved["profilename"], "A");

    // A profile file that cannot be read (here a folder) is left alone and the save fails.
    data_.SetProfilePath(dir_ / "sub");
    fs::create_directory(dir_ / "sub");
    EXPECT_FALSE(data_.SaveProfile().ok);
    EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
    CBasicProfiledata unbound;
    EXPECT_FALSE(unbound.SaveProfile().ok);
}

TEST_F(ProfiledataTest, CustomLightEffectsComeFromTheSelectedSequenceFile) {
    test::WriteText(dir_ / "velda_light.config",
                    R"({"LightInfo": [[{"LightName": "a", "Guid": "seq0"}, {"LightName": "b", "Guid": "seq1"}]]})");
    test::WriteText(dir_ / "seq1.light", R"({"LEDEffectList": [
        {"LEDREGMode": 1, "LEDBrightness": 4, "LEDSpeed": 2, "LEDDirection": 1, "LEDMultiColor": 0,
         "red": 10, "green": 20, "blue": 30, "Time": 1500, "Cyle": 2}, "junk"]})");
    test::WriteText(Profile(), R"({"Device": [{"LightInfo": {"SelectItem": 1}}]})");
    data_.SetLightConfigPath(dir_ / "velda_light.config");
    data_.LoadProfile(Profile());
    data_.LoadLightConfig(dir_ / "velda_light.config");
    data_.GetLightInfo();
    const std::vector<LightEffectRecord> steps = data_.GetCustomLightEffects();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (LightEffectRecord {1, 4, 2, 1, 0, 10, 20, 30, 1500, 2}));
    EXPECT_EQ(steps[1], LightEffectRecord {});
    test::WriteText(Profile(), R"({"Device": [{"LightInfo": {"SelectItem": 7}}]})");
    data_.LoadProfile(Profile());
    data_.GetLightInfo();
    EXPECT_TRUE(data_.GetCustomLightEffects().empty());
}

}  // namespace
}  // namespace zevik
