#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "devices/mouse_event_image.h"
#include "devices/mouse_key_image.h"
#include "devices/mouse_macro_image.h"
#include "devices/mouse_recoil_image.h"
#include "settings/json_file_util.h"

namespace zevik {
namespace {

namespace fs = std::filesystem;

Json::Value Event(const char* action, int button, const Json::Value& delay, int type) {
    Json::Value e(Json::objectValue);
    e["Action"] = action;
    e["Button"] = button;
    e["Delay"] = delay;
    e["Type"] = type;
    return e;
}

uint16_t U16(const std::vector<uint8_t>& v, size_t at) {
    return static_cast<uint16_t>(v[at] | v[at + 1] << 8);
}

TEST(MouseEventEncoding, DeviceForm) {
    struct Case {
        Json::Value event;
        MouseEventBytes want;
    };
    const std::vector<Case> cases = {
        {Event("down", 4, "50", 10), {0x32, 0x00, 0x8A, 0x04}},
        {Event("down", 1, 10, 1), {0x0A, 0x00, 0x81, 0x01}},  // recoil files hold integers
        {Event("up", 7, 90, 5), {0x5A, 0x00, 0x05, 0x07}},
        {Event("Down", 3, 5, 4), {0x05, 0x00, 0x04, 0x03}},  // only "down" exactly sets bit 7
        {Event("up", 0x1FF, "65535", 1), {0xFF, 0xFF, 0x01, 0xFF}},
        {Event("up", 1, "70000", 1), {0xFF, 0xFF, 0x01, 0x01}},  // clamped, not wrapped to 4464
        {Event("up", 1, -5, 1), {0x00, 0x00, 0x01, 0x01}},
        {Event("up", 1, "12ms", 0xFF), {0x0C, 0x00, 0x7F, 0x01}},  // type keeps seven bits
        {Json::Value(), {0, 0, 0, 0}},                             // a null entry of "Events"
    };
    for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(EncodeMouseEvent(cases[i].event), cases[i].want) << i;
}

TEST(MouseEventImage, TwoMacrosOfThreeAndFiveEvents) {
    std::vector<MouseEventList> lists = {MouseEventList(3, {1, 2, 3, 4}), MouseEventList(5, {5, 6, 7, 8})};
    const auto image = BuildMouseEventImage(lists);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->size(), 60u);
    EXPECT_EQ(U16(*image, 0), 0x55AA);
    EXPECT_EQ(U16(*image, 2), 60);
    EXPECT_EQ(U16(*image, 4), 2);
    for (size_t i = 6; i < 16; ++i) EXPECT_EQ((*image)[i], 0) << i;
    EXPECT_EQ(U16(*image, 16), 20);
    EXPECT_EQ(U16(*image, 18), 36);
    EXPECT_EQ(U16(*image, 20), 3);
    EXPECT_EQ(U16(*image, 22), 0);
    EXPECT_EQ((*image)[24], 1);
    EXPECT_EQ(U16(*image, 36), 5);
    EXPECT_EQ((*image)[40], 5);
    EXPECT_EQ((*image)[59], 8);
}

TEST(MouseEventImage, RefusesWhatTheSixteenBitLengthCannotHold) {
    std::vector<MouseEventList> lists = {MouseEventList(16380, {0, 0, 0, 0})};
    EXPECT_FALSE(BuildMouseEventImage(lists).has_value());
    lists[0].resize(16370);
    EXPECT_TRUE(BuildMouseEventImage(lists).has_value());
}

class MouseFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zevik-mouse-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    void Write(const fs::path& name, const Json::Value& value) {
        ASSERT_TRUE(CJsonFileUtil().WriteJsonFile(folder / name, value));
    }
    static Json::Value Pattern(int events) {
        Json::Value doc(Json::objectValue);
        doc["Events"] = Json::Value(Json::arrayValue);
        for (int i = 0; i < events; ++i) doc["Events"].append(Event("down", 1, 10, 1));
        return doc;
    }
    fs::path folder;
};

TEST_F(MouseFolder, FourFullRecoilPatterns) {
    for (int g = 0; g < 4; ++g) Write("ShootData_" + std::to_string(g) + ".Shoot", Pattern(180));
    const auto image = BuildMouseRecoilImage(folder);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->size(), 2920u);
    EXPECT_EQ(U16(*image, 2), 2920);
    EXPECT_EQ(U16(*image, 4), 4);
    EXPECT_EQ(U16(*image, 16), 24);
    EXPECT_EQ(U16(*image, 18), 748);
    EXPECT_EQ(U16(*image, 20), 1472);
    EXPECT_EQ(U16(*image, 22), 2196);
    EXPECT_EQ(U16(*image, 2196), 180);
    EXPECT_EQ((*image)[2196 + 4 + 2], 0x81);
}

TEST_F(MouseFolder, MissingAndBrokenPatternsCountAsEmpty) {
    Write("ShootData_1.Shoot", Pattern(2));
    std::ofstream(folder / "ShootData_2.Shoot") << "{ not json";
    Json::Value withNull = Pattern(0);
    withNull["Events"][5] = Event("down", 1, 10, 1);  // entries 0..4 are null
    Write("ShootData_3.Shoot", withNull);
    const auto image = BuildMouseRecoilImage(folder);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), 24u + 4 + (4 + 8) + 4 + (4 + 24));
    EXPECT_EQ(U16(*image, 24), 0);
    EXPECT_EQ(U16(*image, 28), 2);
    EXPECT_EQ(U16(*image, 40), 0);
    EXPECT_EQ(U16(*image, 44), 6);
    for (size_t i = 48; i < 48 + 20; ++i) EXPECT_EQ((*image)[i], 0) << i;  // five null entries
    EXPECT_EQ((*image)[48 + 22], 0x81);
}

Json::Value MacroConfig(const std::vector<std::string>& guids) {
    Json::Value config(Json::objectValue);
    config["MacroInfo"] = Json::Value(Json::arrayValue);
    for (const auto& g : guids) {
        Json::Value e(Json::objectValue);
        e["MacroName"] = "m";
        e["Guid"] = g;
        config["MacroInfo"].append(e);
    }
    return config;
}

TEST_F(MouseFolder, MacroImageInTheOrderOfUse) {
    Write("macro.config", MacroConfig({"a", "b", "c"}));
    Write("a.mac", Pattern(1));
    Write("c.mac", Pattern(3));
    EXPECT_EQ(MouseMacroCount(folder), 3);
    const std::vector<int> used = {2, 0};
    const MouseMacroImage out = BuildMouseMacroImage(folder, used, 2048);
    ASSERT_EQ(out.status, MouseMacroImage::Status::Ready);
    EXPECT_EQ(out.image.size(), 16u + 12 + 16);
    EXPECT_EQ(U16(out.image, 20), 3);  // macro 2 first
    EXPECT_EQ(U16(out.image, 36), 1);
}

TEST_F(MouseFolder, MacroImageThatDoesNotFitIsRefused) {
    Write("macro.config", MacroConfig({"a"}));
    Write("a.mac", Pattern(30));  // 16 + 6 + 120 = 142 bytes
    const std::vector<int> used = {0};
    const MouseMacroImage out = BuildMouseMacroImage(folder, used, 128);
    EXPECT_EQ(out.status, MouseMacroImage::Status::TooLarge);
    EXPECT_EQ(out.excessUnits, 14 / 4 + 1);
    EXPECT_TRUE(out.image.empty());
}

TEST_F(MouseFolder, MacroImageEdgeInputs) {
    const std::vector<int> none;
    EXPECT_EQ(BuildMouseMacroImage(folder, none, 2048).status, MouseMacroImage::Status::Nothing);
    const std::vector<int> one = {0};
    EXPECT_EQ(BuildMouseMacroImage(folder, one, 2048).status, MouseMacroImage::Status::Unreadable);

    // A macro identifier that is a path is not followed out of the folder.
    fs::create_directories(folder / "sub");
    Write("macro.config", MacroConfig({"../" + folder.filename().string() + "/x", "sub/x"}));
    Write("x.mac", Pattern(4));
    Write("sub/x.mac", Pattern(4));
    const std::vector<int> both = {0, 1, 7};
    const MouseMacroImage out = BuildMouseMacroImage(folder, both, 2048);
    ASSERT_EQ(out.status, MouseMacroImage::Status::Ready);
    EXPECT_EQ(out.image.size(), 16u + 18);  // three macros without events
}

// A key code table with the factory triples at shuffled positions, one key missing.
std::vector<uint8_t> KeyTable() {
    std::vector<uint8_t> table(512, 0);
    const std::vector<int> logicalAt = {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10};  // position -> logical key
    for (size_t k = 0; k < logicalAt.size(); ++k) {
        const AssignmentCode c = kMouseDefaultKeyCodes[static_cast<size_t>(logicalAt[k])];
        table[3 * k] = c.type;
        table[3 * k + 1] = c.p1;
        table[3 * k + 2] = c.p2;
    }
    return table;
}

TEST(MouseKeyMap, FirstPositionWithTheFactoryTriple) {
    const auto table = KeyTable();
    const MouseKeyMap map = BuildMouseKeyMap(table, 11);
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[1], 0);
    EXPECT_EQ(map[10], 10);
    EXPECT_EQ(map[11], kMouseNoKey);  // logical key 11 is not on this mouse
    // Positions beyond N are not looked at, nor beyond the table.
    EXPECT_EQ(BuildMouseKeyMap(table, 2)[2], kMouseNoKey);
    EXPECT_EQ(BuildMouseKeyMap(std::span(table).first(6), 200)[2], kMouseNoKey);
}

TEST(MouseKeyImage, AssignmentsAndMacroRenumbering) {
    const auto table = KeyTable();
    const MouseKeyMap map = BuildMouseKeyMap(table, 11);
    std::vector<KeyAssignRecord> keys(12);
    for (size_t j = 0; j < keys.size(); ++j) keys[j].assignment = kMouseDefaultKeyCodes[j];
    keys[0].assignment = {0x70, 7, 0};
    keys[2].assignment = {0x71, 3, 1};
    keys[3].assignment = {0x70, 7, 0};
    keys[4].assignment = {0x70, 9, 0};  // beyond the eight listed macros: factory triple
    keys[5].assignment = {0x20, 0x00, 0x04};
    keys[11].assignment = {0x20, 0x00, 0x05};  // no position: not in the image
    const MouseKeyImage out = BuildMouseKeyImage(table, 11, map, keys, 8);
    ASSERT_EQ(out.image.size(), 33u);
    EXPECT_EQ(out.macros, (std::vector<int>{7, 3}));
    const auto at = [&](int logical) {
        const size_t k = map[static_cast<size_t>(logical)];
        return AssignmentCode{out.image[3 * k], out.image[3 * k + 1], out.image[3 * k + 2]};
    };
    EXPECT_EQ(at(0), (AssignmentCode{0x70, 0, 0}));
    EXPECT_EQ(at(2), (AssignmentCode{0x71, 1, 1}));
    EXPECT_EQ(at(3), (AssignmentCode{0x70, 0, 0}));
    EXPECT_EQ(at(4), kMouseDefaultKeyCodes[4]);
    EXPECT_EQ(at(5), (AssignmentCode{0x20, 0x00, 0x04}));
    EXPECT_EQ(keys[0].assignment.p1, 7);  // the list keeps its numbers
}

TEST(MouseKeyImage, ShortKeyListKeepsTheTable) {
    const auto table = KeyTable();
    const MouseKeyMap map = BuildMouseKeyMap(table, 11);
    const MouseKeyImage out = BuildMouseKeyImage(table, 11, map, {}, 0);
    EXPECT_TRUE(std::equal(out.image.begin(), out.image.end(), table.begin()));
}

}  // namespace
}  // namespace zevik
