// The factory files shipped in DefaultData: styled form, and the values the device code relies on.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "settings/hs6533_profiledata.h"
#include "settings/json_access.h"
#include "settings/keyboard_profiledata.h"
#include "settings/mouse_profiledata.h"
#include "settings/profile_locations.h"
#include "settings/settings_test_support.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

fs::path Factory(ProfileKind kind) { return CProfileLocations({"/unused"}, test::ResourceDataFolder().parent_path()).DefaultFile(kind); }

// Loads the factory element of kind into data through a fresh profile file.
void LoadFactory(CBasicProfiledata& data, ProfileKind kind, const test::TempFolder& dir) {
    data.SetDefaultPath(Factory(kind));
    data.SetDeviceIndex(0);
    ASSERT_TRUE(data.LoadProfile(dir / "p.Json").isObject()) << Factory(kind);
}

TEST(DefaultData, EveryFileIsInTheStyledForm) {
    for (const char* name : {"mouse.Json", "keyboard.Json", "MousePad.Json", "HD.Json", "default_light.json"}) {
        const fs::path file = test::ResourceDataFolder() / name;
        const std::string text = test::ReadText(file);
        ASSERT_FALSE(text.empty()) << file;
        EXPECT_EQ(text, CJsonFileUtil::StyledText(test::Parse(text))) << name;
    }
}

TEST(DefaultData, EveryKindHasTheCommonSections) {
    for (ProfileKind kind : {ProfileKind::Keyboard, ProfileKind::Mouse, ProfileKind::MousePad, ProfileKind::Headset}) {
        test::TempFolder dir;
        CBasicProfiledata data;
        LoadFactory(data, kind, dir);
        const Json::Value& doc = data.CurrentDocument();
        for (const char* section : {"LightInfo", "AudioLightInfo"}) EXPECT_TRUE(json::IsObjectMember(doc, section)) << section;
        EXPECT_FALSE(data.GetLightList().empty());
        EXPECT_EQ(data.GetLightInfo().light, 4) << KindName(kind);
    }
}

TEST(DefaultData, MouseKeysAndStages) {
    test::TempFolder dir;
    CMouseProfiledata data;
    LoadFactory(data, ProfileKind::Mouse, dir);
    const AssignmentCode expected[12] = {{0x10, 0x10, 0}, {0x10, 0x01, 0}, {0x10, 0x04, 0}, {0x10, 0x02, 0},
                                         {0x10, 0x08, 0}, {0x13, 0x01, 0}, {0x13, 0x02, 0}, {0x13, 0x03, 0},
                                         {0x15, 0x03, 0}, {0xA0, 0x1B, 0}, {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02}};
    const std::vector<KeyAssignRecord> keys = data.GetKeyList();
    ASSERT_EQ(keys.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(keys[i].assignment, expected[i]) << i;
        EXPECT_EQ(keys[i].defaultAssignment, expected[i]) << i;
    }
    const std::vector<DpiStageRecord> stages = data.GetDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    const int dpis[6] = {400, 800, 1600, 3200, 6400, 12800};
    std::set<std::tuple<int, int, int>> colours;
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(stages[i].enabled, 1);
        EXPECT_EQ(stages[i].DpiX(), dpis[i]);
        EXPECT_EQ(stages[i].DpiY(), dpis[i]);
        colours.insert({stages[i].red, stages[i].green, stages[i].blue});
    }
    EXPECT_EQ(colours.size(), 6u);
    EXPECT_LT(data.GetActiveDpiStage(), 6);
    const MouseSystemRecord system = data.GetMouseSystem();
    EXPECT_LE(system.ReportRate(), 4);
    EXPECT_GE(system.DormancyTime(), 1);
    EXPECT_LE(system.DormancyTime(), 6);
    EXPECT_FALSE(data.GetCorrectInfo().empty());
}

TEST(DefaultData, KeyboardHas170KeysWithTheFixedTable) {
    test::TempFolder dir;
    CKeyboardProfiledata data;
    LoadFactory(data, ProfileKind::Keyboard, dir);
    const std::vector<KeyAssignRecord> keys = data.GetKeyList();
    ASSERT_EQ(keys.size(), 170u);
    const struct {
        std::size_t key;
        AssignmentCode code;
    } samples[] = {{0, {0x20, 0, 0x29}},     {16, {0xA0, 0x1B, 0}},   {17, {0xA0, 0x24, 0}}, {84, {0x20, 0x02, 0}},
                   {110, {0xA0, 0x01, 0}},   {120, {0xD0, 0xA2, 1}},  {124, {0xD0, 0xA2, 5}}, {125, {0x20, 0x80, 0}},
                   {126, {0x20, 0, 0}},      {169, {0x20, 0, 0}}};
    for (const auto& s : samples) {
        EXPECT_EQ(keys[s.key].assignment, s.code) << s.key;
        EXPECT_EQ(keys[s.key].defaultAssignment, s.code) << s.key;
    }
    const KeyboardSystemRecord system = data.GetKeyboardSystem();
    EXPECT_LE(system.RepeatDelay(), 3);
    EXPECT_LE(system.PollingRate(), 4);
    EXPECT_EQ(data.GetKeyColors(0, 170).size(), 170u);
}

TEST(DefaultData, HeadsetHasTwelvePresetsAfterTheUnusedElement) {
    test::TempFolder dir;
    CHs6533Profiledata data;
    LoadFactory(data, ProfileKind::Headset, dir);
    EXPECT_EQ(data.CurrentDocument()["EQHzValueInfo"].size(), 13u);
    EXPECT_EQ(data.GetEqValues(1), (std::vector<int> {7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(data.GetEqValues(5), std::vector<int>(10, 0));
    EXPECT_EQ(data.GetEqValues(6), (std::vector<int> {7, 14, -13, -6, -1, 8, 13, 7, 2, 6}));
    EXPECT_EQ(data.GetEqValues(12), (std::vector<int> {2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
    const HeadsetSystemRecord system = data.GetHeadsetSystem();
    EXPECT_GE(system.eqType, 1);
    EXPECT_LE(system.eqType, 12);
    EXPECT_GE(system.magicType, 1);
    EXPECT_LE(system.magicType, 4);
    EXPECT_TRUE(data.GetCustomEqNames().empty());
}

TEST(DefaultData, EffectListsFollowTheModeLists) {
    const Json::Value lights = test::ReadJson(test::ResourceDataFolder() / "default_light.json");
    const struct {
        ProfileKind kind;
        unsigned modes;
    } cases[] = {{ProfileKind::Keyboard, 31}, {ProfileKind::Mouse, 12}, {ProfileKind::MousePad, 9}, {ProfileKind::Headset, 9}};
    for (const auto& c : cases) {
        const Json::Value& list = lights["DefaultLightName"][static_cast<int>(c.kind)];
        ASSERT_EQ(list.size(), c.modes) << KindName(c.kind);
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            EXPECT_TRUE(list[i]["LightName"].isString());
            EXPECT_TRUE(list[i]["visible"].isBool());
            EXPECT_EQ(list[i]["value"], static_cast<int>(i));
        }
        EXPECT_TRUE(lights["AreaLightName"][static_cast<int>(c.kind)].isArray());
    }
}

}  // namespace
}  // namespace zevik
