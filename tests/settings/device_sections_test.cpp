#include <gtest/gtest.h>

#include "settings/hs6533_profiledata.h"
#include "settings/keyboard_profiledata.h"
#include "settings/mouse_profiledata.h"
#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Loads document as element 0 of a profile file into data.
void Load(CBasicProfiledata& data, const TempFolder& dir, const std::string& document) {
    test::WriteText(dir / "p.Json", "{\"Device\": [" + document + "]}");
    data.SetProfilePath(dir / "p.Json");
    data.LoadProfile(dir / "p.Json");
}

std::string Stages(int count) {
    std::string list;
    for (int i = 0; i < count; ++i) {
        list += (i ? "," : "") + std::string("{\"StageActive\": 1, \"StageDPIX\": ") + std::to_string(100 * (i + 1)) +
                ", \"StageColorR\": " + std::to_string(i) + "}";
    }
    return R"({"DPIStages": {"StageActive": 2, "StageDPIs": [)" + list + "]}}";
}

TEST(MouseProfiledata, ShorterStageListKeepsTheStagesBeyondIt) {
    TempFolder dir;
    CMouseProfiledata data;
    Load(data, dir, Stages(5));
    ASSERT_EQ(data.GetDpiStages().size(), 5u);
    Load(data, dir, R"({"DPIStages": {"StageActive": 1, "StageDPIs": [{"StageDPIX": 1600}, {}, {}]}})");
    const std::vector<DpiStageRecord> stages = data.GetDpiStages();
    ASSERT_EQ(stages.size(), 5u);
    EXPECT_EQ(stages[0].DpiX(), 1600);
    EXPECT_EQ(stages[0].dpiX[0], 0x40);
    EXPECT_EQ(stages[0].dpiX[1], 0x06);
    EXPECT_EQ(stages[2].DpiX(), 0);
    EXPECT_EQ(stages[3].DpiX(), 400);
    EXPECT_EQ(stages[4].DpiX(), 500);
    EXPECT_EQ(data.GetActiveDpiStage(), 1);
}

TEST(MouseProfiledata, StagesAreWrittenUnsignedAndLongerArraysKeepTheirTail) {
    TempFolder dir;
    CMouseProfiledata data;
    Load(data, dir, Stages(6));
    std::vector<DpiStageRecord> stages(2);
    stages[0].enabled = 1;
    stages[0].SetDpiX(26000);
    stages[0].SetDpiY(50000);
    stages[1].blue = 255;
    data.SetDpiStages(stages);
    data.SetActiveDpiStage(4);
    ASSERT_TRUE(data.SaveProfile());
    const Json::Value section = test::ReadJson(dir / "p.Json")["Device"][0]["DPIStages"];
    EXPECT_EQ(section["StageActive"], 4);
    ASSERT_EQ(section["StageDPIs"].size(), 6u);
    EXPECT_EQ(section["StageDPIs"][0]["StageDPIY"], 50000);
    EXPECT_EQ(section["StageDPIs"][1]["StageColorB"], 255);
    EXPECT_EQ(section["StageDPIs"][5]["StageDPIX"], 600);
}

TEST(MouseProfiledata, SystemValuesArePackedIntoHalfWords) {
    TempFolder dir;
    CMouseProfiledata data;
    Load(data, dir, R"({"SystemStages": {"DoubleClickTime": 500, "MouseSpeed": 10, "PointerPrecision": 1,
        "ScorllPage": 1, "WheelScorlllinse": 3, "DormancyTime": 4, "SilentAltitudeItem": 1, "AntiShake": 2,
        "SensorLif": 5, "MotionSync": 1, "LinearCalibration": 1, "KeyDelay": 3, "DeepSleepOff": 1,
        "sleeptime": 44, "sleeptimeH": 1}, "ReportStages": {"StageActive": 7}})");
    const MouseSystemRecord r = data.GetMouseSystem();
    const std::uint32_t expected[9] = {10u << 16 | 500, 1u << 16 | 1, 7u << 16 | 3, 4,        1u << 16 | 2,
                                       1u << 16 | 1,     3u << 16 | 1, 44u << 16 | 1, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(r.words[static_cast<std::size_t>(i)], expected[i]) << "word " << i;
    data.SetMouseSystem(r);
    ASSERT_TRUE(data.SaveProfile());
    const Json::Value saved = test::ReadJson(dir / "p.Json")["Device"][0];
    EXPECT_EQ(saved["SystemStages"]["SensorLif"], 1);  // boolean: 5 reads as 1 and is written as 1
    EXPECT_EQ(saved["SystemStages"]["sleeptime"], 44);
    EXPECT_EQ(saved["ReportStages"]["StageActive"], 7);
    Load(data, dir, "{}");
    EXPECT_EQ(data.GetMouseSystem(), MouseSystemRecord {});
}

TEST(MouseProfiledata, CorrectionPresetsAreReadInOrder) {
    TempFolder dir;
    CMouseProfiledata data;
    Load(data, dir, R"({"CorrectInfo": [{"CorrectName": "Stärke", "CorrectSelect": 1, "CorrectMinSq": 4,
        "CorrectPixThresh": 2}, {"CorrectName": 5}]})");
    const std::vector<CorrectInfoRecord> list = data.GetCorrectInfo();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (CorrectInfoRecord {2, 4, 1, "Stärke"}));
    EXPECT_EQ(list[1].correctName, "");
}

TEST(KeyboardProfiledata, SystemValuesRoundTrip) {
    TempFolder dir;
    CKeyboardProfiledata data;
    Load(data, dir, R"({"SystemStages": {"Repeat": 31, "RepeatDelay": 2, "Key6Flag": 1, "PollingRate": 4,
        "WFlag": 0, "WinFlag": 1}})");
    KeyboardSystemRecord r = data.GetKeyboardSystem();
    EXPECT_EQ(r.words[0], 2u << 16 | 31);
    EXPECT_EQ(r.words[1], 4u << 16 | 1);
    EXPECT_EQ(r.words[2], 1u << 16);
    r.SetPollingRate(2);
    data.SetKeyboardSystem(r);
    EXPECT_EQ(data.CurrentDocument()["SystemStages"]["PollingRate"], 2);
    EXPECT_EQ(data.CurrentDocument()["SystemStages"]["WinFlag"], 1);
}

TEST(KeyboardProfiledata, MissingColourGroupIsFilledWithZeros) {
    TempFolder dir;
    CKeyboardProfiledata data;
    Load(data, dir, "{}");
    EXPECT_EQ(data.GetKeyColorGroup(), 0);
    const std::vector<KeyColorRecord> colors = data.GetKeyColors(2, 104);
    EXPECT_EQ(colors, std::vector<KeyColorRecord>(104));
    const Json::Value& groups = data.CurrentDocument()["CustomLightMode"]["LightColorInfo"];
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_TRUE(groups[0].isNull());
    EXPECT_TRUE(groups[1].isNull());
    ASSERT_EQ(groups[2].size(), 104u);
    EXPECT_EQ(groups[2][103], test::Parse(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})"));
    // Nothing reaches the disk before a save.
    EXPECT_FALSE(test::ReadJson(dir / "p.Json")["Device"][0].isMember("CustomLightMode"));
}

TEST(KeyboardProfiledata, ColoursAreReadWrittenAndRepaired) {
    TempFolder dir;
    CKeyboardProfiledata data;
    Load(data, dir, R"({"CustomLightMode": {"CustomLightModeGroupIndex": 3,
        "LightColorInfo": [[{"Red": 1, "Green": 2, "Blue": 3, "Alpha": 4}, null, "bad"]]}})");
    EXPECT_EQ(data.GetKeyColorGroup(), 3);
    std::vector<KeyColorRecord> colors = data.GetKeyColors(0, 4);
    ASSERT_EQ(colors.size(), 4u);
    EXPECT_EQ(colors[0], (KeyColorRecord {1, 2, 3, 4}));
    EXPECT_EQ(colors[2], KeyColorRecord {});
    EXPECT_EQ(data.CurrentDocument()["CustomLightMode"]["LightColorInfo"][0][2]["Alpha"], 0);
    colors[1] = {9, 8, 7, 255};
    data.SetKeyColors(colors, 0);
    data.SetKeyColorGroup(1);
    ASSERT_TRUE(data.SaveProfile());
    const Json::Value saved = test::ReadJson(dir / "p.Json")["Device"][0]["CustomLightMode"];
    EXPECT_EQ(saved["LightColorInfo"][0][1]["Blue"], 7);
    EXPECT_EQ(saved["CustomLightModeGroupIndex"], 1);
    EXPECT_TRUE(data.GetKeyColors(100000, 10).empty());
    EXPECT_TRUE(data.GetKeyColors(-1, 10).empty());
}

TEST(Hs6533Profiledata, EqualiserTypesMapToPresetElements) {
    const struct {
        int type;
        int element;
    } cases[] = {{0, 1}, {1, 1}, {7, 7}, {12, 12}, {13, -1}, {14, 1}, {99, 1}, {-5, 1}};
    for (const auto& c : cases) EXPECT_EQ(CHs6533Profiledata::PresetElement(c.type), c.element) << c.type;

    TempFolder dir;
    CHs6533Profiledata data;
    Load(data, dir, R"({"EQHzValueInfo": [[], [{"value": 1}, {"value": 2}, {"value": 3}, {"value": 4}, {"value": 5},
        {"value": 6}, {"value": 7}, {"value": 8}, {"value": 9}, {"value": -10}]]})");
    const std::vector<int> preset1 = {1, 2, 3, 4, 5, 6, 7, 8, 9, -10};
    EXPECT_EQ(data.GetEqValues(0), preset1);
    EXPECT_EQ(data.GetEqValues(99), preset1);
    EXPECT_TRUE(data.GetEqValues(13).empty());
    const Json::Value before = data.CurrentDocument();
    data.SetEqValues(13, std::vector<int>(10, 5));
    EXPECT_EQ(data.CurrentDocument(), before);
    data.SetEqValues(2, std::vector<int>(10, -3));
    EXPECT_EQ(data.GetEqValues(2), std::vector<int>(10, -3));
}

TEST(Hs6533Profiledata, MissingEqualiserGivesZerosAndLeavesZeroBands) {
    TempFolder dir;
    CHs6533Profiledata data;
    Load(data, dir, "{}");
    EXPECT_EQ(data.GetEqValues(4), std::vector<int>(10, 0));
    const Json::Value& bands = data.CurrentDocument()["EQHzValueInfo"][4];
    ASSERT_EQ(bands.size(), 10u);
    for (const Json::Value& band : bands) EXPECT_EQ(band, test::Parse(R"({"value": 0})"));
    EXPECT_EQ(data.GetCustomEqValues(1), std::vector<int>(10, 0));
    data.SetCustomEqValues(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(data.GetCustomEqValues(1), (std::vector<int> {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(Hs6533Profiledata, SystemRecordAndCustomNames) {
    TempFolder dir;
    CHs6533Profiledata data;
    Load(data, dir, R"({"SystemSetStages": {"MagicEnable": 1, "MagicType": 3, "EqType": 13, "CustomEqSeletIndex": 2,
        "MicInSelect": 1, "MicInValue": 37, "MicMoniterSelect": 0, "MicMoniterValue": -1},
        "CustomEQNameInfo": [{"Name": "Bass"}, {"Name": "Bühne"}, {"Nope": 1}]})");
    HeadsetSystemRecord r = data.GetHeadsetSystem();
    EXPECT_EQ(r, (HeadsetSystemRecord {1, 3, 13, 2, 1, 37, 0, -1}));
    EXPECT_EQ(data.GetCustomEqNames(), (std::vector<std::string> {"Bass", "Bühne", ""}));
    r.micInValue = 80;
    data.SetHeadsetSystem(r);
    data.SetCustomEqNames({"Rock"});
    ASSERT_TRUE(data.SaveProfile());
    const Json::Value saved = test::ReadJson(dir / "p.Json")["Device"][0];
    EXPECT_EQ(saved["SystemSetStages"]["MicInValue"], 80);
    EXPECT_EQ(saved["SystemSetStages"].size(), 8u);
    EXPECT_EQ(saved["CustomEQNameInfo"], test::Parse(R"([{"Name": "Rock"}])"));
}

}  // namespace
}  // namespace zevik

namespace zevik {
namespace {

// A profile as a Windows installation writes it (line ends CR LF, UTF-8 name) loads unchanged.
TEST(ForeignProfileFile, WindowsLineEndsLoadAndAreNotRewritten) {
    test::TempFolder dir;
    const fs::path source = fs::path(ZEVIK_TEST_DATA_DIR) / "settings" / "mouse_profile_crlf.Json";
    fs::copy_file(source, dir / "p.Json");
    CMouseProfiledata data;
    data.SetDefaultPath(dir / "absent.Json");
    const Json::Value element = data.LoadProfile(dir / "p.Json");
    ASSERT_TRUE(element.isObject());
    const std::vector<DpiStageRecord> stages = data.GetDpiStages();
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[1].xy, 1);
    EXPECT_EQ(stages[1].DpiY(), 3200);
    EXPECT_EQ(data.GetActiveDpiStage(), 1);
    EXPECT_EQ(data.GetMouseSystem().ReportRate(), 0);  // no "SystemStages": all zero
    EXPECT_EQ(data.GetLightInfo().selectItem, 2);
    EXPECT_EQ(data.GetKeyList()[1].assignment, (AssignmentCode {0x20, 0x02, 0x04}));
    EXPECT_EQ(test::ReadText(dir / "p.Json"), test::ReadText(source));
    EXPECT_EQ(test::ReadJson(source)["profilename"], "Spiel \u00fc");
}

}  // namespace
}  // namespace zevik
